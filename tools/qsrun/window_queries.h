// Looking at another program's windows without changing anything: its top-level windows, their
// controls, texts and check states, and the polling every waiting step uses. Shared by the robot's
// step files (robot.h) and qsrun's walk.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "scenario_words.h"

namespace quillset::robot {

// A single message to the program (reading a text, typing a character) may take this long
// before the program counts as not answering.
constexpr UINT messageTimeoutMs = 2000;

// Polls `condition` until it holds or `timeoutMs` has passed; it is always tried once more at
// the end, so a step with time-out 0 still checks its condition once.
bool waitUntil(unsigned long timeoutMs, const std::function<bool()>& condition);

struct TopWindow {
    HWND handle;
    std::string title;
    std::string className;
    bool visible;
    bool enabled;
};
// The top-level windows of one process and of the processes it started, front to back.
std::vector<TopWindow> windowsOfProcess(DWORD processId);
// A visible top-level window of the process with this title ("*": any) and class and, when
// `content` is given, holding that control (pages that share a title differ in their controls);
// never `except`. Null while there is none.
HWND findVisibleWindow(DWORD processId, const std::string& title, const std::string& className,
                       const ControlRef* content = nullptr, HWND except = nullptr);
// Whether `owner` is the window's owner, or its owner's, and so on up the chain.
bool isOwnedBy(HWND window, HWND owner);
std::string classOf(HWND window);
// Whether the window or one of its visible controls still has a part to paint.
bool waitsToBePainted(HWND window);
std::string titleOf(HWND window);

// Asks the window itself for its text; false when the program does not answer in time.
bool readText(HWND window, std::string& text);
// The control a step names, or null while there is none.
HWND findControl(HWND parent, const ControlRef& ref);
// Check boxes, option buttons and three-state buttons.
bool isCheckable(HWND control);
// BM_GETCHECK's answer, -1 when the program does not answer.
LRESULT checkStateOf(HWND control);
// The text control of the system's message boxes (the same ID under Windows and Wine).
constexpr int messageBoxTextId = 0xFFFF;

}  // namespace quillset::robot
