#include "files/PathText.h"

template <typename Char>
static bool isRelativeImpl(const std::basic_string<Char>& path) {
    if (path.size() < 3) return true;
    size_t start = 0;
    if (path[0] == Char('"')) {
        if (path.size() < 4) return true;
        start = 1;
    }
    if (path[start + 1] == Char(':') && path[start + 2] == Char('\\')) return false;
    return !(path[start] == Char('\\') && path[start + 1] == Char('\\'));
}

bool isRelativePath(const std::string& path) { return isRelativeImpl(path); }
bool isRelativePath(const std::wstring& path) { return isRelativeImpl(path); }

template <typename Char>
static void collapseImpl(std::basic_string<Char>& text) {
    std::basic_string<Char> out;
    out.reserve(text.size());
    size_t i = 0;
    if (!text.empty() && text[0] == Char('\\')) {
        size_t run = 0;
        while (run < text.size() && text[run] == Char('\\')) ++run;
        out.append(run >= 2 ? 2 : 1, Char('\\'));
        i = run;
    }
    // A backslash at i == 0 was taken by the leading run above, so text[i - 1] is always valid.
    for (; i < text.size(); ++i) {
        if (text[i] == Char('\\') && text[i - 1] == Char('\\')) continue;
        out.push_back(text[i]);
    }
    text.swap(out);
}

void collapseBackslashes(std::string& text) { collapseImpl(text); }
void collapseBackslashes(std::wstring& text) { collapseImpl(text); }

template <typename Char>
static std::basic_string<Char> directoryImpl(const std::basic_string<Char>& path) {
    size_t slash = path.find_last_of(Char('\\'));
    return slash == std::basic_string<Char>::npos ? std::basic_string<Char>() : path.substr(0, slash + 1);
}

std::string directoryOf(const std::string& path) { return directoryImpl(path); }
std::wstring directoryOf(const std::wstring& path) { return directoryImpl(path); }

template <typename Char>
static std::basic_string<Char> resolveImpl(const std::basic_string<Char>& directory,
                                           const std::basic_string<Char>& path) {
    std::basic_string<Char> out = isRelativePath(path) ? directory + path : path;
    collapseBackslashes(out);
    return out;
}

std::string resolveAgainst(const std::string& directory, const std::string& path) {
    return resolveImpl(directory, path);
}
std::wstring resolveAgainst(const std::wstring& directory, const std::wstring& path) {
    return resolveImpl(directory, path);
}

template <typename Char>
static bool isDriveRootImpl(const std::basic_string<Char>& path) {
    if (path.size() < 2) return false;
    std::basic_string<Char> rest = path.substr(1);
    static const Char root1[] = {':', '\\', 0};
    static const Char root2[] = {':', '\\', '.', 0};
    static const Char root3[] = {':', '\\', '.', '\\', '.', 0};
    return rest == root1 || rest == root2 || rest == root3;
}

bool isDriveRoot(const std::string& path) { return isDriveRootImpl(path); }
bool isDriveRoot(const std::wstring& path) { return isDriveRootImpl(path); }
