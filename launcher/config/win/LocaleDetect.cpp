#include "config/win/LocaleDetect.h"

#include <windows.h>

#include "files/Text.h"
#include "log/Log.h"

void detectLocale(const ArgumentVector* arguments, char* localeName, size_t capacity) {
    (void)arguments;
    copyBounded(localeName, capacity, "en");
    logMessage("language/country is %s", localeName);
}
