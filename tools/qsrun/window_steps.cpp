// Looking at the program's windows (window_steps.h), and the robot's steps that wait for windows,
// texts and states or list what is there.
#include "window_steps.h"

#include <cstdio>
#include <map>

#include "robot.h"

namespace quillset::robot {
namespace {

// Conditions are polled this often until they hold or the step's time-out has passed.
constexpr DWORD pollIntervalMs = 15;

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

std::string hexHandle(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

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

HWND findVisibleWindow(DWORD processId, const std::string& title, const std::string& className,
                       const ControlRef* content, HWND except) {
    for (const TopWindow& window : windowsOfProcess(processId)) {
        if (window.visible && window.handle != except && (title == "*" || window.title == title) &&
            lstrcmpiA(window.className.c_str(), className.c_str()) == 0 &&
            (content == nullptr || findControl(window.handle, *content) != nullptr)) {
            return window.handle;
        }
    }
    return nullptr;
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

std::string Robot::describeControl(const ControlRef& ref) const {
    return "control " + ref.word + " of " + quoteWord(currentTitle_);
}

void Robot::setCurrentWindow(HWND window) {
    current_ = window;
    currentTitle_ = titleOf(window);
}

std::string Robot::waitForWindow(const std::string& title, const std::string& className,
                                 const std::optional<ControlRef>& content) {
    return findWindow(title, className, content, nullptr);
}

std::string Robot::waitForAnotherWindow(const std::string& title, const std::string& className,
                                        const std::optional<ControlRef>& content) {
    return findWindow(title, className, content, current_);
}

std::string Robot::findWindow(const std::string& title, const std::string& className,
                              const std::optional<ControlRef>& content, HWND except) {
    if (std::string missing = requireProgram(); !missing.empty()) return missing;
    HWND found = nullptr;
    if (!waitUntil(timeoutMs_, [&] {
            found = findVisibleWindow(process_.dwProcessId, title, className, content ? &*content : nullptr, except);
            return found != nullptr;
        })) {
        std::string holding;
        if (content) {
            holding = content->kind == ControlRef::Kind::Template ? " with the controls of " : " with control ";
            holding += content->word;
        }
        return "no visible window " + quoteWord(title) + " of class " + className + holding + " after " +
               describeTimeout() + (programRunning() ? "" : " (the program has ended)");
    }
    setCurrentWindow(found);
    return "";
}

std::string Robot::waitUntilGone(const std::string& title) {
    if (std::string missing = requireProgram(); !missing.empty()) return missing;
    const bool gone = waitUntil(timeoutMs_, [&] {
        for (const TopWindow& window : windowsOfProcess(process_.dwProcessId)) {
            if (window.visible && window.title == title) return false;
        }
        return true;
    });
    return gone ? "" : "the window " + quoteWord(title) + " is still there after " + describeTimeout();
}

std::string Robot::waitUntilPainted() {
    const bool painted = waitUntil(timeoutMs_, [&] {
        for (const TopWindow& window : windowsOfProcess(process_.dwProcessId))
            if (window.visible && waitsToBePainted(window.handle)) return false;
        return true;
    });
    return painted ? "" : "the program's windows are still not painted after " + describeTimeout();
}

std::string Robot::waitForText(const ControlRef& control, const std::string& text) {
    return checkText(control, text, true);
}

std::string Robot::waitForTextContaining(const ControlRef& control, const std::string& part) {
    return checkText(control, part, false);
}

std::string Robot::checkText(const ControlRef& ref, const std::string& expected, bool whole) {
    if (std::string missing = requireCurrentWindow(); !missing.empty()) return missing;
    HWND control = nullptr;
    std::string actual;
    bool readable = false;
    const bool matched = waitUntil(timeoutMs_, [&] {
        control = findControl(current_, ref);
        readable = control != nullptr && readText(control, actual);
        return readable && (whole ? actual == expected : actual.find(expected) != std::string::npos);
    });
    if (matched) return "";
    if (control == nullptr) return "no " + describeControl(ref);
    if (!readable) return "the program does not answer";
    return "text is " + quoteWord(actual);
}

std::string Robot::waitForState(const ControlRef& ref, ControlState state) {
    // Each state: its condition, and the word for what is seen while it does not hold.
    struct StateRule {
        ControlState state;
        bool (*holds)(HWND control);
        const char* otherwise;
    };
    static const StateRule rules[] = {
        {ControlState::enabled, [](HWND c) { return IsWindowEnabled(c) != FALSE; }, "disabled"},
        {ControlState::disabled, [](HWND c) { return IsWindowEnabled(c) == FALSE; }, "enabled"},
        {ControlState::visible, [](HWND c) { return IsWindowVisible(c) != FALSE; }, "hidden"},
        {ControlState::hidden, [](HWND c) { return IsWindowVisible(c) == FALSE; }, "visible"},
        {ControlState::checked, [](HWND c) { return checkStateOf(c) == BST_CHECKED; }, "not checked"},
        {ControlState::unchecked, [](HWND c) { return checkStateOf(c) == BST_UNCHECKED; }, "checked"},
    };
    if (std::string missing = requireCurrentWindow(); !missing.empty()) return missing;
    const StateRule* rule = &rules[0];
    for (const StateRule& candidate : rules) {
        if (candidate.state == state) rule = &candidate;
    }
    HWND control = nullptr;
    if (waitUntil(timeoutMs_, [&] { return (control = findControl(current_, ref)) != nullptr && rule->holds(control); })) {
        return "";
    }
    if (control == nullptr) return "no " + describeControl(ref);
    return std::string("still ") + rule->otherwise + " after " + describeTimeout();
}

std::string Robot::listWindows(std::vector<std::string>& notes) {
    if (std::string missing = requireProgram(); !missing.empty()) return missing;
    for (const TopWindow& window : windowsOfProcess(process_.dwProcessId)) {
        notes.push_back(hexHandle(window.handle) + " " + quoteWord(window.title) + " " + window.className +
                        (window.visible ? " visible" : " hidden") + (window.enabled ? " enabled" : " disabled") +
                        (window.handle == current_ ? " (current)" : ""));
    }
    if (notes.empty()) notes.push_back(programRunning() ? "no windows" : "no windows (the program has ended)");
    return "";
}

std::string Robot::listControls(std::vector<std::string>& notes) {
    if (std::string missing = requireCurrentWindow(); !missing.empty()) return missing;
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
