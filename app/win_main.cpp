// Setup.exe's entry: checks the platform, shows the splash, fills the built-in variables, reads
// the script, opens the main window, runs the script and ends with its exit code.
//
// Exit codes: 0 normal end (also after Cancel and after No to the Wininit.exe warning), 1 script
// not readable, 2 script syntax error, 3 forbidden process running, -5 common controls missing,
// -6 ProgramFilesDir not readable, -7 the main window or its timer could not be made, 4 the
// installation stopped before its last file.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "builtin_variables.h"
#include "dynamic_state.h"
#include "interpreter.h"
#include "message_box.h"
#include "setup_globals.h"
#include "setup_window.h"
#include "system_directories.h"
#include "win32_host.h"
#include "windows_name_character.h"

namespace quillset {

namespace {

const char* const kWininitMissing = "Wininit.exe not found! Setup can not replace DLLs that are in use!";
const char* const kWininitSmall =
    "Wininit.exe may be corrupted. Setup checked the file size of wininit.exe, and it does not match the file size "
    "of the Windows 95, Windows 98, Windows NT, Windows ME or Windows 2000 version (all 32 bit windows versions that "
    "have been released until the current build of this setup). Therefore, the EXE may be corrupt and a restart may "
    "not be possible. If you have a newer Windows version, this may be a false alarm. Do you want to continue setup "
    "(not recommended if you do not have a newer version of Windows)?";
const char* const kCommonControlsMissing =
    "InitCommonControlsEx failed. ComCtl32.dll is not properly installed. Setup will be closed now.";
const char* const kMessageLoopFailed = "Fatal application error! Setup cannot be continued!";
const int kNoMainWindow = -7;
const int kInstallationStopped = 4;
const DWORD kSmallestWininit = 40801;

// Files in use are replaced at the next restart by Wininit.exe on the Windows 95 family: warn when
// it is missing, and let the user stop when it looks damaged. Returns false to end the program.
bool checkWininit() {
    const std::string path =
        windowsDirectory() + "\\Wininit.exe";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        showMessageBox(kWininitMissing, "Error", MB_OK);
        return true;
    }
    bool goOn = true;
    if (GetFileSize(file, nullptr) < kSmallestWininit)
        goOn = showMessageBox(kWininitSmall, "Warning", MB_YESNO) != IDNO;
    CloseHandle(file);
    return goOn;
}

// The default base of the destination: ProgramFilesDir followed by '\'. Returns false after
// reporting a key that opens but has no readable value.
bool readProgramFilesDir(SetupState& state) {
    std::string programFiles;
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", &key) == ERROR_SUCCESS) {
        char value[MAX_PATH] = "";
        DWORD size = sizeof value;
        DWORD type = REG_SZ;
        const LONG error =
            RegQueryValueExA(key, "ProgramFilesDir", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(key);
        if (error != ERROR_SUCCESS) {
            showMessageBox(systemErrorText(static_cast<DWORD>(error)), "Registry error", MB_OK);
            return false;
        }
        value[sizeof value - 1] = '\0';  // a value stored without its terminating zero
        programFiles = value;
    }
    setProgramFilesDir(state, programFiles);
    return true;
}

void fillBuiltInVariables(SetupState& state) {
    setSetupPaths(state, currentDirectory(), windowsDirectory(), systemDirectory());
}

// Handles what is left in the queue up to the quit message.
void drainMessages() {
    MSG message;
    for (;;) {
        const BOOL result = GetMessageA(&message, nullptr, 0, 0);
        if (result == 0) return;
        if (result == -1) {
            showMessageBox(kMessageLoopFailed, "Fatal error", MB_OK | MB_ICONERROR);
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Without its main window or its timer the wizard cannot work (pages without their background,
// Next never held back): say so with the system's reason and end.
int mainWindowFailed() {
    const DWORD error = GetLastError();
    showMessageBox(std::string(kMessageLoopFailed) + "\n\n" + systemErrorText(error), "Fatal error",
                   MB_OK | MB_ICONERROR);
    return kNoMainWindow;
}

int runSetup(HINSTANCE instance) {
    SetupState& state = setupState();
    Session& session = state.session;

    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    session.isNt = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    if (!session.isNt && !checkWininit()) return 0;

    session.instance = instance;
    session.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    session.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    CoInitialize(nullptr);

    // The splash only tells the user that something is happening; without it setup goes on.
    HWND splash = CreateSetupWindow(instance, nullptr, kSplashClassName, nullptr, WS_POPUP | WS_BORDER | WS_SYSMENU,
                                    session.screenWidth / 2 - 200, session.screenHeight / 2 - 100, 400, 200);
    session.splashWindow = splash;
    if (splash != nullptr) {
        ShowWindow(splash, SW_SHOW);
        UpdateWindow(splash);
    }

    fillBuiltInVariables(state);
    if (!readProgramFilesDir(state)) return -6;
    SetupScript script(isWindowsNameCharacter, [](const std::string& caption, const std::string& text) {
        showMessageBox(text, caption, MB_OK | MB_ICONERROR);
    });
    if (script.read(state.variables["SETUPFILE"]) < 0) return 1;

    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                     ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_HOTKEY_CLASS | ICC_ANIMATE_CLASS;
    if (InitCommonControlsEx(&controls) != TRUE) {
        showMessageBox(kCommonControlsMissing, "Common controls not available", MB_OK | MB_ICONERROR);
        return -5;
    }

    Sleep(1250);  // the splash stays up a moment after the script is read

    HWND mainWindow = CreateSetupWindow(instance, "Setup", kMainClassName, nullptr, WS_POPUP, 0, 0, session.screenWidth,
                                        session.screenHeight);
    if (mainWindow == nullptr) return mainWindowFailed();
    session.mainWindow = mainWindow;
    ShowWindow(mainWindow, SW_SHOW);
    UpdateWindow(mainWindow);
    if (splash != nullptr) DestroyWindow(splash);

    const UINT_PTR timer = SetTimer(mainWindow, 1, 50, DynamicStateTimerProc);
    if (timer == 0) return mainWindowFailed();

    Win32Host host(session);
    const RunResult result = runStatements(script, state, host);
    if (result.outcome == RunOutcome::stopped) return result.exitCode;

    PostQuitMessage(0);
    drainMessages();
    KillTimer(mainWindow, timer);
    UnregisterSetupClasses(instance);
    // A run that stopped early is no success for whoever started the setup; a confirmed Cancel is.
    return state.run.stoppedEarly ? kInstallationStopped : 0;
}

}  // namespace
}  // namespace quillset

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return quillset::runSetup(instance); }
