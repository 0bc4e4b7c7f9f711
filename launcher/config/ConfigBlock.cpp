#include "config/ConfigBlock.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "files/Text.h"
#include "log/Log.h"

ConfigBlock& configBlock() {
    static ConfigBlock block;
    return block;
}

// Offsets are computed wide, so a damaged header cannot wrap around to a plausible position: a
// negative one or one past the limit leaves the source where every read fails.
static void seekTo(ByteSource& source, int64_t offset) {
    source.seek(offset < 0 ? UINT64_MAX : static_cast<uint64_t>(offset));
}

bool seekConfigBlock(BlockReader& reader) {
    ByteSource& source = reader.source();
    int32_t peHeader = 0, rawDataSize = 0, rawDataOffset = 0;
    int16_t sections = 0, optionalHeaderSize = 0;

    source.seek(60);
    if (!reader.readInt(peHeader)) return false;
    seekTo(source, int64_t{peHeader} + 6);
    if (!reader.readShort(sections)) return false;
    logMessage("number of sections: %d", sections);
    seekTo(source, int64_t{peHeader} + 20);
    if (!reader.readShort(optionalHeaderSize)) return false;
    logMessage("size of optional headers: %d", optionalHeaderSize);

    // Same as H + 24 + SizeOfOptionalHeader + 40 * (NumberOfSections - 1).
    int64_t lastSection = int64_t{peHeader} + optionalHeaderSize + 40 * int64_t{sections} - 16;
    logMessage("resSectionTableStart: %d", static_cast<int32_t>(lastSection));
    seekTo(source, lastSection + 16);
    if (!reader.readInt(rawDataSize) || !reader.readInt(rawDataOffset)) return false;
    logMessage("rawDataSize: %d, rawDataOffset: %d", rawDataSize, rawDataOffset);
    // Both are unsigned in the PE format; a negative one (2 GiB or more) lies past every position.
    if (rawDataSize < 0 || rawDataOffset < 0)
        source.seek(UINT64_MAX);
    else
        seekTo(source, int64_t{rawDataOffset} + rawDataSize);
    return true;
}

bool readConfigEntries(BlockReader& reader, ConfigBlock& block) {
    int32_t magic = 0, headerWord = 0, count = 0;
    int64_t headerValue = 0;
    if (!reader.readInt(magic)) return false;
    if (static_cast<uint32_t>(magic) != kConfigMagic) {
        reader.fail(ReadFailure::Magic);
        return false;
    }
    if (!reader.readInt(headerWord) || !reader.readInt(headerWord) || !reader.readLong(headerValue))
        return false;

    if (!reader.readInt(count)) return false;
    for (int32_t i = 0; i < count; ++i) {
        int32_t id = 0;
        std::string text;
        if (!reader.readInt(id) || !reader.readString(text)) return false;
        block.entries[id] = std::move(text);
    }

    if (!reader.readInt(count)) return false;
    for (int32_t i = 0; i < count; ++i) {
        int32_t id = 0;
        std::wstring text;
        if (!reader.readInt(id) || !reader.readWString(text)) return false;
        block.wideEntries[id] = std::move(text);
    }
    return true;
}

bool readLocaleGroups(BlockReader& reader, ConfigBlock& block, const char* localeName) {
    int32_t groups = 0;
    if (!reader.readInt(groups)) return false;
    for (int32_t g = 0; g < groups; ++g) {
        std::string prefix;
        int32_t count = 0;
        if (!reader.readString(prefix) || !reader.readInt(count)) return false;
        bool applies = std::strncmp(prefix.c_str(), localeName, prefix.size()) == 0;
        // Nothing else shows which localised texts a user gets, so the log says it.
        logMessage("locale group '%s' %s", prefix.c_str(), applies ? "applies" : "skipped");
        for (int32_t i = 0; i < count; ++i) {
            int32_t id = 0;
            std::wstring text;
            if (!reader.readInt(id) || !reader.readWString(text)) return false;
            if (applies) block.wideEntries[id] = std::move(text);
        }
    }
    // Reads stop at kPositionLimit, so the position fits.
    block.includedDataOffset = static_cast<uint32_t>(reader.source().position());
    return true;
}

static const std::string* findEntry(int id) {
    const auto& entries = configBlock().entries;
    auto found = entries.find(id);  // never operator[]: lookups must not insert (other threads read)
    return found == entries.end() ? nullptr : &found->second;
}

int configString(int id, char* buffer, int size) {
    if (size <= 0) return 0;
    const std::string* text = findEntry(id);
    if (!text) {
        buffer[0] = '\0';
        return 0;
    }
    size_t length = text->size();
    if (length > static_cast<size_t>(size - 1))
        logMessage("ERROR: config string %d truncated (%d %d)", id, size, static_cast<int>(length));
    return static_cast<int>(copyBounded(buffer, static_cast<size_t>(size), *text));
}

std::string configStringCopy(int id) {
    const std::string* text = findEntry(id);
    return text ? *text : std::string();
}

int parseConfigInt(const char* text) {
    errno = 0;
    long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int configInt(int id) {
    std::vector<char> buffer(6000);
    configString(id, buffer.data(), static_cast<int>(buffer.size()));
    return parseConfigInt(buffer.data());
}

uint32_t parseConfigColor(const char* text) {
    std::vector<std::string> fields = splitSkippingEmpty(text, ',');
    uint32_t components[3] = {0, 0, 0};  // missing fields count as 0
    for (size_t i = 0; i < 3 && i < fields.size(); ++i)
        components[i] = static_cast<uint32_t>(parseConfigInt(fields[i].c_str())) & 0xFFu;
    return components[0] | (components[1] << 8) | (components[2] << 16);
}

uint32_t configColor(int id) {
    std::vector<char> buffer(6000);
    configString(id, buffer.data(), static_cast<int>(buffer.size()));
    return parseConfigColor(buffer.data());
}

int configWideString(int id, wchar_t* buffer, int size) {
    if (size <= 0) return 0;
    const std::string* text = findEntry(id);
    if (!text) {
        buffer[0] = L'\0';
        return 0;
    }
    if (text->size() > static_cast<size_t>(size - 1))
        logMessage("ERROR: config string %d truncated (%d %d)", id, size, static_cast<int>(text->size()));
    return static_cast<int>(copyBounded(buffer, static_cast<size_t>(size), widenBytes(*text)));
}

std::string configText(int id, size_t capacity) {
    std::vector<char> text(capacity);
    configString(id, text.data(), static_cast<int>(text.size()));
    return text.data();
}

std::wstring configWideText(int id, size_t capacity) {
    std::vector<wchar_t> text(capacity);
    configWideString(id, text.data(), static_cast<int>(text.size()));
    return text.data();
}
