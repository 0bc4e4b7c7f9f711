#pragma once
// Gathering every VM option into one ordered list: the launcher's system properties, the
// configured options (key 123), "-J" arguments (key 125), the locale argument, the VM options
// file and, last, the class path.
#include <string>
#include <vector>

#include "startup/CommandLine.h"
#include "windows/VmOptionLines.h"

// The configured options, the "-J" arguments and the locale argument with its language and
// country, each through addVmOptionLine.
void addConfiguredVmOptions(const ArgumentVector& arguments, VmOptionList& options, ClassPathOverrides& overrides);

// The VM's option texts in order (system properties first, class path last), logged as
// "vmoption count %d" and "vmoption %d: %s". Ends the launch with 1006/1008 itself.
std::vector<std::string> assembleVmOptions(const std::vector<std::string>& systemProperties,
                                           const ArgumentVector& arguments);
