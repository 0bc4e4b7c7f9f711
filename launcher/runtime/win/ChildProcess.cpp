#include "runtime/win/ChildProcess.h"

#include <vector>

#include "log/Log.h"

static UniqueHandle createKillOnCloseJob() {
    UniqueHandle job(CreateJobObjectA(nullptr, nullptr));
    if (!job) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        job.reset();
    return job;
}

bool startChildProcess(const char* application, const std::string& commandLine, HANDLE standardError,
                       ChildProcess& child) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    if (standardError && standardError != INVALID_HANDLE_VALUE) {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdError = standardError;
    }
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    PROCESS_INFORMATION started = {};
    // Suspended until it belongs to the job, so nothing it starts can escape the job.
    if (!CreateProcessA(application, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &started)) {
        child.startError = GetLastError();
        return false;
    }
    child.process.reset(started.hProcess);
    UniqueHandle thread(started.hThread);
    child.job = createKillOnCloseJob();
    if (!child.job || !AssignProcessToJobObject(child.job.get(), started.hProcess)) {
        logMessage("child process runs outside a job (error %lu)", GetLastError());
        child.job.reset();
    }
    ResumeThread(thread.get());
    return true;
}
