#pragma once
// Runtimes shipped with pack200-compressed jars (name.jar.pack): every packed jar whose plain jar is
// missing is unpacked with the runtime's own bin\unpack200.exe before anything reads the runtime.
#include <string>

// Unpacks what lib and lib\ext need; ends the launch with message 1009 "20" when the tool cannot run.
void prepareRuntime(const std::string& home);
void unpackDirectory(const std::string& home, const char* subdirectory, bool& announced);
void unpackPackedJar(const std::string& home, const std::string& packedPath);
