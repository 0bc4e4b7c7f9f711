// Feeds arbitrary bytes to the handling of VM options lines: a file's bytes cut into lines (in
// pieces of a size the input picks), trimmed and turned into options and directives, and the same
// bytes taken as the configured option text that is split and joined like a command line. The
// first byte picks the piece size and the line limit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "HostLog.h"
#include "files/Text.h"
#include "startup/CommandLine.h"
#include "windows/ConfiguredVmOptions.h"
#include "windows/VmOptionLines.h"

static std::string narrowed(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 0x100 ? static_cast<char>(c) : '?');
    return out;
}

static void handleLine(const std::wstring& line, VmOptionList& options, ClassPathOverrides& overrides) {
    size_t before = options.size();
    bool included = false;
    VmOptionLineActions actions;
    actions.toCodePage = narrowed;
    actions.include = [&](const std::wstring& name) {
        if (line.compare(0, 17, L"-include-options ") != 0 || line.substr(17) != name) __builtin_trap();
        included = true;
    };
    applyVmOptionLine(line, options, overrides, actions);
    bool isDirective = included || line.compare(0, 11, L"-classpath ") == 0 ||
                       line.compare(0, 13, L"-classpath/p ") == 0 || line.compare(0, 13, L"-classpath/a ") == 0;
    if (options.size() != before + (isDirective ? 0 : 1)) __builtin_trap();
    if (!isDirective && options.back() != narrowed(line)) __builtin_trap();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    clearCapturedLog();
    if (size == 0) return 0;
    const size_t pieceSize = 1 + data[0] % 64;
    const size_t maxLength = 1 + data[0] % 97;  // small limits reach the over-long path quickly
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    VmOptionList options;
    ClassPathOverrides overrides;
    size_t lineFeeds = 0;
    for (char c : bytes) lineFeeds += c == '\n';
    size_t lines = 0;
    VmOptionsLineSplitter splitter(maxLength);
    auto onLine = [&](FileLineStatus status, const std::string& raw) {
        ++lines;
        if (raw.size() > maxLength || raw.find('\n') != std::string::npos) __builtin_trap();
        if (status != FileLineStatus::text) {
            if (!raw.empty()) __builtin_trap();
            return;
        }
        if (raw.find('\0') != std::string::npos) __builtin_trap();
        std::string text = raw;
        if (!trimVmOptionsFileLine(text)) return;
        if (text[0] == ' ' || text[0] == '#' || text.back() == ' ') __builtin_trap();
        handleLine(widenBytes(text), options, overrides);
    };
    for (size_t at = 0; at < bytes.size(); at += pieceSize)
        splitter.feed(bytes.data() + at, std::min(pieceSize, bytes.size() - at), onLine);
    splitter.finish(onLine);
    // One line per line feed, and one more for bytes behind the last one.
    bool tail = !bytes.empty() && bytes.back() != '\n';
    if (lines != lineFeeds + (tail ? 1 : 0)) __builtin_trap();

    // The same bytes as the configured option text.
    std::wstring configured = widenBytes(bytes.substr(0, bytes.find('\0')));
    ArgumentVector pieces;
    splitCommandLine(configured.c_str(), pieces);
    std::vector<std::wstring> joined = joinIncludePieces(pieces);
    if (joined.size() > pieces.size()) __builtin_trap();
    for (const std::wstring& line : joined) handleLine(line, options, overrides);
    return 0;
}
