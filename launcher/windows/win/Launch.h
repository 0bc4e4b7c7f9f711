#pragma once
// The launch step: the launcher's system properties, the option list, the VM, the Java-side
// launcher's main and, when asked, the wait for the application's last thread.
#include "startup/CommandLine.h"

// False when the VM could not be created or main ended with an exception (the caller shows
// message 1005); the failures that have messages of their own end the launch here.
bool launchApplication(const ArgumentVector& arguments, bool destroyVmAfterMain);
