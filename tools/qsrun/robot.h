// The robot: starts one Windows program and does to it what a user would, through the typed
// calls of step_table.h (robot.exe runs scenarios through them, qsrun's walk calls them directly).
// Its parts, one file each:
//   process_steps.cpp  starting the program (from the Uninstall entry too), its exit code, ending it
//   window_steps.cpp   waiting for windows, texts and states; listing windows and controls (what
//                      they look at: window_queries.h, which qsrun's walk uses too)
//   input_steps.cpp    clicks, typing, keys, the close box, message box answers
//   list_steps.cpp     list view rows (states, texts, clicks) and the free-space display
//   file_steps.cpp     files changed or awaited while the program runs
//   screen_steps.cpp   screenshots and pixels
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "step_table.h"
#include "window_queries.h"

namespace quillset::robot {

class Robot : public StepActions {
public:
    Robot() = default;
    Robot(const Robot&) = delete;
    Robot& operator=(const Robot&) = delete;
    ~Robot() override;  // ends a program that still runs, with everything it started

    void setTimeout(unsigned long milliseconds) override { timeoutMs_ = milliseconds; }

    // process_steps.cpp: `program` is resolved in the current directory (".exe" may be left out);
    // one program at a time, and only its windows count from then on.
    std::string start(const std::string& program, const std::vector<std::string>& arguments) override;
    // The command a value of the application's Uninstall entry holds, as Windows starts it.
    std::string startUninstall(const std::string& appName, const std::string& valueName) override;
    std::string waitForExit(int expectedCode) override;
    // As waitForExit, failing at the first visible window of the program.
    std::string waitForExitUnseen(int expectedCode) override;
    // As the task manager ends a program; notes the exit code of one that had ended already.
    std::string kill(std::vector<std::string>& notes) override;
    // WM_QUERYENDSESSION to every top-level window of the program and of what it started, then
    // WM_ENDSESSION, each answer waited for, then the processes ended, as Windows ends them.
    std::string endSession(std::vector<std::string>& notes) override;
    bool programRunning() const;
    // The started program (0 and null before a start), and its exit code once it has ended.
    DWORD processId() const { return process_.dwProcessId; }
    const std::string& programPath() const { return programPath_; }
    // Whether the started program is a 32-bit one that this 64-bit robot's Wine may not run.
    bool startedThirtyTwoBitProgram() const;
    bool exitCode(int& code) const;
    // Called with the started program's main thread while it is still suspended, before it runs
    // a single instruction of its own (qsrun hooks the thread's dialogs there).
    void setBeforeResume(std::function<void(DWORD threadId)> call) { beforeResume_ = std::move(call); }
    // Ends the started program and every process it started; false if it is still there after
    // five seconds.
    bool endProgram();

    // file_steps.cpp: paths relative to the current directory.
    std::string deleteFile(const std::string& path) override;
    std::string writeFile(const std::string& path, const std::string& text) override;
    std::string renameFile(const std::string& from, const std::string& to) override;
    std::string waitForFile(const std::string& path, int minimumBytes) override;
    std::string waitForNoFile(const std::string& path) override;

    // window_steps.cpp: a window found becomes the current one, which the control steps work on.
    std::string waitForWindow(const std::string& title, const std::string& className,
                              const std::optional<ControlRef>& content) override;
    std::string waitForAnotherWindow(const std::string& title, const std::string& className,
                                     const std::optional<ControlRef>& content) override;
    std::string waitUntilGone(const std::string& title) override;
    std::string waitForText(const ControlRef& control, const std::string& text) override;
    std::string waitForTextContaining(const ControlRef& control, const std::string& part) override;
    std::string waitForState(const ControlRef& control, ControlState state) override;
    std::string listWindows(std::vector<std::string>& notes) override;
    std::string listControls(std::vector<std::string>& notes) override;
    // Makes a window that the caller found the current one, as a window step would.
    void setCurrentWindow(HWND window);
    // Before a screenshot: until no window of the program waits to be painted.
    std::string waitUntilPainted();

    // list_steps.cpp
    std::string waitForRow(const ControlRef& list, int row, const std::string& states,
                           const std::vector<std::string>& texts) override;
    std::string waitForRowCount(const ControlRef& list, int count) override;
    std::string clickRow(const ControlRef& list, std::optional<int> row) override;
    std::string waitForFreeSpace(const ControlRef& control, const std::string& root) override;
    // The texts of a list view's rows (first column); empty when it does not answer.
    std::vector<std::string> rowTexts(HWND list) const;
    // Every cell of a list view's rows, row by row; empty when it does not answer.
    std::vector<std::vector<std::string>> rowCells(HWND list) const;

    // input_steps.cpp: clicks and keys are posted, so the program handles them in order; a call
    // that acts does not wait for the effect, the next call that checks does.
    std::string click(const ControlRef& control) override;
    std::string type(const ControlRef& control, const std::string& text) override;
    std::string pressKey(int virtualKey) override;
    std::string closeWindow() override;
    // The current window stays as it was.
    std::string answerMessage(const std::string& caption, const std::string& text, int buttonId) override;

    // screen_steps.cpp: the whole screen, after the program's windows are painted.
    std::string screenshot(const std::string& path) override;
    std::string waitForPixel(int x, int y, const ScreenColor& color, int tolerance) override;
    std::string waitForPixelCount(const ScreenArea& area, const ScreenColor& color, int tolerance, int minimum,
                                  std::optional<int> maximum) override;

private:
    // What a step needs before it can act: a started program, and a current window still there.
    std::string requireProgram() const;
    std::string requireCurrentWindow() const;
    std::string describeTimeout() const;                      // "10 s"
    // Starts `commandLine` suspended in a job of its own and lets it run; `applicationName` empty:
    // Windows reads the program from the command line.
    std::string launch(const std::string& programPath, const std::string& applicationName, std::string commandLine);
    // "" when the ended program's exit code is `expectedCode`, otherwise what it is.
    std::string exitCodeOtherThan(int expectedCode) const;
    std::string describeControl(const ControlRef& ref) const;  // "control IDC_NEXT of "Title""
    std::string findWindow(const std::string& title, const std::string& className,
                           const std::optional<ControlRef>& content, HWND except);
    std::string checkText(const ControlRef& control, const std::string& expected, bool whole);
    HWND focusedControl() const;
    HWND focusAfterKey(HWND target, int virtualKey) const;
    HWND listControl(const ControlRef& list, std::string& why) const;

    PROCESS_INFORMATION process_{};  // hProcess is null until a program was started
    HANDLE job_ = nullptr;           // holds the program and its children, killed together
    std::function<void(DWORD)> beforeResume_;
    std::string programPath_;  // the started program's full path
    HWND current_ = nullptr;
    std::string currentTitle_;
    unsigned long timeoutMs_ = 10000;
};

}  // namespace quillset::robot
