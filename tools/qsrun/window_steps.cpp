#include "window_steps.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

#include "command_line.h"

namespace quillset::robot {
namespace {

// Conditions are polled this often until they hold or the step's time-out has passed.
constexpr DWORD pollIntervalMs = 15;
// A single message to the program (reading a text, typing a character) may take this long
// before the program counts as not answering.
constexpr UINT messageTimeoutMs = 2000;

// A file with this text, for a scenario that changes the medium under the program's feet.
std::string writeFile(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return ok ? "" : "cannot write " + quoteWord(path);
}

struct WindowSearch {
    DWORD processId;
    std::vector<TopWindow> found;
};

BOOL CALLBACK collectWindowOfProcess(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId) {
        search->found.push_back(TopWindow{window, titleOf(window), classOf(window), IsWindowVisible(window) != FALSE,
                                          IsWindowEnabled(window) != FALSE});
    }
    return TRUE;
}


// A visible top-level window of the process with this title and class and, when `content` is
// given, holding that control: pages that share a title differ in their controls.
HWND findVisibleWindow(DWORD processId, const std::string& title, const std::string& className,
                       const ControlRef* content = nullptr, HWND except = nullptr) {
    for (const TopWindow& window : windowsOfProcess(processId)) {
        if (window.visible && window.handle != except && (title == "*" || window.title == title) &&
            lstrcmpiA(window.className.c_str(), className.c_str()) == 0 &&
            (content == nullptr || findControl(window.handle, *content) != nullptr)) {
            return window.handle;
        }
    }
    return nullptr;
}


std::string hexHandle(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

// The steps' arguments were checked by parseScenario; these only convert them.
int intArg(const std::string& word) {
    int value = 0;
    parseInt(word, value);
    return value;
}

// A control as the controls step shows it: ID, class and text.
std::string describeWindow(HWND control) {
    std::string text;
    readText(control, text);
    return std::to_string(GetDlgCtrlID(control)) + " " + classOf(control) + " " + quoteWord(text);
}

std::string describeControl(const std::string& refWord, const std::string& windowTitle) {
    return "control " + refWord + " of " + quoteWord(windowTitle);
}

}  // namespace

std::string classOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A top-level window's title is kept by the system, so reading it never waits for the program.
std::string titleOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string title(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, &title[0], length + 1);
    title.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return title;
}

std::vector<TopWindow> windowsOfProcess(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(collectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool isCheckable(HWND control) {
    if (lstrcmpiA(classOf(control).c_str(), "Button") != 0) return false;
    const LONG_PTR type = GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ||
           type == BS_3STATE || type == BS_AUTO3STATE;
}

LRESULT checkStateOf(HWND control) {
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, messageTimeoutMs, &state)) return -1;
    return static_cast<LRESULT>(state);
}

// Polls `condition` until it holds or `timeoutMs` has passed; it is always tried once more at
// the end, so a step with time-out 0 still checks its condition once.
bool waitUntil(unsigned long timeoutMs, const std::function<bool()>& condition) {
    const DWORD started = GetTickCount();
    while (true) {
        if (condition()) return true;
        if (GetTickCount() - started >= timeoutMs) return condition();
        Sleep(pollIntervalMs);
    }
}

// Asks the window itself for its text: GetWindowTextA does not return the text of another
// process's controls. False when the program does not answer in time.
bool readText(HWND window, std::string& text) {
    // Labels and buttons keep their text with the system, which answers even while the program is
    // busy (an installation runs without reading its messages); an edit control keeps its own text
    // and must be asked for it.
    const std::string className = classOf(window);
    if (lstrcmpiA(className.c_str(), "Static") == 0 || lstrcmpiA(className.c_str(), "Button") == 0) {
        if (!IsWindow(window)) return false;
        std::string buffer(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
        buffer.resize(static_cast<std::size_t>(GetWindowTextA(window, &buffer[0], static_cast<int>(buffer.size()))));
        text = buffer;
        return true;
    }
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, messageTimeoutMs, &length)) {
        return false;
    }
    std::string buffer(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]),
                             SMTO_ABORTIFHUNG, messageTimeoutMs, &copied)) {
        return false;
    }
    buffer.resize(copied < length ? copied : length);
    text = buffer;
    return true;
}

