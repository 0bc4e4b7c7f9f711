#include "windows/VmOptionLines.h"

void VmOptionsLineSplitter::feed(const char* data, size_t size, const LineHandler& handler) {
    for (size_t i = 0; i < size; ++i) {
        char c = data[i];
        if (c == '\n') {
            emit(handler);
            continue;
        }
        pending_ = true;
        if (status_ != FileLineStatus::text) continue;  // the rest of a refused line is dropped
        if (c == '\0') {
            status_ = FileLineStatus::notText;
            line_.clear();
        } else if (line_.size() >= maxLength_) {
            status_ = FileLineStatus::tooLong;
            line_.clear();
        } else {
            line_.push_back(c);
        }
    }
}

void VmOptionsLineSplitter::finish(const LineHandler& handler) {
    if (pending_) emit(handler);
}

void VmOptionsLineSplitter::emit(const LineHandler& handler) {
    handler(status_, line_);
    line_.clear();
    status_ = FileLineStatus::text;
    pending_ = false;
}

bool trimVmOptionsFileLine(std::string& line) {
    size_t end = line.size();
    while (end > 0 && (line[end - 1] == '\r' || line[end - 1] == '\n')) --end;
    size_t begin = 0;
    while (begin < end && line[begin] == ' ') ++begin;
    while (end > begin && line[end - 1] == ' ') --end;
    line = line.substr(begin, end - begin);
    return !line.empty() && line[0] != '#';
}

namespace {

struct Prefix {
    const wchar_t* text;
    VmOptionDirective directive;
};

constexpr Prefix prefixes[] = {
    {L"-include-options ", VmOptionDirective::includeOptions},
    {L"-classpath ", VmOptionDirective::replaceClassPath},
    {L"-classpath/p ", VmOptionDirective::prependClassPath},
    {L"-classpath/a ", VmOptionDirective::appendClassPath},
};

}  // namespace

VmOptionLine classifyVmOptionLine(const std::wstring& line) {
    for (const Prefix& prefix : prefixes) {
        const std::wstring text = prefix.text;
        if (line.compare(0, text.size(), text) == 0) return {prefix.directive, line.substr(text.size())};
    }
    return {VmOptionDirective::option, line};
}

void applyVmOptionLine(const std::wstring& line, VmOptionList& options, ClassPathOverrides& overrides,
                       const VmOptionLineActions& actions) {
    VmOptionLine parsed = classifyVmOptionLine(line);
    switch (parsed.directive) {
        case VmOptionDirective::includeOptions: actions.include(parsed.value); break;
        case VmOptionDirective::replaceClassPath: overrides.replace = actions.toCodePage(parsed.value); break;
        case VmOptionDirective::prependClassPath: overrides.prepend = actions.toCodePage(parsed.value); break;
        case VmOptionDirective::appendClassPath: overrides.append = actions.toCodePage(parsed.value); break;
        case VmOptionDirective::option: options.push_back(actions.toCodePage(parsed.value)); break;
    }
}
