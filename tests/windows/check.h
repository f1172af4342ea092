// A small self-checking harness for the Windows checks, which run under Wine where
// GoogleTest is not at hand: named cases, each passing or failing as a whole, and
// a closing "N passed, N failed, N skipped" line.
#pragma once

#include <objbase.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/automation/bstr.h"
#include "platform/automation/hresult.h"

namespace jv::wincheck {

inline std::string U8(TextView text) { return ToUtf8Lossy(text); }
inline std::string U8(const wchar_t* text) {
  return ToUtf8Lossy(
      TextView(reinterpret_cast<const char16_t*>(text), std::char_traits<wchar_t>::length(text)));
}
inline std::string Hex(HRESULT hr) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(hr));
  return buf;
}

class Report {
 public:
  explicit Report(std::string name = "windows_checks") : name_(std::move(name)) {}
  void Pass() { ++passed_; }
  void Fail(const std::string& name, const std::vector<std::string>& problems) {
    ++failed_;
    std::printf("FAIL %s\n", name.c_str());
    for (const std::string& p : problems) std::printf("     %s\n", p.c_str());
  }
  void Skip(const std::string& name, const std::string& why) {
    ++skipped_;
    std::printf("SKIP %s: %s\n", name.c_str(), why.c_str());
  }
  // Information that is no verdict: what differs between systems and why.
  void Note(const std::string& text) { std::printf("note %s\n", text.c_str()); }
  int failed() const { return failed_; }
  void Close() const {
    std::printf("%s: %d passed, %d failed, %d skipped\n", name_.c_str(), passed_, failed_, skipped_);
  }

 private:
  std::string name_;
  int passed_ = 0, failed_ = 0, skipped_ = 0;
};

// One case: collects what went wrong and reports once, when it ends.
class Case {
 public:
  Case(Report& report, std::string name) : report_(report), name_(std::move(name)) {}
  Case(const Case&) = delete;
  Case& operator=(const Case&) = delete;
  ~Case() {
    if (problems_.empty())
      report_.Pass();
    else
      report_.Fail(name_, problems_);
  }

  bool Expect(bool ok, const std::string& what) {
    if (!ok) problems_.push_back(what);
    return ok;
  }
  template <class A, class B>
  bool Equal(const A& actual, const B& expected, const std::string& what) {
    if (actual == expected) return true;
    std::ostringstream s;
    s << what << ": got " << Show(actual) << ", want " << Show(expected);
    problems_.push_back(s.str());
    return false;
  }
  bool Status(HRESULT actual, HRESULT expected, const std::string& what) {
    if (actual == expected) return true;
    problems_.push_back(what + ": status " + Hex(actual) + ", want " + Hex(expected));
    return false;
  }

 private:
  template <class T>
  static std::string Show(const T& v) {
    if constexpr (std::is_convertible_v<const T&, TextView>) {
      return '"' + U8(TextView(v)) + '"';
    } else if constexpr (std::is_convertible_v<const T&, std::string>) {
      return '"' + std::string(v) + '"';
    } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
      std::string list = "[";
      for (const std::string& e : v) list += (list.size() > 1 ? ", \"" : "\"") + e + '"';
      return list + "]";
    } else {
      std::ostringstream s;
      s.precision(17);
      s << v;
      return s.str();
    }
  }

  Report& report_;
  std::string name_;
  std::vector<std::string> problems_;
};

// The start of a check program that is a COM client: false, after a usage line
// naming `usage`, when fewer than `needed` arguments (the program's name counted)
// were given, or when COM would not start in a single-threaded apartment.
inline bool StartComClient(int argc, int needed, const char* usage) {
  if (argc < needed) {
    std::fprintf(stderr, "usage: %s\n", usage);
    return false;
  }
  return SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

void DateChecks(Report& report);
void RegionalSettingsChecks(Report& report);
void VariantChecks(Report& report);
void ControlChecks(Report& report);
// Of the registered library (component_checks).
void ComponentChecks(Report& report, const std::wstring& ocx_path);
void TypeLibraryChecks(Report& report, const std::wstring& expected_json_path);
void StreamPersistenceChecks(Report& report);
// Of the control in a client site of the checks' own (container_checks, with a display).
void OleSiteChecks(Report& report);

}  // namespace jv::wincheck
