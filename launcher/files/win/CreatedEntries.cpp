#include "files/win/CreatedEntries.h"

#include <vector>

#include "files/IncludedNames.h"
#include "files/win/UniqueHandle.h"
#include "log/Log.h"

namespace {

struct Identity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const Identity& other) const {
        return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};

struct Entry {
    std::string path;
    Identity identity;
    bool directory = false;
};

// Bounded by what one start creates: the launcher directory, its name's file and the included files.
std::vector<Entry>& createdEntries() {
    static std::vector<Entry> entries;
    return entries;
}

bool readIdentity(HANDLE entry, Identity& identity, DWORD& attributes) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(entry, &information)) return false;
    identity = {information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
    attributes = information.dwFileAttributes;
    return true;
}

// Links, junctions and the like are removed as themselves. Only what is a link once opened goes:
// where the system cannot open a link itself (it follows it), the entry stays.
void removeLinksIn(const std::string& directory) {
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA((directory + "\\*").c_str(), &found));
    if (!search) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        std::string path = directory + "\\" + found.cFileName;
        UniqueHandle link(openEntry(path, DELETE | FILE_READ_ATTRIBUTES));
        Identity identity;
        DWORD attributes = 0;
        bool isLink = link && readIdentity(link.get(), identity, attributes) &&
                      (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
        if (isLink && deleteOpenEntry(link.get()))
            logMessage("removed the link %s", path.c_str());
        else
            logMessage("left %s: a link that cannot be removed as a link", path.c_str());
    } while (FindNextFileA(search.get(), &found));
}

void removeEntry(const Entry& entry) {
    UniqueHandle handle(openEntry(entry.path, DELETE | FILE_READ_ATTRIBUTES));
    Identity identity;
    DWORD attributes = 0;
    if (!handle || !readIdentity(handle.get(), identity, attributes) || !(identity == entry.identity)) {
        logMessage("left %s: no longer the entry this start created", entry.path.c_str());
        return;
    }
    if (entry.directory) removeLinksIn(entry.path);
    logMessage("attempting to remove %s", entry.path.c_str());
    if (!deleteOpenEntry(handle.get())) logMessage("could not remove %s (%lu)", entry.path.c_str(), GetLastError());
}

}  // namespace

HANDLE openEntry(const std::string& path, DWORD access) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool deleteOpenEntry(HANDLE entry) {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(entry, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

std::string finalPathOf(HANDLE entry) {
    std::vector<char> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD length = GetFinalPathNameByHandleA(entry, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                 FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return std::string();
        if (length < buffer.size()) return std::string(buffer.data(), length);
        if (length > 32768) return std::string();  // longer than any path the system handles
        buffer.resize(length + 1);
    }
    return std::string();
}

bool rememberCreated(const std::string& path, HANDLE entry) {
    Entry created;
    created.path = path;
    DWORD attributes = 0;
    if (!readIdentity(entry, created.identity, attributes)) return false;
    created.directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    createdEntries().push_back(created);
    return true;
}

void removeCreatedEntries(const std::string& launcherDirectory) {
    std::vector<Entry>& entries = createdEntries();
    for (size_t i = entries.size(); i > 0; --i)
        if (isPartOfLauncherDirectory(entries[i - 1].path, launcherDirectory)) removeEntry(entries[i - 1]);
}
