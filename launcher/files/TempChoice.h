#pragma once
// The order in which the temporary directory is chosen. Api answers the questions on the way
// (the system's temporary path, its long and short forms, whether a candidate is writable): the
// system calls in files/win/TempDir.cpp, a fake in the unit tests. Api::Text is std::string or
// std::wstring.
#include <optional>

#include "log/Log.h"

// Nothing when no candidate is usable.
template <typename Api>
std::optional<typename Api::Text> chooseTempDirectory(Api& api) {
    using Text = typename Api::Text;
    Text path = api.tempPath();
    bool fromHome = path.empty();
    if (fromHome) {
        path = api.environment("HOMEDRIVE") + api.environment("HOMEPATH");
        if (path.size() > Api::kCapacity - 1) path.resize(Api::kCapacity - 1);
        api.logHome(path);
    } else {
        logMessage("make dir returned %d", api.createDirectory(path) ? 0 : -1);
    }

    // A '?' in the long form means the ANSI code page cannot spell the path.
    if (api.longPath(path).find(typename Text::value_type('?')) == Text::npos) return path;

    // The user's own folder by its short name keeps the launcher's files out of the shared
    // folders below, where other users can create files first.
    Text shortForm = api.usableShortForm(fromHome);
    if (!shortForm.empty()) {
        logMessage("temporary path taken in its short form");
        return shortForm;
    }
    logMessage("temporary path has no usable short form; trying the shared folders");

    Text windows = api.windowsDirectory();
    for (const Text& candidate : {windows + api.literal("\\temp"), api.literal("c:\\temp"),
                                  api.literal("c:\\tmp"), windows}) {
        if (api.isWritable(candidate)) return candidate;
    }
    if (api.isWritable(api.literal("c:\\"))) {
        Text tmp = api.literal("c:\\tmp");
        api.createDirectory(tmp);
        if (api.isWritable(tmp)) return tmp;
    }
    return std::nullopt;
}
