// The Linux build against what the Windows stage checks: the member script of
// tests/windows/members.vbs run through the host, the type information that the
// Windows type library is compared with, and the resources the Windows build
// compiles from files in the tree.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/library_file_reader.h"
#include "tests/support/scratch_folder.h"

namespace {

using nlohmann::json;

using jv::testing::ReadWholeFile;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Runs the host on `script` (standard error joined to the output).
std::string RunHost(const std::string& script, int* status) {
  // Each test runs as a process of its own, often at the same time as another.
  const jv::testing::ScratchFolder scratch("jv-parity");
  const std::string path = (scratch.path() / "script.jvs").string();
  jv::testing::WriteWholeFile(path, script);
  FILE* p = popen((std::string(JV_HOST_PATH) + " " + path + " 2>&1").c_str(), "r");
  std::string out;
  char buf[4096];
  for (std::size_t n; p != nullptr && (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  *status = p == nullptr ? -1 : pclose(p);
  return out;
}

// The lines of members.expected for one client: the untagged lines and those
// tagged with the client; '#' lines are comments.
std::vector<std::string> ExpectedFor(const std::string& client) {
  std::vector<std::string> out;
  for (const std::string& line : Lines(ReadWholeFile(JV_MEMBERS_EXPECTED))) {
    if (line.empty() || line[0] == '#') continue;
    if (line[0] != '[') {
      out.push_back(line);
      continue;
    }
    const std::size_t close = line.find("] ");
    std::istringstream tags(line.substr(1, close - 1));
    for (std::string tag; tags >> tag;)
      if (tag == client) out.push_back(line.substr(close + 2));
  }
  return out;
}

std::string Hex8(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08X", v);
  return buf;
}

// As the scripts print a call's result: "ok", or the status in hex.
std::string Status(const json& j) {
  const std::string s = j.at("status");
  return s == "0x00000000" ? "ok" : "error " + s.substr(2);
}

std::size_t Utf16Length(const std::string& utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) == 0x80) continue;
    n += c >= 0xF0 ? 2 : 1;
  }
  return n;
}

// One line of members.vbs: the host commands it takes, and how the host's answers
// to them make the line.
struct Check {
  std::vector<std::string> commands;
  std::function<std::string(const std::vector<json>&)> line;
};

std::string Bool(bool b) { return b ? "true" : "false"; }
std::string Text(const json& get) { return get.at("value").at("value"); }
std::string Color(const json& get) { return Hex8(static_cast<std::uint32_t>(get.at("value").at("value").get<std::int64_t>())); }
std::string Number(const json& get) { return std::to_string(get.at("value").at("value").get<std::int64_t>()); }

Check PutGet(const std::string& label, const std::string& member, const std::string& arg,
             std::function<std::string(const json&)> show) {
  return {{"invoke " + member + " put " + arg, "invoke " + member + " get"},
          [=](const std::vector<json>& j) { return label + ": " + Status(j[0]) + ", get " + show(j[1]); }};
}

const std::string kNonAscii = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC";  // "Grüße €"

