#pragma once
// Handles that close themselves. Every kernel handle, find handle and module the launcher opens
// is held in one of these, so no early return can leak it.
#include <windows.h>

template <typename Traits>
class UniqueResource {
public:
    using Value = typename Traits::Value;
    UniqueResource() = default;
    explicit UniqueResource(Value value) : value_(value) {}
    ~UniqueResource() { reset(); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    bool valid() const { return Traits::valid(value_); }
    explicit operator bool() const { return valid(); }
    Value get() const { return value_; }
    Value release() {
        Value value = value_;
        value_ = Traits::invalid();
        return value;
    }
    void reset(Value value = Traits::invalid()) {
        if (Traits::valid(value_)) Traits::close(value_);
        value_ = value;
    }

private:
    Value value_ = Traits::invalid();
};

struct FileHandleTraits {  // CreateFile and friends: INVALID_HANDLE_VALUE, sometimes NULL
    using Value = HANDLE;
    static Value invalid() { return INVALID_HANDLE_VALUE; }
    static bool valid(Value v) { return v != INVALID_HANDLE_VALUE && v != nullptr; }
    static void close(Value v) { CloseHandle(v); }
};

struct FindHandleTraits {
    using Value = HANDLE;
    static Value invalid() { return INVALID_HANDLE_VALUE; }
    static bool valid(Value v) { return v != INVALID_HANDLE_VALUE && v != nullptr; }
    static void close(Value v) { FindClose(v); }
};

struct LibraryTraits {
    using Value = HMODULE;
    static Value invalid() { return nullptr; }
    static bool valid(Value v) { return v != nullptr; }
    static void close(Value v) { FreeLibrary(v); }
};

using UniqueHandle = UniqueResource<FileHandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueLibrary = UniqueResource<LibraryTraits>;

struct RegistryKeyTraits {
    using Value = HKEY;
    static Value invalid() { return nullptr; }
    static bool valid(Value v) { return v != nullptr; }
    static void close(Value v) { RegCloseKey(v); }
};

using UniqueRegistryKey = UniqueResource<RegistryKeyTraits>;
