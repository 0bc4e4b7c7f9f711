#include "config/LocaleTable.h"

#include <gtest/gtest.h>

#include <cstring>

#include "HostLog.h"

namespace {

struct LocaleCase {
    uint16_t languageId;
    const char* name;
    const char* language;
    const char* country;  // nullptr: no country
};

const LocaleCase localeCases[] = {
    {0x0409, "en_US", "en", "US"},
    {0x0807, "de_CH", "de", "CH"},
    {0x0C07, "de_AT", "de", "AT"},
    {0x1407, "de_LI", "de", "LI"},
    {0x0401, "ar_SA", "ar", "SA"},  // first full row
    {0x500A, "es_PR", "es", "PR"},  // last row
    // Rows that break the language_COUNTRY pattern.
    {0x0814, "no_NO_NY", "no", nullptr},
    {0x2409, "en", "en", nullptr},
    {0x0431, "ts", "ts", nullptr},
    {0x0434, "xh", "xh", nullptr},
    {0x0435, "zu", "zu", nullptr},
    {0x043D, "yi", "yi", nullptr},
    {0x0444, "tt", "tt", nullptr},
    {0x0812, "ko_KR", "ko", "KR"},
    {0x081A, "sr_CS", "sr", "CS"},
    {0x0C1A, "sr_CS", "sr", "CS"},
    {0x0C0A, "es_ES", "es", "ES"},
    {0x041A, "hr_HR", "hr", "HR"},
    {0x083C, "ga_IE", "ga", "IE"},
    {0x040D, "iw_IL", "iw", "IL"},
    {0x0421, "in_ID", "in", "ID"},
    // Second pass: no row of its own, so the primary language's row answers.
    {0x4807, "de", "de", nullptr},
    {0x101A, "sr", "sr", nullptr},
    {0x0056, "gl", "gl", nullptr},
    // Neither pass finds a row.
    {0x0428, "en", "en", nullptr},
    {0x0057, "en", "en", nullptr},
    {0x0000, "en", "en", nullptr},
    {0xFFFF, "en", "en", nullptr},
};

}  // namespace

TEST(LocaleTable, NamesAndTheirLanguageAndCountry) {
    for (const LocaleCase& c : localeCases) {
        SCOPED_TRACE(testing::Message() << std::hex << "0x" << c.languageId);
        const char* name = lookupLocaleName(c.languageId);
        EXPECT_STREQ(name, c.name);

        splitLocaleName(name);
        char part[3] = "##";
        EXPECT_TRUE(copyLocaleLanguage(part, sizeof part));
        EXPECT_STREQ(part, c.language);
        EXPECT_EQ(copyLocaleCountry(part, sizeof part), c.country != nullptr);
        EXPECT_STREQ(part, c.country ? c.country : "");
    }
}

TEST(LocaleTable, HoldsEachIdentifierOnceInAscendingOrder) {
    size_t primaryRows = 0;
    for (size_t i = 0; i < localeTableSize; ++i) {
        if (localeTable[i].languageId < 0x400) ++primaryRows;
        if (i > 0) EXPECT_LT(localeTable[i - 1].languageId, localeTable[i].languageId) << "row " << i;
    }
    EXPECT_EQ(primaryRows, 71u);
    EXPECT_EQ(localeTableSize - primaryRows, 144u);
}

TEST(LocaleFormatAsDefault, LastMatchingArgumentDecides) {
    struct Case {
        std::vector<std::wstring> arguments;
        bool expected;
    };
    const Case cases[] = {
        {{}, true},
        {{L"app.exe", L"-Xmx1g"}, true},
        {{L"app.exe", L"-Dsun.locale.formatasdefault=true"}, true},
        {{L"-Dsun.locale.formatasdefault=false", L"-Dsun.locale.formatasdefault=true"}, true},
        {{L"-Dsun.locale.formatasdefault=true", L"-Dsun.locale.formatasdefault=false"}, false},
        {{L"-Dsun.locale.formatasdefault=false", L"other"}, false},  // element 0 counts as well
        {{L"-Dsun.locale.formatasdefault="}, false},
        {{L"-Dsun.locale.formatasdefault=TRUE"}, false},
        {{L"-Dsun.locale.formatasdefault=true "}, false},
        {{L"-Dsun.locale.formatasdefault"}, true},  // no "=": not a setting
        {{L" -Dsun.locale.formatasdefault=false"}, true},
    };
    for (const Case& c : cases) {
        std::wstring joined;
        for (const std::wstring& argument : c.arguments) joined += L"[" + argument + L"]";
        SCOPED_TRACE(std::string(joined.begin(), joined.end()));
        EXPECT_EQ(formatAsDefaultSetting(c.arguments), c.expected);
    }
}

