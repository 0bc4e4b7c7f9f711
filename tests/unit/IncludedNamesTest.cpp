#include <gtest/gtest.h>

#include "files/IncludedNames.h"

namespace {

// Names that would not give a new plain file of that very name inside the launcher directory.
TEST(IncludedFileNames, DevicesAndTrimmedNamesAreRefused) {
    const struct {
        const char* name;
        bool safe;
    } cases[] = {
        {"NUL", false},         {"nul", false},          {"COM1", false},        {"aux.txt", false},
        {"Con", false},         {"prn.tar.gz", false},   {"COM0", false},        {"lpt9.log", false},
        {"CONIN$", false},      {"conout$.txt", false},  {"nul\\a.txt", false},  {"lib/aux\\b.jar", false},
        {"lib\\com1.jar", false}, {"NUL .txt", false},   {"com\xB9", false},     {"LPT\xB3.x", false},
        {"x.", false},          {"x ", false},           {"lib.\\a.jar", false}, {"lib \\a.jar", false},
        {".", false},           {"lib\\.\\a.jar", false}, {"a\\\\b.jar", false}, {"lib\\", false},
        {"a?.jar", false},      {"a*.jar", false},       {"a<b", false},         {"\x83|.jar", true},
        {"a\"b", false},        {"a>b", false},          {"a\tb", false},        {"a:b", false},
        {"CONSOLE", true},      {"COM10", true},         {"LPT", true},          {"nul_x.txt", true},
        {"xnul", true},         {"com1x.txt", true},     {" nul", true},         {"a.txt", true},
        {"lib\\b.jar", true},   {"lib/b.jar", true},     {".hidden", true},      {"a b.txt", true},
        {"v1..2.txt", true},    {"aux_lib\\x.jar", true}, {"con-fig.txt", true}, {"\xE4.txt", true},
    };
    for (const auto& c : cases) EXPECT_EQ(isSafeIncludedName(c.name), c.safe) << c.name;
}

TEST(IncludedFileNames, DeviceNamesIgnoreCaseAndExtension) {
    for (const char* device : {"con", "PRN", "Aux", "nUL", "com5", "LPT0", "conin$", "CONOUT$", "nul.", "AUX  .c"})
        EXPECT_TRUE(isReservedDeviceName(device)) << device;
    for (const char* other : {"", "co", "COM", "COMA", "LPT12", "nulx", "x.nul", "CONIN", "conin$x"})
        EXPECT_FALSE(isReservedDeviceName(other)) << other;
}

TEST(IncludedFileNames, FirstFolderIsTheTextBeforeTheFirstSeparator) {
    const struct {
        const char* name;
        const char* folder;
    } cases[] = {{"a.txt", ""}, {"lib\\b.jar", "lib"}, {"lib/b.jar", "lib"}, {"a\\b\\c", "a"}, {"a/b\\c", "a"}};
    for (const auto& c : cases) EXPECT_EQ(firstFolderOf(c.name), c.folder) << c.name;
}

TEST(IncludedFileNames, SamePathTextFoldsAsciiCaseAndSeparators) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"C:\\T\\lib\\b.jar", "c:\\t\\LIB/b.JAR", true}, {"a", "a", true},   {"", "", true},
        {"a\\b", "a\\c", false},                          {"a", "ab", false}, {"\xC4", "\xE4", false},
        {"a\\b", "a.b", false},
    };
    for (const auto& c : cases) EXPECT_EQ(samePathText(c.a, c.b), c.same) << c.a << " | " << c.b;
}

TEST(LauncherDirectoryNames, TheFileTheNameCameFromOnlyWhenTheSystemMadeIt) {
    const struct {
        const char* directory;
        const char* source;
    } cases[] = {
        {"C:\\T\\tvoa1b2.tmp_dir1700000000", "C:\\T\\tvoa1b2.tmp"},
        {"C:\\T\\tvo1.TMP_dir5", "C:\\T\\tvo1.TMP"},
        {"C:\\T\\jard0cb.tmp_dir0", "C:\\T\\jard0cb.tmp"},
        {"C:\\T\\tvo1f-2.tmp_dir17", ""},   // the launcher's own fallback name: no file behind it
        {"C:\\T\\tvo12345.tmp_dir17", ""},  // more than four digits
        {"C:\\T\\tvo.tmp_dir17", ""},
        {"C:\\T\\tvoa1b2.tmp_dir", ""},
        {"C:\\T\\tvoa1b2.tmp_dir-5", ""},
        {"C:\\T\\tvoa1b2.txt_dir5", ""},
        {"C:\\T\\tvoa1b2.tmp", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(nameSourceOf(c.directory), c.source) << c.directory;
}

TEST(LauncherDirectoryNames, PartsOfTheDirectory) {
    const std::string directory = "C:\\T\\tvoa1b2.tmp_dir17";
    const struct {
        const char* path;
        bool part;
    } cases[] = {
        {"C:\\T\\tvoa1b2.tmp_dir17", true},       {"c:\\t\\TVOA1B2.TMP_DIR17\\lib", true},
        {"C:\\T\\tvoa1b2.tmp_dir17\\lib\\b", true}, {"C:\\T\\tvoa1b2.tmp", true},
        {"C:\\T\\tvoa1b2.tmp_dir170", false},      {"C:\\T\\tvoa1b2.tmp_dir17\\", false},
        {"C:\\T", false},                          {"C:\\T\\other.tmp", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isPartOfLauncherDirectory(c.path, directory), c.part) << c.path;
    EXPECT_FALSE(isPartOfLauncherDirectory("C:\\T", ""));
}

}  // namespace
