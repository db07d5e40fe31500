// The steps that act on the started program: starting it, finding its windows and controls,
// clicking, typing, pressing keys, answering message boxes, checking states and the exit code.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "scenario_parser.h"
#include "screen_steps.h"

namespace quillset::robot {

// Shared by the step files.
// Polls `condition` until it holds or `timeoutMs` has passed; it is always tried once more at
// the end, so a step with time-out 0 still checks its condition once.
bool waitUntil(unsigned long timeoutMs, const std::function<bool()>& condition);
// Asks the window itself for its text; false when the program does not answer in time.
bool readText(HWND window, std::string& text);
// The control a step names, or null while there is none.
HWND findControl(HWND parent, const ControlRef& ref);

// What qsrun's walk looks at besides the steps.
struct TopWindow {
    HWND handle;
    std::string title;
    std::string className;
    bool visible;
    bool enabled;
};
// The top-level windows of one process, front to back.
std::vector<TopWindow> windowsOfProcess(DWORD processId);
std::string classOf(HWND window);
std::string titleOf(HWND window);
// Check boxes, option buttons and three-state buttons.
bool isCheckable(HWND control);
// BM_GETCHECK's answer, -1 when the program does not answer.
LRESULT checkStateOf(HWND control);
// The text control of the system's message boxes (the same ID under Windows and Wine).
constexpr int messageBoxTextId = 0xFFFF;

class Robot {
public:
    Robot() = default;
    Robot(const Robot&) = delete;
    Robot& operator=(const Robot&) = delete;
    ~Robot();  // ends a program that still runs, with everything it started

    // Carries out one step (checked by parseScenario already). Returns an empty string when the
    // step held, otherwise why not. Listings (windows, controls) are appended to `notes`.
    std::string run(const Step& step, std::vector<std::string>& notes);

    bool programRunning() const;
    // The started program (0 and null before a start), and its exit code once it has ended.
    DWORD processId() const { return process_.dwProcessId; }
    const std::string& programPath() const { return programPath_; }
    bool exitCode(int& code) const;
    // Before a screenshot: until no window of the program waits to be painted.
    std::string waitUntilPainted();
    // Makes a window that the caller found the current one, as a window step would.
    void setCurrentWindow(HWND window);
    // The texts of a list view's rows (first column); empty when it does not answer.
    std::vector<std::string> rowTexts(HWND list) const;
    // Every cell of a list view's rows, row by row; empty when it does not answer.
    std::vector<std::vector<std::string>> rowCells(HWND list) const;
    // Called with the started program's main thread while it is still suspended, before it runs
    // a single instruction of its own (qsrun hooks the thread's dialogs there).
    void setBeforeResume(std::function<void(DWORD threadId)> call) { beforeResume_ = std::move(call); }
    // Ends the started program and every process it started; false if it is still there after
    // five seconds.
    bool endProgram();

private:
    std::string start(const std::vector<std::string>& args);
    std::string startUninstall(const std::string& appName);
    // `another`: never the current window, which a click may be closing (the next dialog of a kind).
    std::string waitForWindow(const std::string& title, const std::string& className, const std::string& contentWord,
                              bool another);
    std::string checkText(const std::string& refWord, const std::string& expected, bool whole);
    std::string click(const std::string& refWord);
    std::string type(const std::string& refWord, const std::string& text);
    std::string pressKey(int virtualKey);
    HWND focusedControl() const;
    HWND focusAfterKey(HWND target, int virtualKey) const;
    std::string closeWindow();
    std::string checkState(const std::string& stepName, const std::string& refWord);
    std::string answerMessage(const std::string& caption, const std::string& text, int buttonId,
                              const std::string& answer);
    std::string waitUntilGone(const std::string& title);
    std::string waitForExit(int expectedCode);
    std::string waitForFile(const std::string& path, int minimumBytes);
    std::string waitForNoFile(const std::string& path);
    std::string kill(std::vector<std::string>& notes);
    std::string listWindows(std::vector<std::string>& notes);
    std::string listControls(std::vector<std::string>& notes);
    std::string waitForPixel(int x, int y, const ScreenColor& wanted, int tolerance);
    std::string waitForPixelCount(const std::vector<std::string>& args);
    // List views (list_steps.cpp) and the free-space display.
    HWND listControl(const std::string& refWord, std::string& why) const;
    std::string checkRow(const std::vector<std::string>& args);
    std::string checkRowCount(const std::vector<std::string>& args);
    std::string clickRow(const std::vector<std::string>& args);
    std::string checkFreeSpace(const std::vector<std::string>& args);

    // The current window must still exist for steps that work on it.
    std::string requireCurrentWindow() const;
    std::string describeTimeout() const;

    PROCESS_INFORMATION process_{};  // hProcess is null until a program was started
    HANDLE job_ = nullptr;           // holds the program and its children, killed together
    std::function<void(DWORD)> beforeResume_;
    std::string programPath_;  // the started program's full path
    HWND current_ = nullptr;
    std::string currentTitle_;
    unsigned long timeoutMs_ = 10000;
};

}  // namespace quillset::robot
