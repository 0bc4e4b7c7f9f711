#include "windows/JavaVMLauncher.h"

#include <atomic>
#include <memory>

#include "log/Log.h"

namespace {

JavaVM* javaVm = nullptr;
JNIEnv* mainEnvironment = nullptr;
std::atomic<bool> vmCreatedFlag{false};
std::unique_ptr<VmInitRecord> initRecord;  // the VM may keep pointers into it

const char kSplashClass[] = "com/tarvo/runtime/WinLauncher";
const char kSplashMethod[] = "initAwtSplashConfig";
const char kSplashSignature[] =
    "(ZZLjava/lang/String;IILjava/lang/String;IILjava/lang/String;IILjava/lang/String;II)V";
const char kFirstRunClass[] = "com/quillmote/runtime/launcher/FirstRun";

// A failed lookup leaves an exception pending; it must not be mistaken for one from main.
void clearPendingException(JNIEnv* env) {
    if (env->ExceptionCheck()) env->ExceptionClear();
}

bool checkFirstRun(JNIEnv* env, MainOutcome& failure) {
    jclass firstRunClass = env->FindClass(kFirstRunClass);
    if (!firstRunClass) {
        failure = MainOutcome::firstRunClassMissing;
        return false;
    }
    jmethodID firstRun = env->GetStaticMethodID(firstRunClass, "firstRun", "()Z");
    if (!firstRun) {
        failure = MainOutcome::firstRunMethodMissing;
        return false;
    }
    jboolean goOn = env->CallStaticBooleanMethod(firstRunClass, firstRun);
    if (env->ExceptionCheck()) {
        env->ExceptionDescribe();
        return false;
    }
    return goOn == JNI_TRUE;
}

}  // namespace

VmInitRecord::VmInitRecord(const std::vector<std::string>& options, VmAbortHook abortHook) : texts_(options) {
    if (abortHook) texts_.push_back("abort");
    options_.reserve(texts_.size());
    for (std::string& text : texts_) options_.push_back(JavaVMOption{&text[0], nullptr});
    if (abortHook) options_.back().extraInfo = reinterpret_cast<void*>(abortHook);
    args_.version = JNI_VERSION_1_2;
    args_.nOptions = static_cast<jint>(options_.size());
    args_.options = options_.empty() ? nullptr : options_.data();
    args_.ignoreUnrecognized = JNI_TRUE;
}

std::string slashedClassName(const std::string& name) {
    std::string slashed = name;
    for (char& c : slashed)
        if (c == '.') c = '/';
    return slashed;
}

bool createJavaVm(CreateJavaVmEntry entry, const std::vector<std::string>& options, VmAbortHook abortHook) {
    if (!entry) return false;
    initRecord.reset(new VmInitRecord(options, abortHook));
    logMessage("Creating JVM");
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    if (entry(&vm, reinterpret_cast<void**>(&env), initRecord->args()) != JNI_OK || !vm || !env) return false;
    javaVm = vm;
    mainEnvironment = env;
    // Other threads read the handle only after they have seen the flag.
    vmCreatedFlag.store(true, std::memory_order_release);
    return true;
}

bool vmCreated() { return vmCreatedFlag.load(std::memory_order_acquire); }

JNIEnv* mainThreadEnvironment() { return mainEnvironment; }

JNIEnv* attachToVm() {
    if (!vmCreated() || !javaVm) return nullptr;
    JNIEnv* env = nullptr;
    if (javaVm->AttachCurrentThreadAsDaemon(reinterpret_cast<void**>(&env), nullptr) != JNI_OK) return nullptr;
    return env;
}

void detachFromVm() {
    if (vmCreated() && javaVm) javaVm->DetachCurrentThread();
}

void destroyJavaVm() {
    if (vmCreated() && javaVm) javaVm->DestroyJavaVM();
}

void passSplashLayout(JNIEnv* env, const SplashLayout& layout) {
    jclass launcherClass = env->FindClass(kSplashClass);
    if (!launcherClass) {
        logError("could not find main class for splash properties");
        clearPendingException(env);
        return;
    }
    jmethodID method = env->GetStaticMethodID(launcherClass, kSplashMethod, kSplashSignature);
    if (!method) {
        logError("could not find method for splash properties");
        clearPendingException(env);
        return;
    }
    jstring statusText = env->NewStringUTF(layout.statusText.c_str());
    jstring statusColour = env->NewStringUTF(layout.statusColour.c_str());
    jstring versionText = env->NewStringUTF(layout.versionText.c_str());
    jstring versionColour = env->NewStringUTF(layout.versionColour.c_str());
    env->CallStaticVoidMethod(launcherClass, method, JNI_TRUE, layout.flag ? JNI_TRUE : JNI_FALSE, statusText,
                              layout.statusX, layout.statusY, statusColour, layout.statusFontSize,
                              layout.statusFontWeight, versionText, layout.versionX, layout.versionY, versionColour,
                              layout.versionFontSize, layout.versionFontWeight);
    // The splash is a nicety: whatever it threw must not fail the launch.
    clearPendingException(env);
    for (jstring text : {statusText, statusColour, versionText, versionColour})
        if (text) env->DeleteLocalRef(text);
}

MainOutcome invokeLauncherMain(JNIEnv* env, const LauncherCall& call) {
    if (call.checkFirstRun) {
        MainOutcome failure = MainOutcome::stoppedByFirstRun;
        if (!checkFirstRun(env, failure)) {
            if (failure == MainOutcome::stoppedByFirstRun) logMessage("checkFirstRun stopped further execution");
            return failure;
        }
    }
    std::string className = slashedClassName(call.launcherClass);
    logMessage("main class: %s", className.c_str());
    jclass launcherClass = env->FindClass(className.c_str());
    if (!launcherClass) {
        logError("could not find main class");
        return MainOutcome::launcherClassMissing;
    }
    jmethodID mainMethod = env->GetStaticMethodID(launcherClass, "main", "([Ljava/lang/String;)V");
    if (!mainMethod) {
        logError("could not find main method");
        return MainOutcome::mainMethodMissing;
    }

    logMessage("param count: %d", static_cast<int>(call.parameters.size()));
    jclass stringClass = env->FindClass("java/lang/String");
    jobjectArray parameters =
        stringClass ? env->NewObjectArray(static_cast<jsize>(call.parameters.size()), stringClass, nullptr) : nullptr;
    if (!parameters) {
        logError("could not create paramArray");
        return MainOutcome::parameterArrayFailed;
    }
    for (size_t i = 0; i < call.parameters.size(); ++i) {
        const char* logged = i < call.loggedParameters.size() ? call.loggedParameters[i].c_str() : "";
        logMessage("param %d: %s", static_cast<int>(i), logged);
        const std::u16string& text = call.parameters[i];
        // jchar is UTF-16 on every platform, so non-ASCII arguments arrive intact.
        jstring value = env->NewString(reinterpret_cast<const jchar*>(text.data()), static_cast<jsize>(text.size()));
        if (!value) {
            logError("could not create jstr");
            return MainOutcome::parameterStringFailed;
        }
        env->SetObjectArrayElement(parameters, static_cast<jsize>(i), value);
        env->DeleteLocalRef(value);
    }

    logMessage("calling main");
    env->CallStaticVoidMethod(launcherClass, mainMethod, parameters);
    logMessage("main returned");
    if (env->ExceptionCheck()) {
        logError("an exception occured");
        env->ExceptionDescribe();
        return MainOutcome::threw;
    }
    return MainOutcome::returned;
}
