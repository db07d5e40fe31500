// What a user does to the program: clicks, typing, keys, the close box and message box answers.
// Everything is posted or sent to the program's windows, so it handles them in order as it would
// the user's.
#include "robot.h"

namespace quillset::robot {
namespace {

// A control as a failed key names it: ID, class and text.
std::string describeWindow(HWND control) {
    std::string text;
    readText(control, text);
    return std::to_string(GetDlgCtrlID(control)) + " " + classOf(control) + " " + quoteWord(text);
}

}  // namespace

std::string Robot::click(const ControlRef& ref) {
    if (std::string missing = requireCurrentWindow(); !missing.empty()) return missing;
    if (ref.kind == ControlRef::Kind::Id && ref.id == 0) return "a window is not a control to click";
    // A user can click only what is there, visible and enabled, in a window that takes input.
    HWND control = nullptr;
    std::string obstacle;
    const bool clickable = waitUntil(timeoutMs_, [&] {
        control = findControl(current_, ref);
        if (control == nullptr) obstacle = "there is no " + describeControl(ref);
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

std::string Robot::type(const ControlRef& ref, const std::string& text) {
    if (std::string missing = requireCurrentWindow(); !missing.empty()) return missing;
    HWND control = nullptr;
    if (!waitUntil(timeoutMs_, [&] {
            control = findControl(current_, ref);
            return control != nullptr && IsWindowVisible(control) && IsWindowEnabled(control) &&
                   IsWindowEnabled(current_);
        })) {
        return "no visible and enabled " + describeControl(ref) + " in an enabled window after " +
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
    if (std::string missing = requireCurrentWindow(); !missing.empty()) return missing;
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
    if (std::string missing = requireCurrentWindow(); !missing.empty()) return missing;
    const LONG_PTR style = GetWindowLongPtrA(current_, GWL_STYLE);
    if ((style & WS_CAPTION) != WS_CAPTION || !(style & WS_SYSMENU)) return "the window has no close box";
    PostMessageA(current_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return "";
}

std::string Robot::answerMessage(const std::string& caption, const std::string& text, int buttonId) {
    if (std::string missing = requireProgram(); !missing.empty()) return missing;
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
        return "the message box has no usable " + answerName(buttonId) + " button";
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    if (!waitUntil(timeoutMs_, [&] { return !IsWindow(box) || !IsWindowVisible(box); })) {
        return "the message box is still there after " + describeTimeout();
    }
    return "";
}

}  // namespace quillset::robot
