// Feeds arbitrary bytes to the texts the runtime search reads from outside: the start of
// "java -version" output, a location file's contents and the configured search sequence.
#include <cstddef>
#include <cstdint>
#include <string>

#include "HostLog.h"
#include "runtime/RuntimePaths.h"
#include "runtime/SearchSequence.h"
#include "runtime/VersionRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    clearCapturedLog();
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::string version;
    if (parseVersionLine(text, version)) {
        if (version.size() + 2 > text.size()) __builtin_trap();
        versionAllowed(version, "1.7", "1.8", false, false);
        versionInRange(version, "1.7", "1.8");
    }
    std::string fromOutput;
    if (parseVersionOutput(text, fromOutput) && fromOutput.size() > 99) __builtin_trap();

    std::string line;
    if (firstLocationLine(text, 260, line) == LocationLine::ok) {
        if (line.empty() || line.size() > 260 || line.find('\n') != std::string::npos) __builtin_trap();
        binDirectoryOf(line);
        jreSiblingJavaExe(line);
    } else if (!line.empty()) {
        __builtin_trap();
    }

    for (const SearchEntry& entry : parseSearchSequence(text)) {
        if (entry.type == ';' || entry.text.find(';') != std::string::npos) __builtin_trap();
        triedInFallback(entry);
    }
    return 0;
}
