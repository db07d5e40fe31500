// The process guard against the real process list, and ForbidProcess through the real host.
#include <windows.h>

#include <gtest/gtest.h>

#include "interpreter.h"
#include "message_box_answerer.h"
#include "process_guard.h"
#include "setup_globals.h"
#include "win32_host.h"

namespace quillset {
namespace {

std::string ownFileName() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string full = path;
    return full.substr(full.rfind('\\') + 1);
}

BOOL CALLBACK countUpTo(DWORD, WORD, LPSTR, LPARAM user) {
    int* remaining = reinterpret_cast<int*>(user);
    return --*remaining > 0;
}

TEST(ProcessGuardTest, FindsThisProgramByItsFileNameOnly) {
    std::string upper = ownFileName();
    CharUpperA(&upper[0]);
    std::string name = upper;
    EXPECT_EQ(IsProcessRunning(name), 1) << upper;
    std::string lower = upper;
    CharLowerA(&lower[0]);
    EXPECT_EQ(name, lower);  // lower-cased in place

    std::string withoutExtension = upper.substr(0, upper.rfind('.'));
    EXPECT_EQ(IsProcessRunning(withoutExtension), 0);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string withDirectory = path;
    EXPECT_EQ(IsProcessRunning(withDirectory), 0);
    EXPECT_GT(setupState().runningProcessNames.size(), 1u);
}

TEST(ProcessGuardTest, CallbackCanStopTheWalk) {
    int remaining = 1;
    EXPECT_TRUE(EnumerateProcesses(countUpTo, reinterpret_cast<LPARAM>(&remaining)));
    EXPECT_EQ(remaining, 0);  // called once, then stopped
}

TEST(ProcessGuardTest, ForbidProcessFindsARunningNotepad) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION notepad{};
    char commandLine[] = "notepad.exe";
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &notepad));
    WaitForInputIdle(notepad.hProcess, 10000);

    struct Case {
        const char* name;
        int exitCode;
    };
    for (const Case c : {Case{"NOTEPAD.EXE", 3}, Case{"notepad", 0}, Case{"C:\\WINDOWS\\notepad.exe", 0}}) {
        SetupState& state = setupState();
        state.script = SetupScript(isWindowsNameCharacter, nullptr);
        state.script.tokenize(std::string("ForbidProcess(\"") + c.name + "\")");
        Win32Host host(state);
        MessageBoxAnswerer answerer;
        const RunResult result = runStatements(state, host);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        const auto seen = answerer.seen();
        if (c.exitCode == 3) {
            ASSERT_EQ(seen.size(), 1u);
            EXPECT_EQ(seen[0].caption, "Error");
            EXPECT_EQ(seen[0].text, "This setup demands that notepad.exe does not run. Please close it and try again.");
        } else {
            EXPECT_TRUE(seen.empty()) << c.name;
        }
    }

    TerminateProcess(notepad.hProcess, 0);
    WaitForSingleObject(notepad.hProcess, 10000);
    CloseHandle(notepad.hThread);
    CloseHandle(notepad.hProcess);
    std::string gone = "notepad.exe";
    EXPECT_EQ(IsProcessRunning(gone), 0);
}

}  // namespace
}  // namespace quillset
