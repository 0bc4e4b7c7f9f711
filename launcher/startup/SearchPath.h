#pragma once
// Composing the PATH value that puts the application's native-library directories first.
#include <string>

// PATH values are held in 48000 bytes.
constexpr size_t kSearchPathCapacity = 48000;

// The ';'-joined directories, ended with ';' when not empty, then the inherited value (none when
// PATH is unset); cut to capacity - 1 bytes.
std::string composeSearchPath(const std::string& directories, const std::string* inherited,
                              size_t capacity = kSearchPathCapacity);
