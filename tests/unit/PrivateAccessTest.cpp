#include <gtest/gtest.h>

#include "files/PrivateAccess.h"

namespace {

// Wine keeps no access lists on files (it reports one rebuilt from Unix mode bits), so the
// protection flag and the Administrators entry are checked here, on the text the system is given.
TEST(PrivateAccess, OnlyTheUserSystemAndAdministrators) {
    EXPECT_EQ(privateDirectorySddl(L"S-1-5-21-1-2-3-1001"),
              L"D:P(A;OICI;FA;;;S-1-5-21-1-2-3-1001)(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)");
}

}  // namespace
