// process_probe NAME — asks the process guard whether NAME runs and prints the platform family it
// saw ("platform 1" for Windows 95/98/ME, "platform 2" for NT) and the answer ("running" or "not
// running"). Exit status 0 either way. Used to test the guard under an emulated Windows 98.
#include <windows.h>

#include <cstdio>
#include <string>

#include "process_guard.h"
#include "process_names.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: process_probe NAME\n", stderr);
        return 64;
    }
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    std::string name = argv[1];
    quillset::lowerCaseAscii(name);
    const bool running = quillset::IsProcessRunning(name);
    std::printf("platform %lu\n%s %s\n", static_cast<unsigned long>(version.dwPlatformId), name.c_str(),
                running ? "running" : "not running");
    return 0;
}