// The control a step names, or null while there is none. Children are counted in creation order
// (the order GetWindow walks them); ID 0 names the window itself, and so does a dialog template
// when the window holds every control of it (a window does not know its template, and pages of
// the same title differ in their controls).
HWND findControl(HWND parent, const ControlRef& ref) {
    if (ref.kind == ControlRef::Kind::Id) return ref.id == 0 ? parent : GetDlgItem(parent, ref.id);
    if (ref.kind == ControlRef::Kind::Template) {
        for (const int id : ref.templateIds) {
            if (GetDlgItem(parent, id) == nullptr) return nullptr;
        }
        return parent;
    }
    int seen = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ref.kind == ControlRef::Kind::ClassIndex) {
            if (lstrcmpiA(classOf(child).c_str(), ref.className.c_str()) == 0 && ++seen == ref.index) return child;
        } else {
            std::string text;
            if (readText(child, text) && text == ref.text) return child;
        }
    }
    return nullptr;
}

Robot::~Robot() {
    if (programRunning()) endProgram();
    if (job_ != nullptr) CloseHandle(job_);
    if (process_.hProcess != nullptr) {
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
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

void Robot::setCurrentWindow(HWND window) {
    current_ = window;
    currentTitle_ = titleOf(window);
}

bool Robot::endProgram() {
    if (process_.hProcess == nullptr) return true;
    if (job_ != nullptr) TerminateJobObject(job_, 1);
    TerminateProcess(process_.hProcess, 1);
    return WaitForSingleObject(process_.hProcess, 5000) == WAIT_OBJECT_0;
}

std::string Robot::describeTimeout() const {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", static_cast<double>(timeoutMs_) / 1000.0);
    return text;
}

std::string Robot::requireCurrentWindow() const {
    if (process_.hProcess == nullptr) return "no program started";
    if (current_ == nullptr) return "no current window (use a window step first)";
    if (!IsWindow(current_)) return "the current window " + quoteWord(currentTitle_) + " is gone";
    return "";
}

std::string Robot::run(const Step& step, std::vector<std::string>& notes) {
    const std::vector<std::string>& a = step.args;
    const std::string& name = step.name;
    int number = 0;
    if (name == "timeout") {
        parseSeconds(a[0], timeoutMs_);
        return "";
    }
    if (name == "start") return start(a);
    if (name == "start-uninstall") return startUninstall(a[0]);
    if (name == "delete") return DeleteFileA(a[0].c_str()) ? "" : "cannot delete " + quoteWord(a[0]);
    if (name == "write") return writeFile(a[0], a[1]);
    if (name == "rename")
        return MoveFileA(a[0].c_str(), a[1].c_str()) ? "" : "cannot rename " + quoteWord(a[0]) + " to " + quoteWord(a[1]);
    if (name == "file") return waitForFile(a[0], a.size() > 1 ? intArg(a[1]) : 0);
    if (name == "no-file") return waitForNoFile(a[0]);
    if (name == "screenshot") {
        const std::string unpainted = process_.hProcess != nullptr && programRunning() ? waitUntilPainted() : "";
        return unpainted.empty() ? takeScreenshot(a[0]) : unpainted;
    }
    if (name == "pixel" || name == "wait-pixel") {
        const ScreenColor wanted{intArg(a[2]), intArg(a[3]), intArg(a[4])};
        return waitForPixel(intArg(a[0]), intArg(a[1]), wanted, a.size() > 5 ? intArg(a[5]) : 0);
    }
    if (name == "pixels") return waitForPixelCount(a);
    if (process_.hProcess == nullptr) return "no program started";
    if (name == "window" || name == "another-window")
        return waitForWindow(a[0], a.size() > 1 ? a[1] : "#32770", a.size() > 2 ? a[2] : "", name == "another-window");
    if (name == "message") {
        parseAnswer(a[2], number);
        return answerMessage(a[0], a[1], number, a[2]);
    }
    if (name == "gone") return waitUntilGone(a[0]);
    if (name == "exit") return waitForExit(intArg(a[0]));
    if (name == "kill") return kill(notes);
    if (name == "windows") return listWindows(notes);

    const std::string missing = requireCurrentWindow();
    if (!missing.empty()) return missing;
    if (name == "text") return checkText(a[0], a[1], true);
    if (name == "text-contains") return checkText(a[0], a[1], false);
    if (name == "click") return click(a[0]);
    if (name == "type") return type(a[0], a[1]);
    if (name == "key") {
        parseKey(a[0], number);
        return pressKey(number);
    }
    if (name == "close") return closeWindow();
    if (name == "controls") return listControls(notes);
    if (name == "row") return checkRow(a);
    if (name == "rows") return checkRowCount(a);
    if (name == "click-row") return clickRow(a);
    if (name == "free-space") return checkFreeSpace(a);
    return checkState(name, a[0]);
}

std::string Robot::waitForPixel(int x, int y, const ScreenColor& wanted, int tolerance) {
    ScreenColor seen{};
    const auto within = [tolerance](int a, int b) { return std::abs(a - b) <= tolerance; };
    if (waitUntil(timeoutMs_, [&] {
            return readScreenPixel(x, y, seen) && within(seen.red, wanted.red) && within(seen.green, wanted.green) &&
                   within(seen.blue, wanted.blue);
        })) {
        return "";
    }
    if (!readScreenPixel(x, y, seen)) return "the point is outside the screen";
    return "the pixel is " + std::to_string(seen.red) + " " + std::to_string(seen.green) + " " +
           std::to_string(seen.blue) + " after " + describeTimeout();
}

// pixels LEFT TOP RIGHT BOTTOM R G B TOLERANCE MIN [MAX]
std::string Robot::waitForPixelCount(const std::vector<std::string>& a) {
    const ScreenColor wanted{intArg(a[4]), intArg(a[5]), intArg(a[6])};
    const long minimum = intArg(a[8]);
    const long maximum = a.size() > 9 ? intArg(a[9]) : -1;
    long seen = -1;
    const auto holds = [&] {
        seen = countScreenPixels(intArg(a[0]), intArg(a[1]), intArg(a[2]), intArg(a[3]), wanted, intArg(a[7]));
        return seen >= minimum && (maximum < 0 || seen <= maximum);
    };
    if (waitUntil(timeoutMs_, holds)) return "";
    if (seen < 0) return "cannot read the screen";
    return std::to_string(seen) + " pixels of that colour after " + describeTimeout();
}

std::string Robot::start(const std::vector<std::string>& args) {
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

    // Resolve the program in the current directory: CreateProcessA would look in the robot's
    // own directory first and might find a different program of the same name there.
    char fullPath[MAX_PATH * 4];
    std::string program = args[0];
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    for (const std::string& candidate : {program, program + ".exe"}) {
        const DWORD length = GetFullPathNameA(candidate.c_str(), sizeof fullPath, fullPath, nullptr);
        if (length == 0 || length >= sizeof fullPath) continue;
        attributes = GetFileAttributesA(fullPath);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) break;
        attributes = INVALID_FILE_ATTRIBUTES;
    }
    if (attributes == INVALID_FILE_ATTRIBUTES) return "no program " + quoteWord(program);

    programPath_ = fullPath;
    std::string commandLine = quoteCommandLineArgument(fullPath);
    for (std::size_t i = 1; i < args.size(); ++i) commandLine += " " + quoteCommandLineArgument(args[i]);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // Started suspended so that it is in the job before it can start anything itself.
    // Under Wine on a loaded machine the start itself sometimes fails (ERROR_INTERNAL_ERROR) and
    // works when tried again: try until the time-out before calling it a failure.
    DWORD error = 0;
    const bool started = waitUntil(timeoutMs_, [&] {
        if (CreateProcessA(fullPath, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                           &startup, &process_))
            return true;
        error = GetLastError();
        return false;
    });
    if (!started) {
        process_ = PROCESS_INFORMATION{};
        // A medium's Setup.exe is mostly the 32-bit program, and a Wine built for 64-bit programs
        // alone fails to start it with no better reason than an internal error.
        DWORD binaryType = 0;
        const bool thirtyTwoBit =
            sizeof(void*) == 8 && GetBinaryTypeA(fullPath, &binaryType) && binaryType == SCS_32BIT_BINARY;
        return "cannot start " + quoteWord(fullPath) + " (error " + std::to_string(error) + ")" +
               (thirtyTwoBit ? std::string(": it is a 32-bit program, which a Wine without 32-bit support cannot "
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

// The program that the Uninstall key of APPNAME names, as the system's list of programs starts it.
std::string Robot::startUninstall(const std::string& appName) {
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + appName;
    // A 32-bit setup program writes its entry in the 32-bit view of the registry.
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        char command[MAX_PATH * 4] = "";
        DWORD size = sizeof command - 1;
        HKEY entry = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | view, &entry) != ERROR_SUCCESS) continue;
        const LONG status = RegGetValueA(entry, nullptr, "UninstallString", RRF_RT_REG_SZ, nullptr, command, &size);
        RegCloseKey(entry);
        if (status == ERROR_SUCCESS) return start({command});
    }
    return "no UninstallString under HKEY_LOCAL_MACHINE\\" + key;
}

std::string Robot::waitForWindow(const std::string& title, const std::string& className,
                                 const std::string& contentWord, bool another) {
    ControlRef content;
    const bool withContent = !contentWord.empty() && parseControlRef(contentWord, content);
    HWND found = nullptr;
    if (!waitUntil(timeoutMs_, [&] {
            found = findVisibleWindow(process_.dwProcessId, title, className, withContent ? &content : nullptr,
                                      another ? current_ : nullptr);
            return found != nullptr;
        })) {
        std::string holding;
        if (withContent) {
            holding = content.kind == ControlRef::Kind::Template ? " with the controls of " : " with control ";
            holding += contentWord;
        }
        return "no visible window " + quoteWord(title) + " of class " + className + holding + " after " +
               describeTimeout() + (programRunning() ? "" : " (the program has ended)");
    }
    current_ = found;
    currentTitle_ = titleOf(found);
    return "";
}

namespace {

// Whether a window or one of its descendants has a part still to be painted.
BOOL CALLBACK findUnpaintedChild(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

bool waitsToBePainted(HWND window) {
    bool found = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    if (!found) EnumChildWindows(window, findUnpaintedChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

std::string Robot::waitUntilPainted() {
    const bool painted = waitUntil(timeoutMs_, [&] {
        for (const TopWindow& window : windowsOfProcess(process_.dwProcessId))
            if (window.visible && waitsToBePainted(window.handle)) return false;
        return true;
    });
    return painted ? "" : "the program's windows are still not painted after " + describeTimeout();
}

std::string Robot::checkText(const std::string& refWord, const std::string& expected, bool whole) {
    ControlRef ref;
    parseControlRef(refWord, ref);
    HWND control = nullptr;
    std::string actual;
    bool readable = false;
    const bool matched = waitUntil(timeoutMs_, [&] {
        control = findControl(current_, ref);
        readable = control != nullptr && readText(control, actual);
        return readable && (whole ? actual == expected : actual.find(expected) != std::string::npos);
    });
    if (matched) return "";
    if (control == nullptr) return "no " + describeControl(refWord, currentTitle_);
    if (!readable) return "the program does not answer";
    return "text is " + quoteWord(actual);
}

std::string Robot::click(const std::string& refWord) {
    ControlRef ref;
    parseControlRef(refWord, ref);
    if (ref.kind == ControlRef::Kind::Id && ref.id == 0) return "a window is not a control to click";
    // A user can click only what is there, visible and enabled, in a window that takes input.
    HWND control = nullptr;
    std::string obstacle;
    const bool clickable = waitUntil(timeoutMs_, [&] {
        control = findControl(current_, ref);
        if (control == nullptr) obstacle = "there is no " + describeControl(refWord, currentTitle_);
        else if (!IsWindowVisible(control)) obstacle = "it is hidden";
        else if (!IsWindowEnabled(control)) obstacle = "it is disabled";
        else if (!IsWindowEnabled(current_)) obstacle = "its window is disabled";
        else return true;
        return false;
    });
    if (!clickable) return obstacle + " after " + describeTimeout();
    if (isCheckable(control)) {
        // Check boxes and option buttons change their own state on a click, then tell the window.
        // Like a mouse click this gives them the keyboard focus, and a key in the next step must
        // find it there: wait until the focus is on the control or has moved on (to a window the
        // click opened, for example).
        HWND focusBefore = focusedControl();
        PostMessageA(control, BM_CLICK, 0, 0);
        if (!waitUntil(timeoutMs_, [&] {
                HWND focus = focusedControl();
                return focus == control || focus != focusBefore;
            })) {
            return "the click did not reach it within " + describeTimeout();
        }
    } else if (lstrcmpiA(classOf(control).c_str(), "Edit") == 0) {
        // A click into an edit control gives it the keyboard focus.
        PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        if (!waitUntil(timeoutMs_, [&] { return focusedControl() == control; }))
            return "it did not take the focus within " + describeTimeout();
    } else {
        const int id = GetDlgCtrlID(control);
        PostMessageA(current_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    }
    return "";
}

std::string Robot::type(const std::string& refWord, const std::string& text) {
    ControlRef ref;
    parseControlRef(refWord, ref);
    HWND control = nullptr;
    if (!waitUntil(timeoutMs_, [&] {
            control = findControl(current_, ref);
            return control != nullptr && IsWindowVisible(control) && IsWindowEnabled(control) &&
                   IsWindowEnabled(current_);
        })) {
        return "no visible and enabled " + describeControl(refWord, currentTitle_) + " in an enabled window after " +
               describeTimeout();
    }
    // Select everything and type over it character by character, so the control applies its own
    // rules (length limit, read-only, no scrolling) and notifies its window as for a user.
    DWORD_PTR ignored = 0;
    bool answered = SendMessageTimeoutA(control, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, messageTimeoutMs, &ignored) &&
                    SendMessageTimeoutA(control, WM_CHAR, '\b', 1, SMTO_ABORTIFHUNG, messageTimeoutMs, &ignored);
    for (std::size_t i = 0; answered && i < text.size(); ++i) {
        const char c = text[i] == '\n' ? '\r' : text[i];  // the Enter key types a carriage return
        answered = SendMessageTimeoutA(control, WM_CHAR, static_cast<unsigned char>(c), 1, SMTO_ABORTIFHUNG,
                                       messageTimeoutMs, &ignored) != 0;
    }
    return answered ? "" : "the program does not answer";
}

std::string Robot::pressKey(int virtualKey) {
    if (!IsWindowEnabled(current_)) return "the window is disabled";
    // The key goes to the control that has the keyboard focus (or to the window itself when none
    // has), as WM_KEYDOWN and WM_KEYUP. The program's message loop treats them as typed keys: in
    // a dialog the dialog manager presses the default button on Enter, sends IDCANCEL on Esc and
    // moves the focus on Tab. Being posted, they stay in order with later clicks.
    HWND focus = focusedControl();
    HWND target = focus != nullptr ? focus : current_;
    HWND focusAfter = focusAfterKey(target, virtualKey);
    const auto key = static_cast<WPARAM>(virtualKey);
    const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(virtualKey), 0)) << 16;
    const auto releaseBits = static_cast<LPARAM>(0xC0000000u);  // the key was down and is being released
    if (!PostMessageA(target, WM_KEYDOWN, key, scanCode | 1) ||
        !PostMessageA(target, WM_KEYUP, key, scanCode | 1 | releaseBits)) {
        return "cannot send the key (error " + std::to_string(GetLastError()) + ")";
    }
    // A key that moves the focus must have done so before the next key is aimed at the focus.
    if (focusAfter != nullptr && focusAfter != focus &&
        !waitUntil(timeoutMs_, [&] { return focusedControl() != focus; })) {
        return "the focus did not move to " + describeWindow(focusAfter) + " within " + describeTimeout();
    }
    return "";
}

HWND Robot::focusedControl() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(current_, nullptr), &info)) return nullptr;
    if (info.hwndFocus == nullptr || !(info.hwndFocus == current_ || IsChild(current_, info.hwndFocus))) return nullptr;
    return info.hwndFocus;
}

HWND Robot::focusAfterKey(HWND target, int virtualKey) const {
    // Only dialogs have the dialog manager's keyboard navigation.
    if (classOf(current_) != "#32770") return nullptr;
    const bool tab = virtualKey == VK_TAB;
    const bool arrow = virtualKey == VK_LEFT || virtualKey == VK_UP || virtualKey == VK_RIGHT || virtualKey == VK_DOWN;
    if (!tab && !arrow) return nullptr;
    // The dialog manager first asks the control whether it wants the key itself.
    MSG keyMessage{};
    keyMessage.hwnd = target;
    keyMessage.message = WM_KEYDOWN;
    keyMessage.wParam = static_cast<WPARAM>(virtualKey);
    DWORD_PTR wanted = 0;
    SendMessageTimeoutA(target, WM_GETDLGCODE, keyMessage.wParam, reinterpret_cast<LPARAM>(&keyMessage),
                        SMTO_ABORTIFHUNG, messageTimeoutMs, &wanted);
    if (wanted & (DLGC_WANTMESSAGE | DLGC_WANTALLKEYS)) return nullptr;
    HWND from = target == current_ ? nullptr : target;
    if (tab) return (wanted & DLGC_WANTTAB) ? nullptr : GetNextDlgTabItem(current_, from, FALSE);
    if (wanted & DLGC_WANTARROWS) return nullptr;
    return GetNextDlgGroupItem(current_, from, virtualKey == VK_LEFT || virtualKey == VK_UP);
}

std::string Robot::closeWindow() {
    const LONG_PTR style = GetWindowLongPtrA(current_, GWL_STYLE);
    if ((style & WS_CAPTION) != WS_CAPTION || !(style & WS_SYSMENU)) return "the window has no close box";
    PostMessageA(current_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return "";
}

std::string Robot::checkState(const std::string& stepName, const std::string& refWord) {
    // Each state step: its condition, and the word for what is seen while it does not hold.
    struct StateRule {
        const char* stepName;
        bool (*holds)(HWND control);
        const char* otherwise;
    };
    static const StateRule rules[] = {
        {"enabled", [](HWND c) { return IsWindowEnabled(c) != FALSE; }, "disabled"},
        {"disabled", [](HWND c) { return IsWindowEnabled(c) == FALSE; }, "enabled"},
        {"visible", [](HWND c) { return IsWindowVisible(c) != FALSE; }, "hidden"},
        {"hidden", [](HWND c) { return IsWindowVisible(c) == FALSE; }, "visible"},
        {"checked", [](HWND c) { return checkStateOf(c) == BST_CHECKED; }, "not checked"},
        {"unchecked", [](HWND c) { return checkStateOf(c) == BST_UNCHECKED; }, "checked"},
    };
    const StateRule* rule = nullptr;
    for (const StateRule& candidate : rules) {
        if (stepName == candidate.stepName) rule = &candidate;
    }
    if (rule == nullptr) return "unknown step " + quoteWord(stepName);
    ControlRef ref;
    parseControlRef(refWord, ref);
    HWND control = nullptr;
    if (waitUntil(timeoutMs_, [&] { return (control = findControl(current_, ref)) != nullptr && rule->holds(control); })) {
        return "";
    }
    if (control == nullptr) return "no " + describeControl(refWord, currentTitle_);
    return std::string("still ") + rule->otherwise + " after " + describeTimeout();
}

std::string Robot::answerMessage(const std::string& caption, const std::string& text, int buttonId,
                                 const std::string& answer) {
    HWND box = nullptr;
    std::string actual;
    const bool found = waitUntil(timeoutMs_, [&] {
        box = findVisibleWindow(process_.dwProcessId, caption, "#32770");
        HWND textControl = box != nullptr ? GetDlgItem(box, messageBoxTextId) : nullptr;
        if (textControl == nullptr || !readText(textControl, actual)) return false;
        return text == "*" || actual == text;
    });
    if (!found) {
        if (box == nullptr) return "no message box " + quoteWord(caption) + " after " + describeTimeout();
        return "the message box says " + quoteWord(actual);
    }
    HWND button = GetDlgItem(box, buttonId);
    if (button == nullptr || !IsWindowVisible(button) || !IsWindowEnabled(button)) {
        return "the message box has no usable " + answer + " button";
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    if (!waitUntil(timeoutMs_, [&] { return !IsWindow(box) || !IsWindowVisible(box); })) {
        return "the message box is still there after " + describeTimeout();
    }
    return "";
}

std::string Robot::waitUntilGone(const std::string& title) {
    const bool gone = waitUntil(timeoutMs_, [&] {
        for (const TopWindow& window : windowsOfProcess(process_.dwProcessId)) {
            if (window.visible && window.title == title) return false;
        }
        return true;
    });
    return gone ? "" : "the window " + quoteWord(title) + " is still there after " + describeTimeout();
}

std::string Robot::waitForFile(const std::string& path, int minimumBytes) {
    LARGE_INTEGER size{};
    const auto bigEnough = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
        size.LowPart = data.nFileSizeLow;
        size.HighPart = static_cast<LONG>(data.nFileSizeHigh);
        return size.QuadPart >= minimumBytes;
    };
    if (waitUntil(timeoutMs_, bigEnough)) return "";
    return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES
               ? "no file " + quoteWord(path) + " after " + describeTimeout()
               : quoteWord(path) + " holds " + std::to_string(size.QuadPart) + " bytes after " + describeTimeout();
}

std::string Robot::waitForNoFile(const std::string& path) {
    if (waitUntil(timeoutMs_, [&] { return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; })) return "";
    return quoteWord(path) + " is still there after " + describeTimeout();
}

// As the task manager ends a program: at once, whatever it is doing.
std::string Robot::kill(std::vector<std::string>& notes) {
    DWORD code = 0;
    if (!programRunning()) {
        GetExitCodeProcess(process_.hProcess, &code);
        notes.push_back("the program had ended already, exit code " + std::to_string(static_cast<int>(code)));
        return "";
    }
    return endProgram() ? "" : "the program still runs five seconds after it was ended";
}

std::string Robot::waitForExit(int expectedCode) {
    if (WaitForSingleObject(process_.hProcess, timeoutMs_) != WAIT_OBJECT_0) {
        return "the program still runs after " + describeTimeout();
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    const auto actual = static_cast<int>(code);
    return actual == expectedCode ? "" : "the exit code is " + std::to_string(actual);
}

std::string Robot::listWindows(std::vector<std::string>& notes) {
    for (const TopWindow& window : windowsOfProcess(process_.dwProcessId)) {
        notes.push_back(hexHandle(window.handle) + " " + quoteWord(window.title) + " " + window.className +
                        (window.visible ? " visible" : " hidden") + (window.enabled ? " enabled" : " disabled") +
                        (window.handle == current_ ? " (current)" : ""));
    }
    if (notes.empty()) notes.push_back(programRunning() ? "no windows" : "no windows (the program has ended)");
    return "";
}

std::string Robot::listControls(std::vector<std::string>& notes) {
    std::map<std::string, int> classCounts;
    for (HWND child = GetWindow(current_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string className = classOf(child);
        std::string text;
        readText(child, text);
        std::string line = std::to_string(GetDlgCtrlID(child)) + " " + className + ":" +
                           std::to_string(++classCounts[className]) + " " + quoteWord(text) +
                           (IsWindowVisible(child) ? " visible" : " hidden") +
                           (IsWindowEnabled(child) ? " enabled" : " disabled");
        if (isCheckable(child)) line += checkStateOf(child) == BST_CHECKED ? " checked" : " unchecked";
        notes.push_back(line);
    }
    if (notes.empty()) notes.push_back("no controls");
    return "";
}

}  // namespace quillset::robot
