#pragma once
// VM options files name further files to read ("-include-options"). The files are outside input,
// so a file that is already being read is not read again (that would never end), and both the
// nesting and the number of files read are bounded, so no set of files can make the option list
// grow without end.
#include <cstddef>
#include <string>
#include <vector>

enum class IncludeDecision { read, alreadyReading, tooDeep, tooMany };

class IncludeStack {
public:
    static constexpr size_t kMaxDepth = 16;
    static constexpr size_t kMaxFiles = 256;

    explicit IncludeStack(size_t maxDepth = kMaxDepth, size_t maxFiles = kMaxFiles)
        : maxDepth_(maxDepth), maxFiles_(maxFiles) {}

    // identity names the file (the same file must give the same text whatever name it was opened
    // by). On read the file is on the stack until the matching leave().
    IncludeDecision enter(const std::wstring& identity);
    void leave();
    size_t depth() const { return open_.size(); }

private:
    size_t maxDepth_;
    size_t maxFiles_;
    size_t filesRead_ = 0;
    std::vector<std::wstring> open_;
};
