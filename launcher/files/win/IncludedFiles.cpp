#include "files/win/IncludedFiles.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "config/ConfigBlock.h"
#include "config/win/ConfigLoader.h"
#include "files/DataCopy.h"
#include "files/IncludedNames.h"
#include "files/Text.h"
#include "files/win/CreatedEntries.h"
#include "files/win/PrivateDirectory.h"
#include "files/win/TempDir.h"
#include "files/win/UniqueHandle.h"
#include "log/Log.h"
#include "log/win/ErrorReport.h"

static uint32_t extractedEnd = 0;

uint32_t unextractedPosition() { return extractedEnd; }

namespace {

class HandleSink : public ByteSink {
public:
    explicit HandleSink(HANDLE file) : file_(file) {}
    bool write(const void* data, size_t count, size_t& written) override {
        DWORD wrote = 0;
        DWORD wanted = count > MAXDWORD ? MAXDWORD : static_cast<DWORD>(count);
        if (!WriteFile(file_, data, wanted, &wrote, nullptr)) {
            lastError_ = GetLastError();
            return false;
        }
        written = wrote;
        return true;
    }
    unsigned long lastError() const override { return lastError_; }

private:
    HANDLE file_;
    unsigned long lastError_ = 0;
};

// Where this start's entries go, and where the system must find them once created.
struct ExtractionTarget {
    std::string directory;             // the launcher directory as the launcher spells it
    std::string finalDirectory;        // the same with every link resolved; empty when unknown
    std::vector<std::string> folders;  // the first-level folders this start created
};

// The message the launcher gives for a refused name. The clean-up on the way out removes only
// what this start recorded.
[[noreturn]] void refuse(const char* what, const std::string& path) {
    logError("%s: %s", what, path.c_str());
    failWithMessage(1009, "11");
}

// A link in the way (planted before or swapped in after creation) leads an entry elsewhere.
bool landedWhereMeant(HANDLE entry, const ExtractionTarget& target, const std::string& name) {
    if (target.finalDirectory.empty()) return true;
    return samePathText(finalPathOf(entry), target.finalDirectory + "\\" + name);
}

// The empty file the system made for the directory's name goes with the directory.
void rememberNameSource(const std::string& directory) {
    std::string source = nameSourceOf(directory);
    if (source.empty()) return;
    UniqueHandle file(openEntry(source, FILE_READ_ATTRIBUTES));
    BY_HANDLE_FILE_INFORMATION information;
    if (!file || !GetFileInformationByHandle(file.get(), &information)) return;
    DWORD unlike = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if ((information.dwFileAttributes & unlike) || information.nFileSizeHigh || information.nFileSizeLow) return;
    rememberCreated(source, file.get());
}

ExtractionTarget prepareTarget(bool created) {
    ExtractionTarget target;
    target.directory = launcherTempDirectory();
    UniqueHandle directory(openEntry(target.directory, FILE_READ_ATTRIBUTES));
    if (!directory) refuse("cannot open the launcher directory", target.directory);
    if (created) {
        rememberNameSource(target.directory);
        if (!rememberCreated(target.directory, directory.get()))
            refuse("cannot identify the launcher directory", target.directory);
    }
    target.finalDirectory = finalPathOf(directory.get());
    if (target.finalDirectory.empty())
        logMessage("no final path for %s (%lu)", target.directory.c_str(), GetLastError());
    return target;
}

// A folder must be new: one of that name that this start did not make could be a link elsewhere.
void createFolder(ExtractionTarget& target, const std::string& folder) {
    for (const std::string& made : target.folders)
        if (samePathText(made, folder)) return;
    std::string path = target.directory + "\\" + folder;
    logMessage("creating directory %s", path.c_str());
    if (!createPrivateDirectory(path)) {
        logError("failed to create directory %s (%lu)", path.c_str(), GetLastError());
        failWithMessage(1009, "11");
    }
    UniqueHandle handle(openEntry(path, FILE_READ_ATTRIBUTES));
    if (!handle || !landedWhereMeant(handle.get(), target, folder))
        refuse("the new directory is not where it was created", path);
    if (!rememberCreated(path, handle.get())) refuse("cannot identify the new directory", path);
    target.folders.push_back(folder);
}

int extractIncludedFile(ByteSource& executable, const ExtractionTarget& target, const std::string& name) {
    std::string path = target.directory + "\\" + name;
    int64_t size = readLongOrFail(executable);
    logMessage("extracting %s (size: %lld)", path.c_str(), static_cast<long long>(size));
    if (size <= 0) return 0;
    // Must be new: an existing file, link or device of that name was not made by this start.
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        logError("could not create %s (%lu)", path.c_str(), GetLastError());
        failWithMessage(1009, "11");
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) refuse("not a disk file", path);
    // Created, but not where meant: it is this start's own new file, so it goes at once.
    if (!landedWhereMeant(file.get(), target, name)) {
        deleteOpenEntry(file.get());
        refuse("the new file is not where it was created", path);
    }
    if (!rememberCreated(path, file.get())) {
        deleteOpenEntry(file.get());
        refuse("cannot identify the new file", path);
    }
    HandleSink sink(file.get());
    return copyData(executable, sink, size, true);
}

}  // namespace

int extractIncludedFiles(bool createDirectory) {
    logMessage("extracting files");
    int count = configInt(2002);
    logMessage("Included files: %d", count);
    if (count <= 0) {
        if (createDirectory) launcherTempDirectory().clear();
        return 0;
    }
    if (createDirectory) createLauncherTempDirectory();
    ExtractionTarget target = prepareTarget(createDirectory);

    UniqueHandle file = openOwnExecutable();
    auto executable = std::make_unique<HandleSource>(file.get());
    executable->seek(configBlock().includedDataOffset);

    int handled = 0;
    for (const std::string& name : splitSkippingEmpty(configStringCopy(2003), ';')) {
        if (handled >= count) break;
        if (!isSafeIncludedName(name)) refuse("refused included file name", name);
        // Only the first folder level is created; a deeper name then cannot be created.
        std::string folder = firstFolderOf(name);
        if (!folder.empty()) createFolder(target, folder);
        int result = extractIncludedFile(*executable, target, name);
        if (result != 0) {
            logError("Failed to extract %s", (target.directory + "\\" + name).c_str());
            return result;
        }
        ++handled;
    }
    // Reads stop at kPositionLimit, so the position fits.
    extractedEnd = static_cast<uint32_t>(executable->position());
    logMessage("extracting files done");
    return 0;
}
