#pragma once
// The process's PATH, read whole and written to both copies of the environment.
#include <string>

// False when PATH is not set.
bool readProcessPath(std::string& value);

// Sets PATH for the process and for the C runtime's own copy of the environment; logs
// "Setting <label> <value>", or the failure with the system error.
void setProcessPath(const std::string& value, const char* label);
