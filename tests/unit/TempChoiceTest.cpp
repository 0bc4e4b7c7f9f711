#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "HostLog.h"
#include "files/TempChoice.h"
#include "files/TempNames.h"

namespace {

// Answers the determination's questions from a table row and records the folders it probed.
struct FakeTempApi {
    using Text = std::string;
    static constexpr size_t kCapacity = 6000;

    std::string systemPath;              // what the system calls the temporary path; "" none
    bool spellable = true;               // the long form has no '?'
    std::string shortForm;               // "" when there is no usable short form
    std::set<std::string> writable;      // candidates whose probe folder can be made
    std::set<std::string> creatable;     // folders createDirectory makes writable
    std::vector<std::string> probed;
    bool shortFormAsked = false;
    bool shortFormFromHome = false;

    Text tempPath() const { return systemPath; }
    Text environment(const char* name) const { return std::string(name) == "HOMEDRIVE" ? "C:" : "\\Users\\x"; }
    void logHome(const Text&) const {}
    bool createDirectory(const Text& path) {
        if (creatable.count(path)) writable.insert(path);
        return true;
    }
    Text longPath(const Text& path) const { return spellable ? path : std::string(path.size(), '?'); }
    Text usableShortForm(bool fromHome) {
        shortFormAsked = true;
        shortFormFromHome = fromHome;
        return shortForm;
    }
    Text windowsDirectory() const { return "C:\\windows"; }
    Text literal(const char* text) const { return text; }
    bool isWritable(const Text& path) {
        probed.push_back(path);
        return writable.count(path) > 0;
    }
};

std::string joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& text : texts) out += (out.empty() ? "" : " ") + text;
    return out;
}

TEST(TempChoice, ShortFormBeforeAnySharedFolder) {
    const std::set<std::string> all = {"C:\\windows\\temp", "c:\\temp", "c:\\tmp", "C:\\windows", "c:\\"};
    const struct {
        const char* name;
        bool spellable;
        const char* shortForm;
        std::set<std::string> writable;
        std::set<std::string> creatable;
        const char* chosen;  // "-": none
        const char* probed;
    } cases[] = {
        {"spellable as given", true, "C:\\USERS\\X\\TEMP\\ZHUK~1\\", all, {}, "C:\\Users\\x\\Temp\\x\\", ""},
        {"short form", false, "C:\\USERS\\X\\TEMP\\ZHUK~1\\", all, {}, "C:\\USERS\\X\\TEMP\\ZHUK~1\\", ""},
        {"no short form: windows temp", false, "", all, {}, "C:\\windows\\temp", "C:\\windows\\temp"},
        {"then c:\\temp", false, "", {"c:\\temp", "c:\\tmp", "C:\\windows"}, {}, "c:\\temp",
         "C:\\windows\\temp c:\\temp"},
        {"then c:\\tmp", false, "", {"c:\\tmp", "C:\\windows"}, {}, "c:\\tmp",
         "C:\\windows\\temp c:\\temp c:\\tmp"},
        {"then windows", false, "", {"C:\\windows", "c:\\"}, {}, "C:\\windows",
         "C:\\windows\\temp c:\\temp c:\\tmp C:\\windows"},
        {"c:\\tmp made last", false, "", {"c:\\"}, {"c:\\tmp"}, "c:\\tmp",
         "C:\\windows\\temp c:\\temp c:\\tmp C:\\windows c:\\ c:\\tmp"},
        {"c:\\tmp made but unusable", false, "", {"c:\\"}, {}, "-",
         "C:\\windows\\temp c:\\temp c:\\tmp C:\\windows c:\\ c:\\tmp"},
        {"nothing writable", false, "", {}, {}, "-", "C:\\windows\\temp c:\\temp c:\\tmp C:\\windows c:\\"},
    };
    for (const auto& c : cases) {
        FakeTempApi api;
        api.systemPath = "C:\\Users\\x\\Temp\\x\\";
        api.spellable = c.spellable;
        api.shortForm = c.shortForm;
        api.writable = c.writable;
        api.creatable = c.creatable;
        clearCapturedLog();
        std::optional<std::string> chosen = chooseTempDirectory(api);
        EXPECT_EQ(chosen.value_or("-"), c.chosen) << c.name;
        EXPECT_EQ(joined(api.probed), c.probed) << c.name;
        EXPECT_EQ(api.shortFormAsked, !c.spellable) << c.name;
        EXPECT_EQ(logContains("taken in its short form"), !c.spellable && *c.shortForm) << c.name;
    }
}

TEST(TempChoice, HomeFolderWhenTheSystemHasNoTemporaryPath) {
    FakeTempApi api;
    EXPECT_EQ(chooseTempDirectory(api).value_or("-"), "C:\\Users\\x");

    FakeTempApi unspellable;
    unspellable.spellable = false;
    unspellable.shortForm = "C:\\USERS\\ZHUK~1";
    EXPECT_EQ(chooseTempDirectory(unspellable).value_or("-"), "C:\\USERS\\ZHUK~1");
    EXPECT_TRUE(unspellable.shortFormFromHome);
}

TEST(TempNames, FallbackNamesDifferByProcessAndSequence) {
    const struct {
        const char* directory;
        uint32_t processId;
        uint32_t sequence;
        const char* name;
    } cases[] = {
        {"C:\\t\\", 0x1f4, 1, "C:\\t\\tvo1f4-1.tmp"},
        {"C:\\t\\", 0x1f4, 2, "C:\\t\\tvo1f4-2.tmp"},
        {"C:\\t\\", 0x1f8, 1, "C:\\t\\tvo1f8-1.tmp"},
        {"c:\\temp", 8, 0xffffffff, "c:\\temp\\tvo8-ffffffff.tmp"},  // fallbacks end without one
        {"", 4, 1, "tvo4-1.tmp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fallbackTempFileName(c.directory, c.processId, c.sequence), c.name) << c.directory;
}

}  // namespace
