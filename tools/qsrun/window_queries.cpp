#include "window_queries.h"

#include <tlhelp32.h>

#include <algorithm>

namespace quillset::robot {
namespace {

// Conditions are polled this often until they hold or the step's time-out has passed.
constexpr DWORD pollIntervalMs = 15;

struct WindowSearch {
    std::vector<DWORD> processIds;
    std::vector<TopWindow> found;
};

// The process and every process it started, and they started: a single-file installer's windows
// are those of the Setup.exe it starts.
std::vector<DWORD> processAndDescendants(DWORD processId) {
    std::vector<DWORD> family{processId};
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return family;
    std::vector<PROCESSENTRY32> all;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) all.push_back(entry);
    CloseHandle(snapshot);
    for (std::size_t i = 0; i < family.size(); ++i)
        for (const PROCESSENTRY32& process : all)
            if (process.th32ParentProcessID == family[i] &&
                std::find(family.begin(), family.end(), process.th32ProcessID) == family.end())
                family.push_back(process.th32ProcessID);
    return family;
}

BOOL CALLBACK collectWindowOfProcess(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (std::find(search->processIds.begin(), search->processIds.end(), owner) != search->processIds.end()) {
        search->found.push_back(TopWindow{window, titleOf(window), classOf(window), IsWindowVisible(window) != FALSE,
                                          IsWindowEnabled(window) != FALSE});
    }
    return TRUE;
}

// Whether a window or one of its descendants has a part still to be painted.
BOOL CALLBACK findUnpaintedChild(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::string classOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool waitsToBePainted(HWND window) {
    bool found = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    if (!found) EnumChildWindows(window, findUnpaintedChild, reinterpret_cast<LPARAM>(&found));
    return found;
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
    WindowSearch search{processAndDescendants(processId), {}};
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

bool isOwnedBy(HWND window, HWND owner) {
    for (HWND up = GetWindow(window, GW_OWNER); up != nullptr; up = GetWindow(up, GW_OWNER)) {
        if (up == owner) return true;
    }
    return false;
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

}  // namespace quillset::robot
