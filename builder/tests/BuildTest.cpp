#include <gtest/gtest.h>

#include <filesystem>

#include "StubFixture.h"

namespace buildertest {
namespace {

namespace fs = std::filesystem;

const std::string kTrailer = "\xE8\xE4\x13\xD5";
const std::string kHeader = std::string("\xD5\x13\xE4\xE8", 4) + std::string(16, '\0');

RunResult build(const TempDir& dir, const std::string& stub, const std::string& config) {
  return runTool({"build", dir.write("stub.exe", stub).string(),
                  dir.write("config.toml", config).string(), dir.path("out.exe").string()});
}

TEST(Build, BlockReplacesEverythingBehindTheLastSectionsRawData) {
  TempDir dir;
  const std::string stub = makeStub();
  const RunResult result = build(dir, stub, "[narrow]\n101 = \"App\"\n");
  ASSERT_EQ(result.code, 0) << result.err;

  // Key 101 = "App" alone is exactly these 43 bytes.
  const std::string block =
      kHeader + le32(1) + le32(101) + le32(3) + "App" + le32(0) + le32(0);
  ASSERT_EQ(block.size(), 43u);
  EXPECT_EQ(dir.read("out.exe"), stub.substr(0, kStubEnd) + block + kTrailer);
  const auto perms = fs::status(dir.path("out.exe")).permissions();
  EXPECT_EQ(perms & fs::perms::all, fs::perms(0755));
}

TEST(Build, IncludedFilesAreScrambledAndListedUnlessTheConfigListsThem) {
  std::string binary;
  for (int b = 0; b < 256; ++b) binary += static_cast<char>(b);
  std::string scrambled = binary;
  for (char& c : scrambled) c = static_cast<char>(c ^ 0xA7);

  const std::string files =
      "[[file]]\nname = \"lib\\\\a.jar\"\nsource = \"in/a.jar\"\n"
      "[[file]]\nname = \"empty.txt\"\nsource = \"in/empty.txt\"\n";
  struct Case {
    const char* narrow;
    std::string count;
    std::string names;
  } cases[] = {
      {"", "2", "lib\\a.jar;empty.txt"},
      {"[narrow]\n2002 = 7\n2003 = \"x\"\n", "7", "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.narrow);
    TempDir dir;
    dir.write("in/a.jar", binary);
    dir.write("in/empty.txt", "");
    const RunResult result = build(dir, makeStub(), c.narrow + files);
    ASSERT_EQ(result.code, 0) << result.err;

    const std::string block = kHeader + le32(2) + le32(2002) + text(c.count) + le32(2003) +
                              text(c.names) + le32(0) + le32(0) + le64(256) + scrambled +
                              le64(0) + kTrailer;
    EXPECT_EQ(dir.read("out.exe").substr(kStubEnd), block);
  }
}

TEST(Build, RefusesUnsuitableStubsAndFaultyConfigurations) {
  const std::string app = "[narrow]\n101 = \"App\"\n";
  std::string noMz = makeStub();
  noMz[0] = 'X';
  std::string noPe = makeStub();
  noPe[64] = 'X';
  const auto stub = [](std::vector<Section> sections, uint32_t certificate = 0) {
    return makeStub({sections, certificate, ""});
  };
  struct Case {
    const char* name;
    std::string stub;
    std::string config;
    std::string message;
  } cases[] = {
      {"no MZ", noMz, app, "no MZ signature"},
      {"no PE signature", noPe, app, "no PE signature at offset 64"},
      {"too short", "MZ", app, "too short"},
      {"signed", stub({{0x200, 0x200}, {0x400, 0x100}}, 0x80), app,
       "the stub is signed; sign the executable after building, not before"},
      {"earlier section ends later", stub({{0x200, 0x400}, {0x400, 0x100}}), app,
       "a section's raw data ends at offset 0x600"},
      {"last section has no raw data", stub({{0x200, 0x200}, {0, 0}}), app,
       "a section's raw data ends at offset 0x400"},
      {"block beyond 2 GiB", stub({{0x200, 0x200}, {0x7FFFFF00, 0x200}}), app, "beyond 2 GiB"},
      {"stub cut short", stub({{0x200, 0x200}, {0x400, 0x10000}}), app,
       "beyond the end of the file"},
      {"not Windows-1252", makeStub(), "[narrow]\n\n101 = \"\xE4\xB8\xAD\"\n",
       "config.toml:3: [narrow] key 101: character U+4E2D cannot be stored in Windows-1252"},
      {"key not a number", makeStub(), "[wide]\nabc = \"x\"\n", "key 'abc' is not a 32-bit"},
      {"key with leading zero", makeStub(), "[narrow]\n0101 = \"x\"\n", "key '0101' is not"},
      {"key beyond int32", makeStub(), "[narrow]\n2147483648 = \"x\"\n", "is not a 32-bit"},
      {"float value", makeStub(), "[narrow]\n141 = 4.5\n", "config.toml:2: [narrow] key 141: expected"},
      {"TOML syntax", makeStub(), "[narrow]\n101 = \n", "config.toml:2:"},
      {"misspelt section", makeStub(), "[narow]\n101 = \"x\"\n", "unknown section 'narow'"},
      {"locale group without prefix", makeStub(), "[[locale]]\n[locale.entries]\n1000 = \"x\"\n",
       "[[locale]] 1 has no 'prefix'"},
      {"file without source", makeStub(), "[[file]]\nname = \"a.jar\"\n", "[[file]] 1 has no source"},
      {"missing source file", makeStub(), "[[file]]\nname = \"a.jar\"\nsource = \"nope.jar\"\n",
       "nope.jar is not a readable file"},
      {"file name with ';'", makeStub(), "[[file]]\nname = \"a;b\"\nsource = \"x\"\n",
       "hold no ';'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const RunResult result = build(dir, c.stub, c.config);
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(dir.path("out.exe")));
  }
}

}  // namespace
}  // namespace buildertest
