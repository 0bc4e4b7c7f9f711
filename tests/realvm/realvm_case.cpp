// Runs the launcher's JNI launch code against a real libjvm.so: creates the VM, calls the Java-side
// launcher's main with the given parameters, optionally delivers a start-up notification from a
// second, attached thread, then destroys the VM. One VM per process, so one case per run.
//
//   realvm_case --libjvm PATH --record FILE [--option TEXT]... [--launcher-class NAME]
//               [--check-first-run true] [--startup TEXT] -- PARAMETER...
//
// Parameters and the start-up text arrive as UTF-8 and are handed to Java as UTF-16. Progress
// lines ("harness: ...") are appended to the record file, which the test application writes too,
// so their order against the application's own lines is visible. Exit code: 0 when main returned,
// 10 + the outcome's number for any other outcome, 1 for bad usage, 2 when the VM could not start.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "HostLog.h"
#include "windows/JavaVMLauncher.h"

namespace {

struct Arguments {
    std::string libjvm;
    std::string record;
    std::vector<std::string> options;
    std::string launcherClass = "com.quillmote.runtime.launcher.WinLauncher";
    bool checkFirstRun = false;
    bool deliverStartup = false;
    std::string startupText;
    std::vector<std::string> parameters;
};

const char* outcomeName(MainOutcome outcome) {
    switch (outcome) {
        case MainOutcome::returned: return "returned";
        case MainOutcome::stoppedByFirstRun: return "stoppedByFirstRun";
        case MainOutcome::threw: return "threw";
        case MainOutcome::launcherClassMissing: return "launcherClassMissing";
        case MainOutcome::mainMethodMissing: return "mainMethodMissing";
        case MainOutcome::firstRunClassMissing: return "firstRunClassMissing";
        case MainOutcome::firstRunMethodMissing: return "firstRunMethodMissing";
        case MainOutcome::parameterArrayFailed: return "parameterArrayFailed";
        case MainOutcome::parameterStringFailed: return "parameterStringFailed";
    }
    return "unknown";
}

// Strict UTF-8 decoding; false for anything malformed, so a bad test input is never half-passed.
bool utf16FromUtf8(const std::string& text, std::u16string& out) {
    out.clear();
    for (size_t i = 0; i < text.size();) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next >> 6) != 0x2) return false;
            code = (code << 6) | (next & 0x3F);
        }
        static const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return true;
}

bool parseArguments(int argc, char** argv, Arguments& parsed) {
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; i += 2) {
        if (i + 1 >= argc) return false;
        std::string name = argv[i], value = argv[i + 1];
        if (name == "--libjvm") parsed.libjvm = value;
        else if (name == "--record") parsed.record = value;
        else if (name == "--option") parsed.options.push_back(value);
        else if (name == "--launcher-class") parsed.launcherClass = value;
        else if (name == "--check-first-run") parsed.checkFirstRun = value == "true";
        else if (name == "--startup") parsed.deliverStartup = true, parsed.startupText = value;
        else return false;
    }
    if (i >= argc || parsed.libjvm.empty() || parsed.record.empty()) return false;
    parsed.parameters.assign(argv + i + 1, argv + argc);
    return true;
}

void appendRecord(const std::string& record, const std::string& line) {
    if (FILE* file = std::fopen(record.c_str(), "a")) {
        std::fprintf(file, "harness: %s\n", line.c_str());
        std::fclose(file);
    }
}

// What the launcher's listener thread does with a forwarded start: attach as a daemon, look the
// controller up from a thread without Java frames, call it, detach.
std::string deliverStartup(const std::u16string& text) {
    JNIEnv* env = attachToVm();
    if (!env) return "attach failed";
    std::string result = "startup delivered";
    jclass controller = env->FindClass("com/tarvo/Controller");
    jmethodID method = controller ? env->GetStaticMethodID(controller, "startupPerformed", "(Ljava/lang/String;)V") : nullptr;
    if (!method) {
        result = "controller missing";
    } else {
        jstring value = env->NewString(reinterpret_cast<const jchar*>(text.data()), static_cast<jsize>(text.size()));
        env->CallStaticVoidMethod(controller, method, value);
        if (env->ExceptionCheck()) result = "startupPerformed threw";
    }
    if (env->ExceptionCheck()) env->ExceptionDescribe();  // prints and clears
    detachFromVm();
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    LauncherCall call;
    std::u16string startupText;
    if (!parseArguments(argc, argv, arguments) || !utf16FromUtf8(arguments.startupText, startupText)) {
        std::fprintf(stderr, "usage: realvm_case --libjvm PATH --record FILE [--option TEXT]... "
                             "[--launcher-class NAME] [--check-first-run true] [--startup TEXT] "
                             "-- PARAMETER...  (UTF-8)\n");
        return 1;
    }
    call.launcherClass = arguments.launcherClass;
    call.checkFirstRun = arguments.checkFirstRun;
    for (const std::string& parameter : arguments.parameters) {
        std::u16string wide;
        if (!utf16FromUtf8(parameter, wide)) {
            std::fprintf(stderr, "parameter is not UTF-8: %s\n", parameter.c_str());
            return 1;
        }
        call.parameters.push_back(wide);
        call.loggedParameters.push_back(parameter);
    }

    // Never unloaded: the VM's threads may outlive main's return until exit.
    void* library = dlopen(arguments.libjvm.c_str(), RTLD_NOW | RTLD_GLOBAL);
    void* entry = library ? dlsym(library, "JNI_CreateJavaVM") : nullptr;
    if (!entry) {
        std::fprintf(stderr, "cannot load JNI_CreateJavaVM: %s\n", dlerror());
        return 2;
    }
    std::vector<std::string> options = arguments.options;
    options.push_back("-Drealvm.out=" + arguments.record);
    if (!createJavaVm(reinterpret_cast<CreateJavaVmEntry>(entry), options)) {
        std::fprintf(stderr, "createJavaVm failed\n");
        return 2;
    }

    MainOutcome outcome = invokeLauncherMain(mainThreadEnvironment(), call);
    appendRecord(arguments.record, std::string("outcome ") + outcomeName(outcome));
    std::printf("outcome: %s\n", outcomeName(outcome));
    std::fflush(stdout);

    if (arguments.deliverStartup) {
        std::string result;
        std::thread listener([&] { result = deliverStartup(startupText); });
        listener.join();
        appendRecord(arguments.record, result);
    }
    destroyJavaVm();
    appendRecord(arguments.record, "vm destroyed");
    // The launcher's own log, for reading a failed case.
    for (const std::string& line : capturedLogLines()) std::fprintf(stderr, "log: %s\n", line.c_str());
    return outcome == MainOutcome::returned ? 0 : 10 + static_cast<int>(outcome);
}
