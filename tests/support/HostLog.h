#pragma once
// Host stand-in for the launcher's log: every line goes to memory so tests can read it.
#include <string>
#include <vector>

std::vector<std::string>& capturedLogLines();
void clearCapturedLog();
// True when some captured line contains the fragment.
bool logContains(const std::string& fragment);
