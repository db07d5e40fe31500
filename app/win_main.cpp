// Setup.exe's entry: checks the platform, shows the splash, fills the built-in variables, reads
// the script, opens the main window, runs the script and ends with its exit code
// (setup_exit_codes.h).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "builtin_variables.h"
#include "dynamic_state.h"
#include "handle.h"
#include "interpreter.h"
#include "message_box.h"
#include "setup_exit_codes.h"
#include "setup_globals.h"
#include "setup_window.h"
#include "system_directories.h"
#include "system_library.h"
#include "win32_host.h"
#include "windows_name_character.h"
#include "windows_version.h"

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
const DWORD kSmallestWininit = 40801;

// Files in use are replaced at the next restart by Wininit.exe on the Windows 95 family: warn when
// it is missing, and let the user stop when it looks damaged. Returns false to end the program.
bool checkWininit() {
    const std::string path = windowsDirectory() + "\\Wininit.exe";
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) {
        showMessageBox(kWininitMissing, "Error", MB_OK);
        return true;
    }
    return GetFileSize(file.get(), nullptr) >= kSmallestWininit ||
           showMessageBox(kWininitSmall, "Warning", MB_YESNO) != IDNO;
}

// The default base of the destination: ProgramFilesDir followed by '\'. Returns false after
// reporting a key that opens but has no readable value.
bool readProgramFilesDir(SetupState& state) {
    std::string programFiles;
    // With the access RegOpenKeyA asks for: whatever the user may have.
    const RegistryKey key =
        openRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", MAXIMUM_ALLOWED);
    if (key.valid()) {
        char value[MAX_PATH] = "";
        DWORD size = sizeof value;
        DWORD type = REG_SZ;
        const LONG error =
            RegQueryValueExA(key.get(), "ProgramFilesDir", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
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
SetupExitCode mainWindowFailed() {
    const DWORD error = GetLastError();
    showMessageBox(std::string(kMessageLoopFailed) + "\n\n" + systemErrorText(error), "Fatal error",
                   MB_OK | MB_ICONERROR);
    return SetupExitCode::noMainWindow;
}

// The common controls of the pages, from the system folder's comctl32.dll (which stays loaded, so
// its window classes stay registered). False when the library or the function is not there.
bool initCommonControls() {
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static SystemFunction<InitFunction> initCommonControlsEx("comctl32.dll", "InitCommonControlsEx");
    const InitFunction init = initCommonControlsEx.get();
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                     ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_HOTKEY_CLASS | ICC_ANIMATE_CLASS;
    return init != nullptr && init(&controls) == TRUE;
}

// COM, for the shell links and the folder browser, from here to the end of the run.
class ComInitialization {
public:
    ComInitialization() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComInitialization() {
        if (initialized_) CoUninitialize();
    }
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;

private:
    bool initialized_;
};

SetupExitCode runSetup(HINSTANCE instance) {
    SetupState& state = setupState();
    Win32Session& windows = win32Session();

    if (windowsFamily() != WindowsFamily::nt && !checkWininit()) return SetupExitCode::normal;

    windows.instance = instance;
    windows.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    windows.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const ComInitialization com;

    // The splash only tells the user that something is happening; without it setup goes on.
    HWND splash = CreateSetupWindow(instance, nullptr, kSplashClassName, nullptr, WS_POPUP | WS_BORDER | WS_SYSMENU,
                                    windows.screenWidth / 2 - 200, windows.screenHeight / 2 - 100, 400, 200);
    windows.splashWindow = splash;
    if (splash != nullptr) {
        ShowWindow(splash, SW_SHOW);
        UpdateWindow(splash);
    }

    fillBuiltInVariables(state);
    if (!readProgramFilesDir(state)) return SetupExitCode::programFilesDirUnreadable;
    SetupScript script(isWindowsNameCharacter, [](const std::string& caption, const std::string& text) {
        showMessageBox(text, caption, MB_OK | MB_ICONERROR);
    });
    if (script.read(state.variables["SETUPFILE"]) < 0) return SetupExitCode::scriptUnreadable;

    if (!initCommonControls()) {
        showMessageBox(kCommonControlsMissing, "Common controls not available", MB_OK | MB_ICONERROR);
        return SetupExitCode::commonControlsMissing;
    }

    Sleep(1250);  // the splash stays up a moment after the script is read

    HWND mainWindow = CreateSetupWindow(instance, "Setup", kMainClassName, nullptr, WS_POPUP, 0, 0, windows.screenWidth,
                                        windows.screenHeight);
    if (mainWindow == nullptr) return mainWindowFailed();
    windows.mainWindow = mainWindow;
    ShowWindow(mainWindow, SW_SHOW);
    UpdateWindow(mainWindow);
    if (splash != nullptr) DestroyWindow(splash);

    const UINT_PTR timer = SetTimer(mainWindow, 1, 50, DynamicStateTimerProc);
    if (timer == 0) return mainWindowFailed();

    Win32Host host(windows);
    const RunResult result = runStatements(script, state, host);
    if (result.outcome == RunOutcome::stopped) return result.exitCode;

    PostQuitMessage(0);
    drainMessages();
    KillTimer(mainWindow, timer);
    UnregisterSetupClasses(instance);
    // A copy page whose run stopped early is no success for whoever started the setup; a
    // confirmed Cancel is.
    return result.exitCode;
}

}  // namespace
}  // namespace quillset

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything loads a library: a planted one beside Setup.exe must never run.
    quillset::restrictLibrarySearch();
    return quillset::exitStatus(quillset::runSetup(instance));
}
