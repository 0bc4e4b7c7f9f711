#pragma once
// Version texts of Java runtimes are compared as bytes, never parsed as numbers: "1.8" as a
// minimum admits "1.8.0_45" and "11.0.2" alike, and "1.10" sorts below "1.7".
#include <string>

// "beta", "ea" or "rc" anywhere in the text (case-sensitive).
bool isBetaVersion(const std::string& version);

// Both bounds are inclusive prefixes compared over the bound's own length; a version that ends
// earlier compares lower at its end. An empty bound accepts everything. A beta version is refused
// (logging "beta vm not allowed") unless allowBeta or betaAlwaysAllowed (configuration key 130).
bool versionAllowed(const std::string& version, const std::string& minimum, const std::string& maximum,
                    bool allowBeta, bool betaAlwaysAllowed);

// Registry key names: compared over the shorter of the two lengths, so "1" lies within
// "1.7".."1.8" and a bound that is a prefix of the version passes too. No beta filter.
bool versionInRange(const std::string& version, const std::string& minimum, const std::string& maximum);

// Plain unsigned byte order; a prefix sorts before the longer text. Negative, zero or positive.
int compareVersionText(const std::string& a, const std::string& b);

// The version in the first line of "java -version" output, as read in text mode (line feed
// included when the line had one). The line must begin with java version "  or  openjdk version "
// (with the double quote); the version is the rest of the line less its line feed and one more
// character (the closing quote), so a date after the quote stays in the text. A line that ends
// before any version character, or has another beginning, gives false.
bool parseVersionLine(const std::string& line, std::string& version);

// The version in "java -version" output as read in text mode: the first of its first 20 lines that
// parseVersionLine accepts, each line looked at over at most 99 characters. Runtimes may print
// notices before the version line ("Picked up JAVA_TOOL_OPTIONS: ...", VM warnings).
bool parseVersionOutput(const std::string& output, std::string& version);
