// The robot's steps that wait for windows, texts and states, or list what is there.
#include <cstdio>
#include <map>

#include "robot.h"

namespace quillset::robot {
namespace {

std::string hexHandle(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

}  // namespace

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
    // Back to the window that owns the current one (a page after its folder browser or another
    // dialog of its own): the dialog enables its owner before it hides itself, so for a moment
    // both are there and enabled. A user works on the owner once the dialog has gone; so does
    // the robot, or its next click could reach the closing dialog and its next step find it. (A
    // destroyed window is not visible either.)
    if (isOwnedBy(current_, found) && !waitUntil(timeoutMs_, [&] { return !IsWindowVisible(current_); })) {
        return "its window " + quoteWord(currentTitle_) + " is still open after " + describeTimeout();
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
