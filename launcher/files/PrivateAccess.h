#pragma once
// Who may use the directories the launcher makes for itself.
#include <string>

// The access list of such a directory as SDDL: protected (nothing is inherited from a parent that
// others may use), full access for the given user SID, SYSTEM and Administrators only, passed on
// to every file and folder created below it.
std::wstring privateDirectorySddl(const std::wstring& userSid);
