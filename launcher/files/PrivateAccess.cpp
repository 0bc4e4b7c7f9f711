#include "files/PrivateAccess.h"

std::wstring privateDirectorySddl(const std::wstring& userSid) {
    return L"D:P(A;OICI;FA;;;" + userSid + L")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
}
