// The robot's program: starting it (in a job, so that it ends with everything it started), its
// exit code, ending it; and what every step needs of it.
#include <cstdio>

#include "command_line.h"
#include "window_queries.h"
#include "robot.h"

namespace quillset::robot {

Robot::~Robot() {
    if (programRunning()) endProgram();
    if (job_ != nullptr) CloseHandle(job_);
    if (process_.hProcess != nullptr) {
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

std::string Robot::describeTimeout() const {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", static_cast<double>(timeoutMs_) / 1000.0);
    return text;
}

std::string Robot::requireProgram() const { return process_.hProcess == nullptr ? "no program started" : ""; }

std::string Robot::requireCurrentWindow() const {
    if (process_.hProcess == nullptr) return "no program started";
    if (current_ == nullptr) return "no current window (use a window step first)";
    if (!IsWindow(current_)) return "the current window " + quoteWord(currentTitle_) + " is gone";
    return "";
}

bool Robot::programRunning() const {
    return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Robot::exitCode(int& code) const {
    DWORD value = 0;
    if (process_.hProcess == nullptr || programRunning() || !GetExitCodeProcess(process_.hProcess, &value)) return false;
    code = static_cast<int>(value);
    return true;
}

bool Robot::endProgram() {
    if (process_.hProcess == nullptr) return true;
    if (job_ != nullptr) TerminateJobObject(job_, 1);
    TerminateProcess(process_.hProcess, 1);
    return WaitForSingleObject(process_.hProcess, 5000) == WAIT_OBJECT_0;
}

std::string Robot::start(const std::string& program, const std::vector<std::string>& arguments) {
    // Resolve the program in the current directory: CreateProcessA would look in the robot's
    // own directory first and might find a different program of the same name there.
    char fullPath[MAX_PATH * 4];
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    for (const std::string& candidate : {program, program + ".exe"}) {
        const DWORD length = GetFullPathNameA(candidate.c_str(), sizeof fullPath, fullPath, nullptr);
        if (length == 0 || length >= sizeof fullPath) continue;
        attributes = GetFileAttributesA(fullPath);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) break;
        attributes = INVALID_FILE_ATTRIBUTES;
    }
    if (attributes == INVALID_FILE_ATTRIBUTES) return "no program " + quoteWord(program);

    std::string commandLine = quoteCommandLineArgument(fullPath);
    for (const std::string& argument : arguments) commandLine += " " + quoteCommandLineArgument(argument);
    return launch(fullPath, fullPath, commandLine);
}

std::string Robot::launch(const std::string& programPath, const std::string& applicationName, std::string commandLine) {
    if (programRunning()) return "the program started before still runs";
    if (process_.hProcess != nullptr) {
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = PROCESS_INFORMATION{};
    }
    if (job_ != nullptr) {
        CloseHandle(job_);
        job_ = nullptr;
    }
    current_ = nullptr;
    programPath_ = programPath;
    const char* const application = applicationName.empty() ? nullptr : applicationName.c_str();

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // Started suspended so that it is in the job before it can start anything itself.
    // Under Wine on a loaded machine the start itself sometimes fails (ERROR_INTERNAL_ERROR) and
    // works when tried again: try until the time-out before calling it a failure.
    DWORD error = 0;
    const bool started = waitUntil(timeoutMs_, [&] {
        if (CreateProcessA(application, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                           &startup, &process_))
            return true;
        error = GetLastError();
        return false;
    });
    if (!started) {
        process_ = PROCESS_INFORMATION{};
        // A medium's Setup.exe is mostly the 32-bit program, and a Wine built for 64-bit programs
        // alone fails to start it with no better reason than an internal error.
        const std::string named = applicationName.empty() ? commandLine : programPath;
        return "cannot start " + quoteWord(named) + " (error " + std::to_string(error) + ")" +
               (startedThirtyTwoBitProgram() ? std::string(": it is a 32-bit program, which a Wine without 32-bit support cannot "
                                           "start (on Debian: the wine32 package of the i386 architecture)")
                             : std::string());
    }
    // The job ends the program and its children together when the robot stops, even when the
    // robot itself is killed. Without a job (not possible in every environment) endProgram
    // still ends the program itself.
    job_ = CreateJobObjectA(nullptr, nullptr);
    if (job_ != nullptr) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (!SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
            !AssignProcessToJobObject(job_, process_.hProcess)) {
            CloseHandle(job_);
            job_ = nullptr;
        }
    }
    if (beforeResume_) beforeResume_(process_.dwThreadId);
    ResumeThread(process_.hThread);
    return "";
}

// The command that a value of the Uninstall key of APPNAME holds, started as the system's list of
// programs (or a deployment tool) starts it: the value itself is the command line, with no
// program named apart, so Windows reads the program from it (an unquoted path with a blank would
// start "C:\Program.exe" where one exists).
std::string Robot::startUninstall(const std::string& appName, const std::string& valueName) {
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + appName;
    // A 32-bit setup program writes its entry in the 32-bit view of the registry.
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        char command[MAX_PATH * 4] = "";
        DWORD size = sizeof command - 1;
        HKEY entry = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | view, &entry) != ERROR_SUCCESS) continue;
        const LONG status = RegGetValueA(entry, nullptr, valueName.c_str(), RRF_RT_REG_SZ, nullptr, command, &size);
        RegCloseKey(entry);
        if (status == ERROR_SUCCESS) return launch(splitProgramCommand(command).program, "", command);
    }
    return "no " + valueName + " under HKEY_LOCAL_MACHINE\\" + key;
}

