#include "child_process.h"

#include <optional>
#include <vector>

#include "win_handles.h"

namespace child_process {

namespace {

std::optional<std::string> GetVariable(const char* name) {
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<char> value(size);
    DWORD length = GetEnvironmentVariableA(name, value.data(), size);
    return std::string(value.data(), length);
}

// Sets a variable of this process for as long as it lives.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (name_ != nullptr) {
            saved_ = GetVariable(name_);
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

// The folder of the running program, with its final backslash.
std::wstring ProgramFolder() {
    std::vector<wchar_t> path(MAX_PATH);
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
               path.size() &&
           path.size() < 32768) {
        path.resize(path.size() * 2);
    }
    std::wstring folder(path.data(), length);
    std::wstring::size_type slash = folder.find_last_of(L"\\/");
    folder.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return folder;
}

// Nullopt when the ANSI code page lacks some character of `text`.
std::optional<std::string> ToAnsi(const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                   static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::string::size_type>(size), '\0');
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                        &ansi[0], size, nullptr, &lossy);
    if (size == 0 || lossy) {
        return std::nullopt;
    }
    return ansi;
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty()) {
        return std::wstring();
    }
    int size =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::wstring::size_type>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

std::wstring ShortName(const std::wstring& path) {
    DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) {
        return path;
    }
    std::vector<wchar_t> name(size);
    DWORD length = GetShortPathNameW(path.c_str(), name.data(), size);
    return length > 0 && length < size ? std::wstring(name.data(), length) : path;
}

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

std::wstring BesideTestProgramW(const wchar_t* file) {
    return ProgramFolder() + file;
}

std::string BesideTestProgram(const char* file) {
    std::wstring folder = ProgramFolder();
    std::optional<std::string> ansi = ToAnsi(folder);
    if (!ansi) {
        ansi = ToAnsi(ShortName(folder));
    }
    return ansi.value_or(std::string()) + file;
}

Outcome Run(const std::string& commandLine, const char* environmentName,
            const char* environmentValue) {
    return Run(FromAnsi(commandLine), environmentName, environmentValue);
}

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
