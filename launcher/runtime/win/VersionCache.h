#pragma once
// The per-user cache of runtime versions, so that a runtime runs with "-version" only once per
// change of its executable. Entries are never deleted.
#include <cstdint>
#include <string>

// The version stored for this executable, when the stored last-write time equals lastWriteTime.
bool readCachedVersion(const std::string& javaExecutable, uint64_t lastWriteTime, std::string& version);
// Creates or overwrites the entry; failures are silent (the runtime just runs again next time).
void storeCachedVersion(const std::string& javaExecutable, uint64_t lastWriteTime, const std::string& version);
