// Scripts as an attacker or a careless user writes them: comments after quoted
// values, a folder or a failing stream as the script, zero bytes in file names,
// huge and binary values echoed in messages, and the examples the README and
// --help give, which must run as they stand.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "apps/jornavista-host/script.h"
#include "tests/support/scratch_folder.h"

namespace jv::host {
namespace {

namespace fs = std::filesystem;

struct Result {
  int status;
  std::string out, err;
};

Result RunHost(const std::string& script) {
  std::shared_ptr<FormLibrary> library;
  const auto error = FormLibrary::Open(JV_OCX_PATH, &library);
  EXPECT_EQ(error, std::nullopt) << error.value_or("");
  std::istringstream in(script);
  std::ostringstream out, err;
  auto form = MakeHeadlessDriver(std::move(library));
  const int status = RunScript(in, *form, out, err);
  return {status, out.str(), err.str()};
}

// Pieces of a script end to end; the pieces may hold zero bytes.
std::string Joined(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) text.append(piece);
  return text;
}

std::string LastLine(const std::string& out) {
  std::string last;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) last = line;
  return last;
}

class HostileScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("LC_ALL", "en_US.UTF-8", 1);
    setenv("JV_REGISTRY_FILE", (dir_ / "registry.json").c_str(), 1);
  }
  void TearDown() override { unsetenv("JV_REGISTRY_FILE"); }
  // The host executable as a user starts it.
  Result Host(const std::string& args) {
    const std::string out = (dir_ / "out.txt").string(), err = (dir_ / "err.txt").string();
    const std::string command = Joined({"'", JV_HOST_PATH, "' --library '", JV_OCX_PATH, "' ", args, " >'",
                                        out, "' 2>'", err, "' </dev/null"});
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing::ReadWholeFile(out), testing::ReadWholeFile(err)};
  }

  testing::ScratchFolder scratch_{"jv-hostile"};
  const fs::path dir_ = scratch_.path();
};

// A '#' outside a string literal starts a comment, inside one it is text, and an
// unquoted value ends before the comment.
struct Commented {
  const char* name;
  const char* lines;  // run after today and create
  const char* last;   // the last line printed
};

class CommentTest : public HostileScriptTest, public ::testing::WithParamInterface<Commented> {};

TEST_P(CommentTest, EndsTheValueOnlyOutsideAStringLiteral) {
  const Commented& c = GetParam();
  const Result r = RunHost(Joined({"today 2003-11-09\ncreate\n", c.lines}));
  ASSERT_EQ(r.status, 0) << c.name << ": " << r.err;
  EXPECT_EQ(LastLine(r.out), c.last) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommentTest,
    ::testing::Values(
        Commented{"QuotedThenComment", "put SDate \"any text\" # the host's put\nget SDate\n",
                  "\"any text\""},
        Commented{"HashInsideTheLiteral", "put SDate \"a # b\" # c\nget SDate\n", "\"a # b\""},
        Commented{"EscapedQuoteInsideTheLiteral", "put SDate \"say \\\"#1\\\"\" # c\nget SDate\n",
                  "\"say \\\"#1\\\"\""},
        Commented{"UnquotedThenComment", "put SDate plain text # c\nget SDate\n", "\"plain text\""},
        Commented{"QuoteInsideAnUnquotedValue", "put SDate a \"b\" # c\nget SDate\n", "\"a \\\"b\\\"\""},
        Commented{"FontObjectThenComment", "put Font {\"Name\":\"A#B\",\"Size\":12} # c\nget Font\n",
                  "{\"Name\":\"A#B\",\"Size\":12,\"Bold\":false,\"Italic\":false,\"Underline\":false,"
                  "\"Strikethrough\":false,\"Weight\":400,\"Charset\":0}"},
        Commented{"FontFieldThenComment",
                  "put Font {\"Name\":\"A\",\"Size\":8} # c\nset Font.Name \"B#C\" # c\nget Font\n",
                  "{\"Name\":\"B#C\",\"Size\":8,\"Bold\":false,\"Italic\":false,\"Underline\":false,"
                  "\"Strikethrough\":false,\"Weight\":400,\"Charset\":0}"},
        Commented{"InvokeThenComment",
                  "component " JV_OCX_PATH " 2003-11-09\ninvoke SDate put \"x\" # c\ninvoke SDate get\n",
                  "{\"dispid\":\"0x68030000\",\"kind\":\"get\",\"status\":\"0x00000000\",\"value\":{\"type\":"
                  "\"VT_BSTR\",\"value\":\"x\"},\"changed\":[],\"events\":[]}"}),
    [](const ::testing::TestParamInfo<Commented>& info) { return std::string(info.param.name); });

