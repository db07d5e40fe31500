#include <windows.h>

#include "command_line.h"
#include "path_text.h"
#include "platform.h"

namespace quillset {

int runProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& outputFile) {
    std::string commandLine = quoteCommandLineArgument(program);
    for (const std::string& argument : arguments) commandLine += " " + quoteCommandLineArgument(argument);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) return -1;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(output);
    if (!started) return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

// Only the folders of PATH, as on Linux: SearchPath without them would also try the current
// folder, where any file could pose as the program.
std::string findProgram(const std::string& name) {
    const DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (size == 0) return "";
    std::string folders(size, '\0');
    folders.resize(GetEnvironmentVariableA("PATH", &folders[0], size));
    char path[MAX_PATH];
    const DWORD length = SearchPathA(folders.c_str(), name.c_str(), nullptr, MAX_PATH, path, nullptr);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(path, length);
}

std::string ownDirectory() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return ".";
    const std::string self(path, length);
    return folderOf(self);
}

std::string programFileName(const std::string& name) { return name + ".exe"; }

}  // namespace quillset
