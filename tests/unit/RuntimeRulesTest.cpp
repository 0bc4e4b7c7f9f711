#include <gtest/gtest.h>

#include "HostLog.h"
#include "runtime/RuntimePaths.h"
#include "runtime/SearchSequence.h"
#include "runtime/VersionRules.h"

namespace {

TEST(VersionBounds, ConfiguredBoundsAndRegistryNames) {
    // allowed: the configured check over the bound's length; inRange: registry names over the
    // shorter length. Most rows agree; the ones that differ show why both exist.
    const struct {
        const char* version;
        const char* minimum;
        const char* maximum;
        bool allowed;
        bool inRange;
    } cases[] = {
        {"1.7.0_80", "1.7", "1.8", true, true},
        {"1.8", "1.7", "1.8", true, true},
        {"1.8.0_101", "1.7", "1.8", true, true},
        {"1.7", "1.7", "1.8", true, true},
        {"1.6.0_45", "1.7", "1.8", false, false},
        {"1.9", "1.7", "1.8", false, false},
        {"9.0.1", "1.7", "1.8", false, false},
        {"10.0.1", "1.7", "1.8", false, false},
        {"1", "1.7", "1.8", false, true},
        {"1.", "1.7", "1.8", false, true},
        {"", "1.7", "1.8", false, true},
        {"1.10.0", "1.7", "", false, false},
        {"11.0.2", "1.8", "", true, true},
        {"10", "1.7", "", true, true},
        {"1.6", "", "1.8", true, true},
        {"1.6", "", "", true, true},
        {"17.0.2", "", "11", false, false},
        {"11.0.2", "", "11", true, true},
        // Bytes compare as unsigned: a high byte lies above every digit.
        {"1.\xE9", "1.7", "1.8", false, false},
        {"1.\xE9", "1.7", "", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.version) + " in " + c.minimum + ".." + c.maximum);
        EXPECT_EQ(versionAllowed(c.version, c.minimum, c.maximum, false, false), c.allowed);
        EXPECT_EQ(versionInRange(c.version, c.minimum, c.maximum), c.inRange);
    }
}

TEST(VersionBounds, BetaFilterAndItsTwoLifts) {
    const struct {
        const char* version;
        bool allowBeta;
        bool betaAlwaysAllowed;
        bool allowed;
    } cases[] = {
        {"1.8.0-ea", false, false, false},
        {"1.8.0-ea", true, false, true},
        {"1.8.0-ea", false, true, true},
        {"1.8.0-beta", false, false, false},
        {"1.8.0_20-rc1", false, false, false},
        {"1.8.0-rc", false, true, true},
        {"1.8.0-EA", false, false, true},  // the markers are lower case only
        {"1.8.0_101", false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        clearCapturedLog();
        EXPECT_EQ(versionAllowed(c.version, "1.7", "1.8", c.allowBeta, c.betaAlwaysAllowed), c.allowed);
        const std::vector<std::string> refused{"beta vm not allowed"};
        EXPECT_EQ(capturedLogLines(), c.allowed ? std::vector<std::string>{} : refused);
        // Registry names are never filtered for beta markers.
        EXPECT_TRUE(versionInRange(c.version, "1.7", "1.8"));
    }
}

TEST(VersionBounds, RegistryNamesSortedInByteOrder) {
    const struct {
        std::vector<std::string> names;
        const char* minimum;
        const char* maximum;
        std::vector<std::string> sorted;
    } cases[] = {
        {{"1.8.0_101", "1.6", "1.8", "1.7.0_80", "1.7"}, "1.7", "1.8", {"1.7", "1.7.0_80", "1.8", "1.8.0_101"}},
        {{"10", "1.8"}, "1.7", "", {"1.8", "10"}},
        {{"1.8", "1.10", "1.7"}, "", "", {"1.10", "1.7", "1.8"}},
        {{"\xC3", "1.8"}, "", "", {"1.8", "\xC3"}},
        {{"1.6", "2"}, "1.7", "1.8", {}},
        {{}, "1.7", "1.8", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.minimum) + ".." + c.maximum);
        EXPECT_EQ(sortedVersionNames(c.names, c.minimum, c.maximum), c.sorted);
    }
}