std::vector<Check> MemberChecks(const std::string& ocx) {
  auto quoted = [](const json& g) {
    std::string q = "\"";  // built in steps: GCC 12 misreads "x" + string + "x" (-Wrestrict)
    q += Text(g);
    q += '"';
    return q;
  };
  auto length = [](const json& g) { return "length " + std::to_string(Utf16Length(Text(g))); };
  auto non_ascii = [](const json& g) {
    return "length " + std::to_string(Utf16Length(Text(g))) + ", same " + Bool(Text(g) == kNonAscii);
  };
  auto boolean = [](const json& g) { return Bool(g.at("value").at("value").get<bool>()); };
  return {
      {{"component " + ocx}, [](const std::vector<json>& j) {
         return std::string("create: ") + (j[0].contains("clsid") ? "ok" : "failed");
       }},
      PutGet("SDate put \"14/11/2003\"", "SDate", "\"14/11/2003\"", quoted),
      PutGet("SDate put \"not a date\"", "SDate", "\"not a date\"", quoted),
      PutGet("SDate put \"\"", "SDate", "\"\"", length),
      PutGet("SDate put non-ASCII", "SDate", "\"Gr\\u00fc\\u00dfe \\u20ac\"", non_ascii),
      // A VBScript colour literal is a signed 32-bit Long.
      PutGet("BackColor put 80000005", "BackColor", "-2147483643", Color),
      PutGet("BackColor put 00FF8040", "BackColor", "16744512", Color),
      PutGet("ForeColor put 80000008", "ForeColor", "-2147483640", Color),
      PutGet("ForeColor put 000000FF", "ForeColor", "255", Color),
      PutGet("Enabled put false", "Enabled", "false", boolean),
      PutGet("Enabled put true", "Enabled", "true", boolean),
      PutGet("BackStyle put 0", "BackStyle", "i2:0", Number),
      PutGet("BackStyle put 1", "BackStyle", "i2:1", Number),
      PutGet("BorderStyle put 1", "BorderStyle", "i2:1", Number),
      PutGet("BorderStyle put 0", "BorderStyle", "i2:0", Number),
      // The host makes the standard font from its argument.
      {{}, [](const std::vector<json>&) { return std::string("StdFont: ok"); }},
      {{"invoke Font putref font:Arial,12", "invoke Font get"},
       [](const std::vector<json>& j) {
         const json& font = j[1].at("value").at("font");
         return "Font putref StdFont: " + Status(j[0]) + ", size as set " + Bool(font.at("Size") == 12.0) +
                ", bold " + Bool(font.at("Bold").get<bool>());
       }},
      {{"invoke Refresh call"}, [](const std::vector<json>& j) { return "Refresh: " + Status(j[0]); }},
      PutGet("BackStyle put \"abc\"", "BackStyle", "\"abc\"", Number),
      PutGet("BackStyle put 70000", "BackStyle", "70000", Number),
      PutGet("BorderStyle put \"x\"", "BorderStyle", "\"x\"", Number),
      PutGet("Enabled put \"maybe\"", "Enabled", "\"maybe\"", boolean),
      PutGet("BackColor put \"red\"", "BackColor", "\"red\"", Color),
      PutGet("SDate put Null", "SDate", "null", non_ascii),
      // The scripts pass the control itself; any argument that is no font will do.
      {{"invoke Font putref 5", "invoke Font get"},
       [](const std::vector<json>& j) {
         const json& font = j[1].at("value").at("font");
         return "Font putref a non-font: " + Status(j[0]) + ", same font " +
                Bool(font.at("Size") == 12.0 && font.at("Name") == "Arial");
       }},
      {{"invoke Refresh call 1"},
       [](const std::vector<json>& j) { return "Refresh with an argument: " + Status(j[0]); }},
  };
}

TEST(MemberParity, TheHostGivesTheLinesOfTheWindowsScripts) {
  const std::vector<Check> checks = MemberChecks(JV_OCX_PATH);
  std::string script;
  for (const Check& c : checks)
    for (const std::string& command : c.commands) script += command + "\n";
  // Last: the host ends the script at a name it cannot resolve.
  script += "invoke NoSuchMember get\n";
  int status = 0;
  const std::vector<std::string> out = Lines(RunHost(script, &status));
  std::vector<json> answers;
  std::string last;
  for (const std::string& line : out) {
    json j = json::parse(line, nullptr, false);
    if (j.is_discarded())
      last = line;
    else
      answers.push_back(std::move(j));
  }
  std::vector<std::string> lines;
  std::size_t next = 0;
  for (const Check& c : checks) {
    ASSERT_LE(next + c.commands.size(), answers.size()) << "the host answered too few commands";
    lines.push_back(c.line(std::vector<json>(answers.begin() + static_cast<std::ptrdiff_t>(next),
                                             answers.begin() + static_cast<std::ptrdiff_t>(next + c.commands.size()))));
    next += c.commands.size();
  }
  std::smatch m;
  EXPECT_NE(status, 0) << "an unknown member fails the host's script";
  lines.push_back("NoSuchMember get: " + (std::regex_search(last, m, std::regex("no member NoSuchMember: 0x([0-9A-F]{8})"))
                                              ? "error " + m[1].str()
                                              : "no error: " + last));
  lines.push_back("members: end");
  EXPECT_EQ(lines, ExpectedFor("host"));
}

