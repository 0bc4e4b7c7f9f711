#pragma once
// Texts the runtime step composes from paths: executable names, the version-cache key, command
// lines, packed-jar names, PATH values and the first line of a location file.
#include <cstddef>
#include <string>
#include <vector>

// 9 when the path ends with "javaw.exe" (ASCII case ignored), otherwise 8 (the length of "java.exe").
size_t javaExeNameLength(const std::string& javaExecutable);

// The executable's directory without its trailing backslash ("c:\j\bin\java.exe" -> "c:\j\bin"),
// cut to 1999 characters. Empty when the path is shorter than the name length.
std::string binDirectoryOf(const std::string& javaExecutable);

// "...\java.exe" -> "...\javaw.exe": the last four characters replaced by "w.exe".
std::string javawPathFor(const std::string& javaExecutable);

// The java executable in the jre\bin directory beside the executable's bin directory:
// "c:\jdk\bin\java.exe" -> "c:\jdk\bin\..\jre\bin\java.exe".
std::string jreSiblingJavaExe(const std::string& javaExecutable);

// "SOFTWARE\quorvian\tarvo\jvms\" followed by the path with every '\' turned into '/'.
std::string versionCacheKey(const std::string& javaExecutable);

// A located-runtime key name ('/' for '\') back to the executable path.
std::string locatedNameToPath(const std::string& name);

// The program part of a command line: the short form when there is one, else the long path;
// quoted when it holds a blank, so "C:\Program Files\x\java.exe" can never start C:\Program.exe.
std::string quotedProgram(const std::string& shortPath, const std::string& longPath);

// The "-version" command line of a java executable.
std::string versionQueryCommandLine(const std::string& shortPath, const std::string& longPath);

// The unpack tool's command line: its own (quoted) path, then -r and both paths in quotes.
std::string unpackCommandLine(const std::string& toolPath, const std::string& packedPath, const std::string& jarPath);

// True when a file name really ends in ".jar.pack" (ASCII case ignored): a wildcard search also
// matches longer names through their short 8.3 forms.
bool isPackedJarName(const std::string& fileName);
// "rt.jar.pack" -> "rt.jar" (the last five characters removed).
std::string jarNameForPacked(const std::string& packedName);

// PATH after a runtime's bin directory is added: the previous value, ';', the directory, cut to
// capacity - 1 bytes.
std::string appendToSearchPath(const std::string& previous, const std::string& directory, size_t capacity);

// The version-named registry subkeys that versionInRange accepts, ascending in byte order.
std::vector<std::string> sortedVersionNames(const std::vector<std::string>& names, const std::string& minimum,
                                            const std::string& maximum);

// The first line of a location file's bytes, without trailing carriage returns and line feeds.
enum class LocationLine { ok, empty, tooLong, binary, missing };
// At most maxLength characters (a longer first line is refused, never cut into another path);
// a NUL byte in the line means the file is not text. No bytes at all is missing.
LocationLine firstLocationLine(const std::string& content, size_t maxLength, std::string& line);
