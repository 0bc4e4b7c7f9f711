#include "files/win/PrivateDirectory.h"

#include <windows.h>

#include <sddl.h>

#include <vector>

#include "files/PrivateAccess.h"
#include "files/win/UniqueHandle.h"
#include "log/Log.h"

namespace {

struct LocalMemoryTraits {  // what the SID and descriptor conversions hand out
    using Value = HLOCAL;
    static Value invalid() { return nullptr; }
    static bool valid(Value v) { return v != nullptr; }
    static void close(Value v) { LocalFree(v); }
};
using UniqueLocalMemory = UniqueResource<LocalMemoryTraits>;

// The SID of the user the process runs as, in its text form; empty with error set on failure.
std::wstring currentUserSid(DWORD& error) {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) {
        error = GetLastError();
        return std::wstring();
    }
    UniqueHandle token(rawToken);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0 || size > 4096) {  // a TOKEN_USER: a pointer, flags and a SID of at most 68 bytes
        error = size == 0 ? GetLastError() : ERROR_INVALID_SID;
        return std::wstring();
    }
    std::vector<unsigned char> buffer(size);
    wchar_t* text = nullptr;
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size) ||
        !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
        error = GetLastError();
        return std::wstring();
    }
    UniqueLocalMemory owned(text);
    return std::wstring(text);
}

// ERROR_SUCCESS or why the directory was not created.
DWORD createWithPrivateAccess(const std::string& path) {
    DWORD error = ERROR_SUCCESS;
    std::wstring user = currentUserSid(error);
    if (user.empty()) {
        logError("no private directory %s: the user's SID is unknown (%lu)", path.c_str(), error);
        return error != ERROR_SUCCESS ? error : ERROR_INVALID_SID;
    }
    std::wstring sddl = privateDirectorySddl(user);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
        error = GetLastError();
        logError("no private directory %s: its access list could not be built (%lu)", path.c_str(), error);
        return error != ERROR_SUCCESS ? error : ERROR_INVALID_SECURITY_DESCR;
    }
    UniqueLocalMemory owned(descriptor);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    if (CreateDirectoryA(path.c_str(), &attributes)) return ERROR_SUCCESS;
    error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_CANNOT_MAKE;
}

}  // namespace

bool createPrivateDirectory(const std::string& path) {
    DWORD error = createWithPrivateAccess(path);  // taken before the clean-up, which may change it
    SetLastError(error);
    return error == ERROR_SUCCESS;
}
