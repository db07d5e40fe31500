#include "custom_controls.h"

#include <algorithm>
#include <set>

#include "message_box.h"

namespace quillset {

namespace {

struct ControlKind {
    const char* type;
    const char* windowClass;
    DWORD style;
    DWORD extendedStyle;
};

const ControlKind kKinds[] = {
    {"CHECKBOX", "BUTTON", BS_AUTOCHECKBOX, 0},
    {"CHECKBOX_BTNSTYLE", "BUTTON", BS_PUSHLIKE | BS_AUTOCHECKBOX, 0},
    {"OPTION", "BUTTON", BS_AUTORADIOBUTTON, 0},
    {"OPTION_BTNSTYLE", "BUTTON", BS_PUSHLIKE | BS_AUTORADIOBUTTON, 0},
    {"LABEL", "STATIC", SS_LEFT, 0},
    {"EDIT", "EDIT", 0, WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW},
};

// Edit controls whose text the user changed since they last lost the focus.
std::set<HWND> changedEdits;

bool isClass(HWND window, const char* name) {
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    return lstrcmpiA(className, name) == 0;
}

// Whether this notification is the user's action on the control.
bool isAction(HWND control, WORD notification) {
    if (isClass(control, "Button")) return notification == BN_CLICKED;
    if (isClass(control, "Edit")) {
        if (notification == EN_CHANGE) changedEdits.insert(control);
        return notification == EN_KILLFOCUS && changedEdits.erase(control) > 0;
    }
    return true;
}

}  // namespace

void createPageControls(const SetupState& state, Win32Session& windows, HWND page, Page pageId) {
    const std::string name = pageName(pageId);
    if (windows.controlWindows.size() < state.controls.size()) windows.controlWindows.resize(state.controls.size());
    for (std::size_t index = 0; index < state.controls.size(); ++index) {
        const CustomControl& control = state.controls[index];
        if (control.pageName != name || windows.controlWindows[index] != nullptr) continue;
        ControlKind kind{control.type.c_str(), control.type.c_str(), 0, 0};
        for (const ControlKind& known : kKinds)
            if (control.type == known.type) kind = known;
        HWND window = CreateWindowExA(kind.extendedStyle, kind.windowClass, control.text.c_str(),
                                      WS_CHILD | WS_VISIBLE | kind.style, control.left, control.top,
                                      control.right - control.left, control.bottom - control.top, page, nullptr,
                                      windows.instance, nullptr);
        windows.controlWindows[index] = window;
        if (window == nullptr) continue;  // no such window class
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(windows.pageFont), TRUE);
        for (const StoredStatement& stored : state.storedStatements) {
            const auto* checked = std::get_if<CheckedButton>(&stored);
            if (checked != nullptr && checked->controlName == control.controlName)
                SendMessageA(window, BM_SETCHECK, BST_CHECKED, 0);
        }
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

void destroyPageControls(const SetupState& state, Win32Session& windows, Page pageId) {
    const std::string name = pageName(pageId);
    for (std::size_t index = 0; index < windows.controlWindows.size(); ++index) {
        HWND window = windows.controlWindows[index];
        if (state.controls[index].pageName != name || window == nullptr) continue;
        windows.controlWindows[index] = nullptr;
        changedEdits.erase(window);
        DestroyWindow(window);
    }
}

void RunButtonActions(const SetupState& state, const Win32Session& windows, HWND control, WORD notification) {
    if (control == nullptr || !isAction(control, notification)) return;
    const std::vector<HWND>& open = windows.controlWindows;
    const auto found = std::find(open.begin(), open.end(), control);
    if (found == open.end()) return;
    // Copied: a message box lets the timer and other messages run meanwhile.
    const std::string controlName = state.controls[static_cast<std::size_t>(found - open.begin())].controlName;
    const std::vector<StoredStatement> statements = state.storedStatements;
    for (const StoredStatement& stored : statements) {
        const auto* message = std::get_if<StoredMessage>(&stored);
        if (message != nullptr && message->trigger == MessageTrigger::controlAction &&
            message->controlName == controlName)
            showMessageBox(message->text, message->caption, MB_OK);
    }
}

}  // namespace quillset
