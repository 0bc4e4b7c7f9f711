#include <gtest/gtest.h>

#include "log/MessageText.h"
#include "startup/SearchPath.h"

namespace {

TEST(MessageText, OnlyTheFirstPlaceholderTakesTheArgument) {
    EXPECT_EQ(substituteFirstPlaceholder(std::string("a {0} b {0}"), "X"), "a X b {0}");
    EXPECT_EQ(substituteFirstPlaceholder(std::string("a {0}"), nullptr), "a {0}");
    EXPECT_EQ(substituteFirstPlaceholder(std::string("none"), "X"), "none");
    EXPECT_EQ(substituteFirstPlaceholder(std::wstring(L"{0}{0}"), L"{0}"), L"{0}{0}");
    EXPECT_EQ(substituteFirstPlaceholder(std::wstring(L"code: {0}"), L"16"), L"code: 16");
}

TEST(MessageText, TheLogPathFollowsAnEmptyLine) {
    EXPECT_EQ(composeErrorText(std::wstring(L"Failed"), L"C:\\t\\qmo_nlog_1"), L"Failed\n\nLog: C:\\t\\qmo_nlog_1");
    EXPECT_EQ(composeErrorText(std::string("Failed"), nullptr), "Failed");
    std::string longText(7000, 'x');
    EXPECT_EQ(composeErrorText(longText, "log").size(), kMaxErrorTextLength);
}

TEST(SearchPath, NativeDirectoriesComeFirst) {
    std::string inherited = "C:\\windows";
    EXPECT_EQ(composeSearchPath("C:\\app\\lib", &inherited), "C:\\app\\lib;C:\\windows");
    EXPECT_EQ(composeSearchPath("a;b;", &inherited), "a;b;C:\\windows");
    EXPECT_EQ(composeSearchPath("", &inherited), "C:\\windows");  // written back unchanged
    EXPECT_EQ(composeSearchPath("a", nullptr), "a;");
    EXPECT_EQ(composeSearchPath("", nullptr), "");
    std::string huge(60000, 'p');
    EXPECT_EQ(composeSearchPath("a", &huge).size(), kSearchPathCapacity - 1);
}

}  // namespace
