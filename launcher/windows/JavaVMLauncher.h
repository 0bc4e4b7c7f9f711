#pragma once
// The JNI side of the launch: creating the VM from a plain option list, handing the splash layout
// to the Java side, calling the Java-side launcher's main, attaching other threads and destroying
// the VM. Written against jni.h alone, so the same code runs against a real VM on the host.
#include <jni.h>

#include <string>
#include <vector>

using CreateJavaVmEntry = jint(JNICALL*)(JavaVM**, void**, void*);
// Called by the VM before it ends the process on a fatal error, also during its creation.
using VmAbortHook = void(JNICALL*)();

// The initialisation record for a list of option texts; it owns the texts it points to. With an
// abort hook, one more option, "abort", hands the hook to the VM.
class VmInitRecord {
public:
    explicit VmInitRecord(const std::vector<std::string>& options, VmAbortHook abortHook = nullptr);
    VmInitRecord(const VmInitRecord&) = delete;
    VmInitRecord& operator=(const VmInitRecord&) = delete;
    JavaVMInitArgs* args() { return &args_; }

private:
    std::vector<std::string> texts_;
    std::vector<JavaVMOption> options_;
    JavaVMInitArgs args_;
};

// Creates the process's one VM; keeps the record alive for the VM's lifetime. True on JNI_OK, after
// which the VM handle is published and vmCreated() is true. A VM that cannot start (a heap it cannot
// reserve) may end the process inside the creation call: the abort hook is the launcher's last word.
bool createJavaVm(CreateJavaVmEntry entry, const std::vector<std::string>& options, VmAbortHook abortHook = nullptr);
bool vmCreated();
JNIEnv* mainThreadEnvironment();

// For threads other than the main one: attached as daemon threads, so they never keep the VM up.
JNIEnv* attachToVm();
void detachFromVm();

// Waits for the last non-daemon Java thread; the handle and vmCreated stay as they are.
void destroyJavaVm();

// The layout that the runtime's own splash screen draws; texts are handed over as modified UTF-8.
struct SplashLayout {
    bool flag;  // configuration key 163
    std::string statusText;
    int statusX, statusY;
    std::string statusColour;
    int statusFontSize, statusFontWeight;
    std::string versionText;
    int versionX, versionY;
    std::string versionColour;
    int versionFontSize, versionFontWeight;
};
void passSplashLayout(JNIEnv* env, const SplashLayout& layout);

// What the Java-side launcher's main is called with.
struct LauncherCall {
    std::string launcherClass;                 // dotted or slashed
    std::vector<std::u16string> parameters;    // launcher parameters, program path, arguments
    std::vector<std::string> loggedParameters; // the same for the log, in the file-API code page
    bool checkFirstRun = false;                // the first-run marker exists (quillmote flavour)
};

enum class MainOutcome {
    returned,            // main ran and returned normally
    stoppedByFirstRun,   // the first-run check ended the launch; main was not called
    threw,               // main ended with an exception (printed already)
    launcherClassMissing,
    mainMethodMissing,
    firstRunClassMissing,
    firstRunMethodMissing,
    parameterArrayFailed,
    parameterStringFailed,
};
MainOutcome invokeLauncherMain(JNIEnv* env, const LauncherCall& call);

// Class names with '.' turned into '/', as FindClass wants them.
std::string slashedClassName(const std::string& name);