// The blocks of README.md fenced without a language are scripts; each runs as it stands.
std::vector<std::string> ReadmeScripts() {
  std::ifstream in(JV_SOURCE_DIR "/README.md");
  std::vector<std::string> scripts;
  std::string line, block;
  bool inside = false;
  bool script = false;
  while (std::getline(in, line)) {
    if (line.starts_with("```")) {
      if (inside && script) scripts.push_back(block);
      script = !inside && line == "```";
      inside = !inside;
      block.clear();
    } else if (inside) {
      block += line + "\n";
    }
  }
  return scripts;
}

TEST_F(HostileScriptTest, EveryReadmeExampleRuns) {
  const std::vector<std::string> scripts = ReadmeScripts();
  ASSERT_FALSE(scripts.empty());
  // The README names the library where the release build puts it; this test's is
  // the one it was built with.
  const std::string_view built = "build/release/housing/Jornavista.ocx";
  for (const std::string& written : scripts) {
    std::string script;
    std::size_t from = 0;
    for (std::size_t at; (at = written.find(built, from)) != std::string::npos; from = at + built.size())
      script.append(written, from, at - from).append(JV_OCX_PATH);
    script.append(written, from);
    const Result r = RunHost(script);
    EXPECT_EQ(r.status, 0) << script << r.err;
  }
}

TEST_F(HostileScriptTest, TheHelpExampleRuns) {
  const Result help = Host("--help");
  ASSERT_EQ(help.status, 0);
  const std::size_t at = help.out.find("\nexample:\n");
  ASSERT_NE(at, std::string::npos) << help.out;
  std::istringstream in(help.out.substr(at + 10));
  std::string script;
  for (std::string line; std::getline(in, line) && line.starts_with("  ");) script += line.substr(2) + "\n";
  ASSERT_FALSE(script.empty());
  const Result r = RunHost(script);
  EXPECT_EQ(r.status, 0) << script << r.err;
}

