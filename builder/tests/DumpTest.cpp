#include <gtest/gtest.h>

#include <filesystem>

#include "StubFixture.h"

namespace buildertest {
namespace {

namespace fs = std::filesystem;

const char* const kTexts = R"toml(
[narrow]
101 = "Grüße € \u0081\u009D \"q\" \\ tab\tnew\nline \u0000 \u007F ÿ"
107 = 1
108 = true
-7 = ""
[wide]
1000 = "Fehler 中文 😀 \u0000"
1001 = ""
[[locale]]
prefix = "de"
[locale.entries]
1000 = "Fehler"
1003 = "Öffnen"
[[locale]]
prefix = "de_CH"
[[locale]]
prefix = ""
[locale.entries]
1000 = "last"
)toml";

const char* const kFiles = R"toml(
[[file]]
name = "lib\\dätä.jar"
source = "in/a.bin"
[[file]]
name = "empty.txt"
source = "in/empty.txt"
)toml";

TEST(Dump, BuildDumpBuildGivesIdenticalBytes) {
  std::string binary;
  for (int b = 0; b < 256; ++b) binary += static_cast<char>(255 - b);
  struct Case {
    const char* name;
    std::string config;
  } cases[] = {
      {"empty", ""},
      {"texts and groups", kTexts},
      {"files", std::string(kTexts) + kFiles},
      {"fewer files announced than stored", std::string("[narrow]\n2002 = \"1\"\n") + kFiles},
      {"other names listed", std::string("[narrow]\n2003 = \"x;;y;z\"\n") + kFiles},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.write("in/a.bin", binary);
    dir.write("in/empty.txt", "");
    const std::string stub = dir.write("stub.exe", makeStub()).string();
    const std::string first = dir.path("first.exe").string();
    const std::string second = dir.path("second.exe").string();
    const RunResult built =
        runTool({"build", stub, dir.write("config.toml", c.config).string(), first});
    ASSERT_EQ(built.code, 0) << built.err;

    const RunResult dumped = runTool({"dump", first, "--files", dir.path("out").string()});
    ASSERT_EQ(dumped.code, 0) << dumped.err;
    EXPECT_EQ(dumped.err, "");  // no warning that a rebuild would differ
    const RunResult rebuilt =
        runTool({"build", stub, dir.write("dumped/config.toml", dumped.out).string(), second});
    ASSERT_EQ(rebuilt.code, 0) << rebuilt.err << "\n" << dumped.out;
    EXPECT_EQ(readFile(first), readFile(second)) << dumped.out;
  }
}

TEST(Dump, WithoutFilesNamesEachFileWithItsSize) {
  TempDir dir;
  dir.write("in/a.bin", "abc");
  dir.write("in/empty.txt", "");
  const std::string exe = dir.path("app.exe").string();
  ASSERT_EQ(runTool({"build", dir.write("stub.exe", makeStub()).string(),
                     dir.write("config.toml", kFiles).string(), exe})
                .code,
            0);
  const RunResult dumped = runTool({"dump", exe});
  ASSERT_EQ(dumped.code, 0) << dumped.err;
  EXPECT_NE(dumped.out.find("name = \"lib\\\\dätä.jar\"\n# 3 bytes"), std::string::npos)
      << dumped.out;
  EXPECT_EQ(dumped.out.find("\nsource ="), std::string::npos);
}

TEST(Dump, DamagedBlocksAreReportedNotTrusted) {
  TempDir dir;
  const std::string exe = dir.path("app.exe").string();
  dir.write("in/a.bin", "abc");
  ASSERT_EQ(runTool({"build", dir.write("stub.exe", makeStub()).string(),
                     dir.write("config.toml",
                               "[narrow]\n101 = \"App\"\n"
                               "[[file]]\nname = \"a.bin\"\nsource = \"in/a.bin\"\n")
                         .string(),
                     exe})
                .code,
            0);
  const std::string good = readFile(exe);
  // Block offsets: 20 narrow count, 28 length of key 101's text; the file's record is
  // followed by its 3 bytes and the 4 trailer bytes.
  const uint64_t recordSizeAt = good.size() - 4 - 3 - 8;
  struct Case {
    const char* name;
    uint64_t at;
    std::string bytes;
    std::string message;
  } cases[] = {
      {"wrong magic", kStubEnd, "\xD6", "the magic is wrong"},
      {"negative length", kStubEnd + 28, le32(0xFFFFFFFF), "negative length -1"},
      {"length past the end", kStubEnd + 28, le32(0x7FFFFFFF), "needs 2147483647 bytes"},
      {"huge entry count", kStubEnd + 20, le32(0x7FFFFFFF), "are left in the file"},
      {"negative file size", recordSizeAt, le64(~uint64_t{0}), "is negative"},
      {"file size past the end", recordSizeAt, le64(uint64_t{1} << 62), "only 7 are left"},
      {"last section beyond the file", kSectionTableAt + 40 + 20, le32(0x100000),
       "beyond the end of the file"},
      {"not a PE", 0, "ZZ", "no MZ signature"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string damaged = good;
    damaged.replace(c.at, c.bytes.size(), c.bytes);
    const RunResult result = runTool({"dump", dir.write("damaged.exe", damaged).string()});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }

  for (const std::size_t cut : {kStubEnd + 2, kStubEnd + 33}) {
    SCOPED_TRACE(cut);
    const RunResult result = runTool({"dump", dir.write("cut.exe", good.substr(0, cut)).string()});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("are left in the file"), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace buildertest
