#include "child_process.h"

#include <optional>
#include <vector>

#include "environment.h"
#include "win_handles.h"

namespace child_process {

namespace {

// Sets a variable of this process for as long as it lives.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (name_ != nullptr) {
            saved_ = environment::Variable(name_);
            SetEnvironmentVariableA(name_, value);
        }
    }
    ~ScopedVariable() {
        if (name_ != nullptr) {
            SetEnvironmentVariableA(name_, saved_ ? saved_->c_str() : nullptr);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

win_handles::KernelHandle MakeJob() {
    win_handles::KernelHandle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    if (job && !SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                        sizeof limits)) {
        job.Reset();
    }
    return job;
}

// The children's job: closed when this process ends, however it ends, which
// ends them too.
HANDLE ChildrenJob() {
    static win_handles::KernelHandle job = MakeJob();
    return job.get();
}

void CollectOutput(HANDLE readEnd, std::string* output) {
    char buffer[512];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read != 0) {
        for (DWORD i = 0; i < read; ++i) {
            if (buffer[i] != '\r') {
                *output += buffer[i];
            }
        }
    }
}

} // namespace

Outcome Run(const std::wstring& commandLine, const char* environmentName,
            const char* environmentValue) {
    Outcome outcome;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return outcome;
    }
    win_handles::KernelHandle reading(readEnd);
    win_handles::KernelHandle writing(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    {
        ScopedVariable variable(environmentName, environmentValue);
        // Suspended until it is in the job, so it cannot start a program of
        // its own outside it first.
        outcome.started =
            CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                           nullptr, &startup, &process) != 0;
    }
    writing.Reset();
    if (!outcome.started) {
        return outcome;
    }
    win_handles::KernelHandle child(process.hProcess);
    win_handles::KernelHandle childThread(process.hThread);
    // Fails where this program is itself in a job and the system has no nested
    // jobs (Windows 7 and older refuse a process that is in a job already);
    // the child then runs in that job, as it would have without ours.
    AssignProcessToJobObject(ChildrenJob(), child.get());
    ResumeThread(childThread.get());
    CollectOutput(readEnd, &outcome.output);
    WaitForSingleObject(child.get(), INFINITE);
    GetExitCodeProcess(child.get(), &outcome.exitCode);
    return outcome;
}

} // namespace child_process