TEST_F(HostileScriptTest, AFolderAsTheScriptRunsNothing) {
  const Result r = Host(dir_.string());
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("it is a folder"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
}

TEST_F(HostileScriptTest, RenderWithAFolderAsTheScriptWritesNoFile) {
  const fs::path shot = dir_ / "shot.png";
  const Result r = Host("render '" + shot.string() + "' --script '" + dir_.string() + "'");
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find("it is a folder"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(shot));
}

// A script is a regular file or a pipe: a device is refused before it is read,
// by the scripting host and by render, which then writes no file.
TEST_F(HostileScriptTest, ADeviceAsTheScriptRunsNothing) {
  const fs::path shot = dir_ / "shot.png";
  for (const std::string device : {"/dev/null", "/dev/zero"}) {
    for (const std::string& args : {device, "render '" + shot.string() + "' --script " + device}) {
      const Result r = Host(args);
      EXPECT_EQ(r.status, 2) << args << ": " << r.err;
      EXPECT_NE(r.err.find("neither a regular file nor a pipe"), std::string::npos) << r.err;
      EXPECT_EQ(r.out, "");
    }
  }
  EXPECT_FALSE(fs::exists(shot));
}

// A stream is read only up to the limit --help states: one byte more, even of a
// comment, and nothing runs.
TEST_F(HostileScriptTest, AStreamBeyondTheLimitRunsNothing) {
  const Result help = Host("--help");
  EXPECT_NE(help.out.find("at most " + std::to_string(kMaxScriptBytes) + " bytes"), std::string::npos)
      << help.out;
  const std::string err = (dir_ / "err.txt").string();
  const auto status = [&err](std::size_t bytes) {
    // One comment line of that many bytes.
    const std::string command = "head -c " + std::to_string(bytes) + " /dev/zero | tr '\\0' '#' | '" +
                                JV_HOST_PATH + "' --library '" + JV_OCX_PATH + "' - >/dev/null 2>'" + err +
                                "'";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  EXPECT_EQ(status(kMaxScriptBytes), 0) << testing::ReadWholeFile(err);
  EXPECT_EQ(status(kMaxScriptBytes + 1), 2);
  EXPECT_NE(testing::ReadWholeFile(err).find("standard input: cannot read the script: it is too large"),
            std::string::npos)
      << testing::ReadWholeFile(err);
}

// Exactly at the limit a script is whole; past it, refused and left empty.
TEST(ReadScriptTest, ReadsUpToTheLimitAndNoFurther) {
  struct Size {
    std::size_t bytes;
    bool read;
  };
  for (const Size size : {Size{0, true}, Size{kMaxScriptBytes, true}, Size{kMaxScriptBytes + 1, false},
                          Size{kMaxScriptBytes + 100000, false}}) {
    std::string bytes(size.bytes, '\n');
    std::FILE* in =
        size.bytes == 0 ? std::fopen("/dev/null", "rb") : fmemopen(bytes.data(), bytes.size(), "rb");
    ASSERT_NE(in, nullptr);
    std::string text = "before";
    const auto error = ReadScript(in, &text);
    std::fclose(in);
    EXPECT_EQ(!error, size.read) << size.bytes;
    EXPECT_EQ(text.size(), size.read ? size.bytes : 0u) << size.bytes;
    if (error) {
      EXPECT_NE(error->find("too large"), std::string::npos) << *error;
    }
  }
}

TEST_F(HostileScriptTest, AnEmptyLibraryOptionSaysSo) {
  const Result r = Host("--library '' -");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--library is empty"), std::string::npos) << r.err;
}

// A stream that gives one line, then fails as a disk or a pipe can.
std::FILE* FailingAfterOneLine() {
  struct State {
    bool given = false;
  };
  cookie_io_functions_t io{};
  io.read = [](void* cookie, char* buffer, std::size_t size) -> ssize_t {
    auto* state = static_cast<State*>(cookie);
    if (state->given) {
      errno = EIO;
      return -1;
    }
    state->given = true;
    const std::string line = "today 2003-11-09\n";
    const std::size_t n = std::min(size, line.size());
    line.copy(buffer, n);
    return static_cast<ssize_t>(n);
  };
  io.close = [](void* cookie) {
    delete static_cast<State*>(cookie);
    return 0;
  };
  return fopencookie(new State, "r", io);
}

TEST(ReadScriptTest, AReadErrorPartWayIsReportedNotTakenForTheEnd) {
  std::FILE* in = FailingAfterOneLine();
  ASSERT_NE(in, nullptr);
  std::string text;
  const auto error = ReadScript(in, &text);
  std::fclose(in);
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("cannot read the script"), std::string::npos) << *error;
}

// File names with a zero byte would be cut short by the system: refused before
// anything runs.
TEST(ZeroByteTest, AFileNameWithAZeroByteIsRefused) {
  for (const char* command : {"load", "save", "register", "unregister", "component"}) {
    const Result r = RunHost(Joined({"new\n", command, " good.json", std::string_view("\0", 1), ".other\n"}));
    EXPECT_EQ(r.status, 2) << command;
    EXPECT_NE(r.err.find("a file name cannot hold a zero byte: good.json\\x00.other"), std::string::npos)
        << command << ": " << r.err;
  }
}

TEST(EchoTest, MessagesEscapeControlBytesAndShortenHugeValues) {
  constexpr std::size_t kMegabyte = 1 << 20;
  const Result huge = RunHost(Joined({"new\nput Enabled ", std::string(kMegabyte, 'x'), "\n"}));
  EXPECT_EQ(huge.status, 2);
  EXPECT_LT(huge.err.size(), 300u);
  EXPECT_NE(huge.err.find("(1048576 bytes)"), std::string::npos) << huge.err;

  const Result binary = RunHost(std::string("new\nput BackStyle 1\x01\x1b[2J\n"));
  EXPECT_EQ(binary.status, 2);
  EXPECT_NE(binary.err.find("1\\x01\\x1B[2J"), std::string::npos) << binary.err;
}

TEST(MessageTest, AFontSizeBeyondTheLimitIsRefusedWithTheLimit) {
  const Result r = RunHost("new\nset Font.Size 100000000000\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("at most 99999999999.9999"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace jv::host
