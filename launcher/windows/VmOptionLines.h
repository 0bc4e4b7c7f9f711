#pragma once
// VM option lines: the lines of a VM options file, the configured VM options and the "-J"
// arguments all go through the same handling, so all three accept the same directives.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The VM's option texts in order, narrow in the file-API code page.
using VmOptionList = std::vector<std::string>;

// The class-path directives. Each directive overwrites its field, so across all sources and files
// the last directive of each kind wins. A field that is set may hold empty text.
struct ClassPathOverrides {
    std::optional<std::string> replace;
    std::optional<std::string> prepend;
    std::optional<std::string> append;
};

// A file line is read into 6000 bytes: it may hold this many bytes before its line feed.
constexpr size_t kMaxVmOptionsLineLength = 5999;

enum class FileLineStatus { text, tooLong, notText };

// Cuts the bytes of a VM options file into lines at each line feed while they arrive in pieces of
// any size. The file is outside input: a line longer than the limit, or one holding a NUL byte, is
// reported whole by its status and with empty text, so no piece of it can turn into an option or
// a directive of its own.
class VmOptionsLineSplitter {
public:
    using LineHandler = std::function<void(FileLineStatus status, const std::string& line)>;

    explicit VmOptionsLineSplitter(size_t maxLength = kMaxVmOptionsLineLength) : maxLength_(maxLength) {}
    void feed(const char* data, size_t size, const LineHandler& handler);
    // The last line when the file does not end in a line feed.
    void finish(const LineHandler& handler);

private:
    void emit(const LineHandler& handler);
    size_t maxLength_;
    std::string line_;
    FileLineStatus status_ = FileLineStatus::text;
    bool pending_ = false;  // bytes arrived since the last line feed
};

// Removes trailing CR and LF, then leading and trailing blanks (the space only: tabs stay).
// False when the rest is empty or begins with '#': the line is ignored. This runs before
// expansion, so a line that expands to nothing still becomes an (empty) option.
bool trimVmOptionsFileLine(std::string& line);

enum class VmOptionDirective { option, includeOptions, replaceClassPath, prependClassPath, appendClassPath };

struct VmOptionLine {
    VmOptionDirective directive;
    std::wstring value;  // what follows the directive's prefix unchanged, or the whole line for an option
};

// The prefixes "-include-options ", "-classpath ", "-classpath/p " and "-classpath/a " are compared
// exactly, their one trailing blank included; anything else is one option.
VmOptionLine classifyVmOptionLine(const std::wstring& line);

// What handling a line needs from the system: the conversion to the file-API code page and the
// reading of an included file (given the name as written behind the prefix).
struct VmOptionLineActions {
    std::function<std::string(const std::wstring&)> toCodePage;
    std::function<void(const std::wstring& name)> include;
};

void applyVmOptionLine(const std::wstring& line, VmOptionList& options, ClassPathOverrides& overrides,
                       const VmOptionLineActions& actions);
