// Literal text forms of numbers and strings as the tools print them: hexadecimal
// status codes, dispatch ids and colours, version numbers, double-quoted strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace jv {

enum class HexLetters { kUpper, kLower };

// "0x80020003": eight digits, as status codes and dispatch ids are printed. The
// IDL writer uses lower-case letters, everything else upper-case.
std::string Hex32(std::uint32_t value, HexLetters letters = HexLetters::kUpper);

// "2.0": a type library's version as registries and IDL write it.
std::string VersionText(std::uint16_t major, std::uint16_t minor);

// "&H00FF8000": a Basic hexadecimal literal, the form a colour is journalled in.
std::string BasicHex32(std::uint32_t value);

// The text between double quotes, with '"' and '\' escaped by a backslash and
// control characters written as C escapes, so that the result reads back as the
// same string in IDL, C and JSON-like contexts and never breaks a line of output.
std::string Quoted(std::string_view text);

// Appends c to out as it stands, or a control byte as an escape that keeps the
// output on one line: "\n", "\t", else "\x" and two hexadecimal digits.
void AppendPrintable(std::string& out, char c);

}  // namespace jv