std::string Robot::waitForExit(int expectedCode) {
    if (std::string missing = requireProgram(); !missing.empty()) return missing;
    if (WaitForSingleObject(process_.hProcess, timeoutMs_) != WAIT_OBJECT_0) {
        return "the program still runs after " + describeTimeout();
    }
    return exitCodeOtherThan(expectedCode);
}

// A quiet run must end without a window: the program's windows are looked at on every poll until
// it ends, and the first visible one fails the step, named. A message box waits for an answer, so
// none can slip by.
std::string Robot::waitForExitUnseen(int expectedCode) {
    if (std::string missing = requireProgram(); !missing.empty()) return missing;
    std::string seen;
    const bool ended = waitUntil(timeoutMs_, [&] {
        for (const TopWindow& window : windowsOfProcess(process_.dwProcessId))
            if (window.visible) {
                seen = quoteWord(window.title) + " (" + window.className + ")";
                return true;
            }
        return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
    });
    if (!seen.empty()) return "the program showed the window " + seen;
    if (!ended) return "the program still runs after " + describeTimeout();
    return exitCodeOtherThan(expectedCode);
}

std::string Robot::exitCodeOtherThan(int expectedCode) const {
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    const auto actual = static_cast<int>(code);
    return actual == expectedCode ? "" : "the exit code is " + std::to_string(actual);
}

std::string Robot::kill(std::vector<std::string>& notes) {
    if (std::string missing = requireProgram(); !missing.empty()) return missing;
    DWORD code = 0;
    if (!programRunning()) {
        GetExitCodeProcess(process_.hProcess, &code);
        notes.push_back("the program had ended already, exit code " + std::to_string(static_cast<int>(code)));
        return "";
    }
    return endProgram() ? "" : "the program still runs five seconds after it was ended";
}

std::string Robot::endSession(std::vector<std::string>& notes) {
    if (std::string missing = requireProgram(); !missing.empty()) return missing;
    if (!programRunning()) return "the program has ended already";
    const std::vector<TopWindow> windows = windowsOfProcess(process_.dwProcessId);
    if (windows.empty()) return "the program has no window that could hear of the session's end";
    const UINT waitMs = static_cast<UINT>(timeoutMs_);
    for (const TopWindow& window : windows) {
        DWORD_PTR agreed = 0;
        if (!SendMessageTimeoutA(window.handle, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, waitMs, &agreed))
            return "the window " + quoteWord(window.title) + " did not answer WM_QUERYENDSESSION within " +
                   describeTimeout();
        if (!agreed) {
            // The session goes on, as Windows then tells every window.
            for (const TopWindow& told : windows)
                SendMessageTimeoutA(told.handle, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, waitMs, nullptr);
            return "the window " + quoteWord(window.title) + " refused to let the session end";
        }
    }
    for (const TopWindow& window : windows) {
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutA(window.handle, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, waitMs, &ignored))
            return "the window " + quoteWord(window.title) + " did not return from WM_ENDSESSION within " +
                   describeTimeout();
    }
    notes.push_back(std::to_string(windows.size()) + " window(s) told that the session ends");
    return endProgram() ? "" : "the program still runs five seconds after the session ended";
}

bool Robot::startedThirtyTwoBitProgram() const {
    DWORD binaryType = 0;
    return sizeof(void*) == 8 && GetBinaryTypeA(programPath_.c_str(), &binaryType) && binaryType == SCS_32BIT_BINARY;
}

}  // namespace quillset::robot
