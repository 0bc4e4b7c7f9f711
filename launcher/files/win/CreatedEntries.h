#pragma once
// What this start created in the temporary folder, each entry with its file identity, so that a
// failed launch removes exactly that: never what a link, or an entry swapped in, stands for.
#include <windows.h>

#include <string>

// Records the entry the handle is open on, just created at path; false when its identity
// cannot be read.
bool rememberCreated(const std::string& path, HANDLE entry);

// The path the system resolves an open entry to (links followed), or empty text.
std::string finalPathOf(HANDLE entry);

// Opens an entry for reading its identity and final path, without following a last-component link.
HANDLE openEntry(const std::string& path, DWORD access);

// Marks an open entry for deletion (it goes when its last handle closes).
bool deleteOpenEntry(HANDLE entry);

// Removes the recorded entries that make up the launcher directory (see isPartOfLauncherDirectory),
// newest first, each only while its path still leads to the very entry created. Before a recorded
// directory goes, the links in it go as links (never what they point to); anything else in it
// stays, and so does the directory.
void removeCreatedEntries(const std::string& launcherDirectory);
