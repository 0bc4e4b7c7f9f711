#include "splash/win/Splash.h"

// No splash window exists yet, so there is nothing to show or hide.
void controlSplash(int showCommand) { (void)showCommand; }