namespace {

int userInterfaceQueries = 0;

std::optional<uint16_t> swissGermanInterface() {
    ++userInterfaceQueries;
    return 0x0807;
}

std::optional<uint16_t> unavailableInterface() {
    ++userInterfaceQueries;
    return std::nullopt;
}

}  // namespace

TEST(LocaleDetection, ChoosesBetweenDefaultAndInterfaceLanguage) {
    const std::vector<std::wstring> formatOff = {L"app.exe", L"-Dsun.locale.formatasdefault=no"};
    const std::vector<std::wstring> formatOn = {L"app.exe", L"-Dsun.locale.formatasdefault=false",
                                                L"-Dsun.locale.formatasdefault=true"};
    struct Case {
        const char* label;
        const std::vector<std::wstring>* arguments;
        UserInterfaceLanguageQuery query;
        const char* expectedName;
        int expectedQueries;
        const char* expectedSettingLine;  // nullptr: no setting line
    };
    const Case cases[] = {
        {"no arguments", nullptr, swissGermanInterface, "fr_CA", 0, nullptr},
        {"setting true", &formatOn, swissGermanInterface, "fr_CA", 0, "sun.locale.formatasdefault is true"},
        {"setting false", &formatOff, swissGermanInterface, "de_CH", 1, "sun.locale.formatasdefault is false"},
        {"query fails", &formatOff, unavailableInterface, "fr_CA", 1, "sun.locale.formatasdefault is false"},
        {"no query", &formatOff, nullptr, "fr_CA", 0, "sun.locale.formatasdefault is false"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        clearCapturedLog();
        userInterfaceQueries = 0;
        EXPECT_STREQ(detectLocaleName(0x0C0C, c.arguments, c.query), c.expectedName);
        EXPECT_EQ(userInterfaceQueries, c.expectedQueries);
        std::vector<std::string> expectedLines;
        if (c.expectedSettingLine) expectedLines.push_back(c.expectedSettingLine);
        expectedLines.push_back(std::string("language/country is ") + c.expectedName);
        EXPECT_EQ(capturedLogLines(), expectedLines);
    }
}

TEST(LocaleSplit, OddNamesAndSmallBuffers) {
    struct Case {
        const char* name;
        const char* language;  // nullptr: unset
        const char* country;   // nullptr: unset
    };
    const Case cases[] = {
        {"xx_YY", "xx", "YY"},
        {"xxxYY", "xx", "YY"},  // any five characters split at the same places
        {"e", "e", nullptr},
        {"", "", nullptr},
        {"de_CHX", "de", nullptr},
        {nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(null)");
        splitLocaleName(c.name);
        char part[3] = "##";
        EXPECT_EQ(copyLocaleLanguage(part, sizeof part), c.language != nullptr);
        EXPECT_STREQ(part, c.language ? c.language : "");
        EXPECT_EQ(copyLocaleCountry(part, sizeof part), c.country != nullptr);
        EXPECT_STREQ(part, c.country ? c.country : "");
    }

    // A part that does not fit is refused, not cut, and nothing lands behind the capacity.
    splitLocaleName("de_CH");
    char buffer[4] = {'#', '#', '#', '#'};
    EXPECT_FALSE(copyLocaleCountry(buffer, 2));
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], '#');
    EXPECT_FALSE(copyLocaleLanguage(buffer + 3, 0));
    EXPECT_EQ(buffer[3], '#');
}
