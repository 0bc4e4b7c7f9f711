#pragma once
// The single entry to the splash screen: a non-zero show command starts it, 0 hides it.
void controlSplash(int showCommand);