// The golden file the Windows stage compares oleaut32's reading of the compiled
// type library with: the Linux host's type information, so the two cannot part.
TEST(TypeLibraryParity, TheGoldenFileIsTheLinuxTypeInformation) {
  int status = 0;
  const std::vector<std::string> out =
      Lines(RunHost("component " + std::string(JV_OCX_PATH) + "\ntypeinfo\n", &status));
  ASSERT_EQ(status, 0);
  ASSERT_EQ(out.size(), 2u);
  const json now = json::parse(out[1]);
  const json golden = json::parse(ReadWholeFile(JV_TYPELIB_EXPECTED));
  EXPECT_EQ(now, golden) << "regenerate tests/windows/typelib.expected.json: " << now.dump(2);
}

std::vector<std::uint8_t> ResourceOf(const std::string& type, std::uint32_t id) {
  std::vector<jv::component::Resource> resources;
  std::string error;
  EXPECT_EQ(jv::component::ReadResources(JV_OCX_PATH, &resources, &error), S_OK) << error;
  for (const auto& r : resources)
    if (r.type == type && r.id == id) return r.data;
  ADD_FAILURE() << "no " << type << " " << id;
  return {};
}

// The Windows build takes the toolbox bitmap from housing/toolbox.bmp; the Linux
// build draws it. They are the same file.
TEST(ResourceParity, TheWindowsBitmapIsTheDrawnOne) {
  const std::string bmp = ReadWholeFile(JV_TOOLBOX_BMP);
  const std::vector<std::uint8_t> drawn = ResourceOf("BITMAP", 30000);
  EXPECT_EQ(std::vector<std::uint8_t>(bmp.begin(), bmp.end()), drawn)
      << "rewrite housing/toolbox.bmp from the BITMAP 30000 resource of the Linux Jornavista.ocx";
}

// The version strings of Jornavista.rc are those of the Linux version record.
TEST(ResourceParity, TheResourceScriptHasTheVersionRecordsStrings) {
  jv::component::VersionRecord record;
  std::string error;
  ASSERT_EQ(jv::component::ReadVersionRecord(JV_OCX_PATH, &record, &error), S_OK) << error;
  std::vector<std::pair<std::string, std::string>> script;
  const std::regex value("^\\s*VALUE \"([A-Za-z]+)\", \"([^\"]*)\"\\s*$");
  bool in_block = false;
  for (const std::string& line : Lines(ReadWholeFile(JV_RC_FILE))) {
    std::smatch m;
    if (line.find("BLOCK \"" + record.translation + "\"") != std::string::npos) in_block = true;
    if (in_block && std::regex_match(line, m, value)) script.emplace_back(m[1], m[2]);
  }
  EXPECT_EQ(script, record.strings);
  const std::string rc = ReadWholeFile(JV_RC_FILE);
  const std::string numbers = std::to_string(JV_VERSION_MAJOR) + "," + std::to_string(JV_VERSION_MINOR) + "," +
                              std::to_string(JV_VERSION_PATCH) + ",0";
  EXPECT_NE(rc.find("FILEVERSION " + numbers), std::string::npos);
  EXPECT_NE(rc.find("PRODUCTVERSION " + numbers), std::string::npos);
  EXPECT_EQ(record.file_version,
            (std::array<std::uint16_t, 4>{JV_VERSION_MAJOR, JV_VERSION_MINOR, JV_VERSION_PATCH, 0}));
  EXPECT_NE(rc.find("VALUE \"Translation\", 0x409, 1200"), std::string::npos);
}

}  // namespace