TEST(VersionLine, ReadsTheQuotedVersionOfTheFirstLine) {
    const struct {
        std::string line;
        bool found;
        const char* version;
    } cases[] = {
        {"java version \"1.8.0_101\"\n", true, "1.8.0_101"},
        {"java version \"1.8.0_101\"", true, "1.8.0_101"},
        {"java version \"1.8.0_101\"\r\n", true, "1.8.0_101"},
        {"openjdk version \"17.0.2\" 2022-01-18\n", true, "17.0.2\" 2022-01-1"},
        {"openjdk version \"11\"\n", true, "11"},
        {"java version \"", false, ""},
        {"java version \"\n", false, ""},
        {"java version \"1", false, ""},
        {"java version \"1\n", false, ""},
        {"java version \"\"\r\n", false, ""},
        {"openjdk version \"", false, ""},
        {"Picked up _JAVA_OPTIONS: -Xmx512m\n", false, ""},
        {"Java version \"1.8.0\"\n", false, ""},
        {" java version \"1.8.0\"\n", false, ""},
        {"java version 1.8.0\n", false, ""},
        {"", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::string version = "untouched";
        EXPECT_EQ(parseVersionLine(c.line, version), c.found);
        EXPECT_EQ(version, c.found ? c.version : "untouched");
    }
}

TEST(VersionLine, NoticesBeforeTheVersionLineAreSkipped) {
    const std::string longNotice(150, 'x');
    const struct {
        std::string output;
        bool found;
        const char* version;
    } cases[] = {
        {"Picked up JAVA_TOOL_OPTIONS: -Xmx1g\nopenjdk version \"17.0.9\" 2023-10-17\nOpenJDK Runtime\n", true,
         "17.0.9\" 2023-10-1"},
        {"OpenJDK 64-Bit Server VM warning: Attempt to get process group affinity failed\n"
         "openjdk version \"21.0.8\" 2025-07-15 LTS\n",
         true, "21.0.8\" 2025-07-15 LT"},
        // A notice longer than one read must not let its tail pose as a version line.
        {longNotice + "java version \"1.8\"\n", false, ""},
        {longNotice + "\njava version \"1.8\"\n", true, "1.8"},
        {std::string(20, '\n') + "java version \"1.8\"\n", false, ""},
        {"Error: could not open `C:\\jre\\lib\\jvm.cfg'\n", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        std::string version;
        EXPECT_EQ(parseVersionOutput(c.output, version), c.found);
        if (c.found) EXPECT_EQ(version, c.version);
    }
}

TEST(SearchSequence, EntriesAreTypeLetterAndText) {
    const struct {
        const char* sequence;
        std::vector<std::pair<char, std::string>> entries;
    } cases[] = {
        {"B..\\jre;EQUILLMOTE_JAVA_HOME;Y;EJAVA_HOME;EJDK_HOME;",
         {{'B', "..\\jre"}, {'E', "QUILLMOTE_JAVA_HOME"}, {'Y', ""}, {'E', "JAVA_HOME"}, {'E', "JDK_HOME"}}},
        {";;Y;;", {{'Y', ""}}},
        {"y;D;A", {{'y', ""}, {'D', ""}, {'A', ""}}},
        {"Rc:\\jre;S", {{'R', "c:\\jre"}, {'S', ""}}},
        {"", {}},
        {";;;", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sequence);
        std::vector<std::pair<char, std::string>> parsed;
        for (const SearchEntry& entry : parseSearchSequence(c.sequence)) parsed.emplace_back(entry.type, entry.text);
        EXPECT_EQ(parsed, c.entries);
    }
}

TEST(SearchSequence, WhichEntriesTheFallbackPassTries) {
    const struct {
        char type;
        const char* text;
        bool absolute;
        bool tried;
    } cases[] = {
        {'B', "..\\jre", false, true},   {'B', "c:\\jre", true, true},   {'A', "jre", false, true},
        {'A', "c:\\jre", true, false},   {'R', "c:", true, false},       {'R', "\\\\srv\\jre", true, false},
        {'R', "\\jre", false, true},     {'A', "c", false, true},        {'A', "", false, true},
        {'E', "JAVA_HOME", false, false}, {'Y', "", false, false},       {'b', "jre", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, c.type) + c.text);
        EXPECT_EQ(countsAsAbsolute(c.text), c.absolute);
        EXPECT_EQ(triedInFallback(SearchEntry{c.type, c.text}), c.tried);
    }
}

TEST(RuntimePaths, NamesDerivedFromTheExecutable) {
    const struct {
        const char* executable;
        const char* binDirectory;
        const char* jreSibling;
    } cases[] = {
        {"c:\\j\\bin\\java.exe", "c:\\j\\bin", "c:\\j\\bin\\..\\jre\\bin\\java.exe"},
        {"c:\\j\\bin\\JavaW.EXE", "c:\\j\\bin", "c:\\j\\bin\\..\\jre\\bin\\java.exe"},
        {"\\java.exe", "", "\\..\\jre\\bin\\java.exe"},
        {"java.exe", "", ""},
        {"a.exe", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.executable);
        EXPECT_EQ(binDirectoryOf(c.executable), c.binDirectory);
        EXPECT_EQ(jreSiblingJavaExe(c.executable), c.jreSibling);
    }
    const std::string longPath = "c:\\" + std::string(2100, 'd') + "\\bin\\java.exe";
    EXPECT_EQ(binDirectoryOf(longPath), longPath.substr(0, 1999));
    EXPECT_EQ(javawPathFor("c:\\j\\bin\\java.exe"), "c:\\j\\bin\\javaw.exe");

    const std::string path = "C:\\Program Files\\Java\\bin\\java.exe";
    EXPECT_EQ(versionCacheKey(path), "SOFTWARE\\quorvian\\tarvo\\jvms\\C:/Program Files/Java/bin/java.exe");
    EXPECT_EQ(locatedNameToPath("C:/Program Files/Java/bin/java.exe"), path);
}

TEST(RuntimePaths, CommandLinesQuoteProgramsWithBlanks) {
    const struct {
        const char* shortPath;
        const char* longPath;
        const char* commandLine;
    } cases[] = {
        {"", "C:\\Program Files\\Java\\bin\\java.exe", "\"C:\\Program Files\\Java\\bin\\java.exe\" -version"},
        {"C:\\PROGRA~1\\Java\\bin\\java.exe", "C:\\Program Files\\Java\\bin\\java.exe",
         "C:\\PROGRA~1\\Java\\bin\\java.exe -version"},
        {"", "C:\\jdk\\bin\\java.exe", "C:\\jdk\\bin\\java.exe -version"},
        {"", "C:\\a\tb\\java.exe", "\"C:\\a\tb\\java.exe\" -version"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.longPath);
        EXPECT_EQ(versionQueryCommandLine(c.shortPath, c.longPath), c.commandLine);
    }
    EXPECT_EQ(unpackCommandLine("C:\\jre\\bin\\unpack200.exe", "C:\\My App\\lib\\rt.jar.pack", "C:\\My App\\lib\\rt.jar"),
              "\"C:\\jre\\bin\\unpack200.exe\" -r \"C:\\My App\\lib\\rt.jar.pack\" \"C:\\My App\\lib\\rt.jar\"");
}

TEST(RuntimePaths, PackedJarsAndSearchPath) {
    for (const char* packed : {"rt.jar.pack", "A.JAR.PACK", ".jar.pack"}) EXPECT_TRUE(isPackedJarName(packed)) << packed;
    for (const char* other : {"rt.jar.pack2", "rt.jar", "rt.pack", "jar.pack", ""})
        EXPECT_FALSE(isPackedJarName(other)) << other;
    EXPECT_EQ(jarNameForPacked("rt.jar.pack"), "rt.jar");

    EXPECT_EQ(appendToSearchPath("C:\\Windows", "C:\\jre\\bin", 100), "C:\\Windows;C:\\jre\\bin");
    EXPECT_EQ(appendToSearchPath("C:\\Windows", "C:\\jre\\bin", 14), "C:\\Windows;C:");
    EXPECT_EQ(appendToSearchPath("C:\\Windows", "C:\\jre\\bin", 0), "");
}

TEST(LocationFile, FirstLineOutcomes) {
    const struct {
        std::string content;
        size_t maxLength;
        LocationLine outcome;
        const char* line;
    } cases[] = {
        {"C:\\jre\r\nsecond\n", 260, LocationLine::ok, "C:\\jre"},
        {"C:\\jre\r\r\n", 260, LocationLine::ok, "C:\\jre"},
        {"C:\\jre", 260, LocationLine::ok, "C:\\jre"},
        {"C:\\jre\r", 260, LocationLine::ok, "C:\\jre"},
        {"12345\n", 5, LocationLine::ok, "12345"},
        {"123456\n", 5, LocationLine::tooLong, ""},
        {"123456", 5, LocationLine::tooLong, ""},
        {"\r\nC:\\jre\n", 260, LocationLine::empty, ""},
        {"\n", 260, LocationLine::empty, ""},
        {"", 260, LocationLine::missing, ""},
        {std::string("C\0:\0\\\0", 6), 260, LocationLine::binary, ""},
        {std::string("C:\\jre\nx\0y", 10), 260, LocationLine::ok, "C:\\jre"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        std::string line = "stale";
        EXPECT_EQ(firstLocationLine(c.content, c.maxLength, line), c.outcome);
        EXPECT_EQ(line, c.line);
    }
}

}  // namespace
