#include "windows/ClassPathText.h"

#include "files/Text.h"

std::vector<ClassPathEntry> parseClassPathEntries(const std::string& configured) {
    std::vector<ClassPathEntry> entries;
    for (const std::string& field : splitSkippingEmpty(configured, ';')) {
        ClassPathEntry entry;
        entry.letter = field[0];
        entry.mandatory = field.size() > 1 && field[1] == '1';
        entry.text = field.size() > 2 ? field.substr(2) : std::string();
        entries.push_back(entry);
    }
    return entries;
}

bool hasArchiveExtension(const std::string& name, const std::string& extension) {
    return endsWithIgnoringAsciiCase(widenBytes(name), widenBytes("." + extension));
}

std::string childPath(const std::string& directory, const std::string& name) {
    bool hasSeparator = directory.empty() || directory.back() == '\\';
    return directory + (hasSeparator ? "" : "\\") + name;
}

std::string environmentEntryText(const std::string& value) {
    size_t begin = !value.empty() && value.front() == '"' ? 1 : 0;
    size_t end = value.size() > begin && value.back() == '"' ? value.size() - 1 : value.size();
    std::string text = value.substr(begin, end - begin);
    if (!text.empty() && text.back() != ';') text += ';';
    return text;
}

std::string composeClassPathOption(const ClassPathOverrides& overrides, const ClassPathSteps& steps) {
    std::string value;
    if (overrides.prepend && !overrides.prepend->empty()) {
        value += *overrides.prepend;
        if (value.back() != ';') value += ';';
    }
    if (steps.temporaryArchives) steps.temporaryArchives(value);
    if (steps.runtimeJar) steps.runtimeJar(value);
    if (overrides.replace) {
        value += *overrides.replace;
    } else if (steps.configuredEntries) {
        steps.configuredEntries(value);
    }
    if (overrides.append && !overrides.append->empty()) {
        if (!value.empty() && value.back() != ';') value += ';';
        value += *overrides.append;
    }
    if (!value.empty() && value.back() == ';') value.pop_back();
    return "-Djava.class.path=" + value;
}
