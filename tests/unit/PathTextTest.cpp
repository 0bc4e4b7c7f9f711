#include <gtest/gtest.h>

#include "files/IncludedNames.h"
#include "files/PathText.h"

namespace {

TEST(PathRules, RelativeOrAbsolute) {
    const struct {
        const char* path;
        bool relative;
    } cases[] = {
        {"c:\\x", false}, {"\\\\server\\share", false}, {"\"c:\\x", false}, {"c:\\", false},
        {"\\x", true},    {"c:x", true},                {"ab", true},        {"\"c:", true},
        {"c:/x", true},   {"", true},                   {"..\\lib", true},   {"\"\\\\s", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isRelativePath(std::string(c.path)), c.relative) << c.path;
        std::wstring wide(c.path, c.path + std::char_traits<char>::length(c.path));
        EXPECT_EQ(isRelativePath(wide), c.relative) << c.path;
    }
}

TEST(PathRules, CollapseBackslashRuns) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"a\\\\\\b", "a\\b"},
        {"\\\\\\\\server\\\\x", "\\\\server\\x"},
        {"\\\\\\x", "\\\\x"},
        {"\\x\\\\y", "\\x\\y"},
        {"plain", "plain"},
        {"", ""},
        {"c:\\dir\\\\", "c:\\dir\\"},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        collapseBackslashes(text);
        EXPECT_EQ(text, c.out) << c.in;
    }
}

TEST(PathRules, ResolveAgainstADirectory) {
    EXPECT_EQ(resolveAgainst(std::string("c:\\App\\bin\\"), std::string("..\\Lib")), "c:\\App\\bin\\..\\Lib");
    EXPECT_EQ(resolveAgainst(std::string("c:\\App\\bin\\"), std::string("d:\\\\x")), "d:\\x");
    EXPECT_EQ(resolveAgainst(std::string("c:\\App\\"), std::string("\\\\srv\\\\x")), "\\\\srv\\x");
    EXPECT_EQ(directoryOf(std::string("c:\\a\\b.exe")), "c:\\a\\");
    EXPECT_EQ(directoryOf(std::string("b.exe")), "");
}

TEST(PathRules, DriveRootsNeedNoSearch) {
    for (const char* root : {"c:\\", "z:\\.", "q:\\.\\."}) EXPECT_TRUE(isDriveRoot(std::string(root))) << root;
    for (const char* other : {"c:", "c:\\x", "c:\\..", "\\", ""}) EXPECT_FALSE(isDriveRoot(std::string(other))) << other;
}

TEST(IncludedFileNames, StayInsideTheTemporaryDirectory) {
    for (const char* safe : {"a.txt", "lib\\b.jar", "a\\b\\c.txt", "..a", "a..b\\c"})
        EXPECT_TRUE(isSafeIncludedName(safe)) << safe;
    for (const char* unsafe : {"..\\x", "lib\\..\\..\\x", "c:\\x", "c:x", "\\x", "/x", "a/../../x", "..", ""})
        EXPECT_FALSE(isSafeIncludedName(unsafe)) << unsafe;
}

}  // namespace
