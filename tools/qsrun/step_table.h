// The robot's steps, each written once: a table from a step's name to the arguments it takes and
// the typed call it makes on `StepActions`. The scenario reader checks steps against it (names,
// argument counts, argument kinds) and `StepActions::run` carries them out through it. The robot
// (robot.h) implements the calls against a running program; qsrun's walk makes them directly.
// Portable (no <windows.h>), so it is unit tested natively with a recorder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scenario_words.h"

namespace quillset::robot {

// One step of a scenario: the step name and its arguments, as written.
struct Step {
    int line = 0;                    // 1-based line in the scenario file
    std::string source;              // the line without surrounding blanks, for the report
    std::string name;                // "click", "window", ...
    std::vector<std::string> args;   // after unquoting
};

// The states a control is waited for in.
enum class ControlState { enabled, disabled, visible, hidden, checked, unchecked };

// What the steps do. Every call returns an empty string when it held, otherwise why not; calls
// that wait give up after the time-out (setTimeout). Calls that list something append to `notes`.
class StepActions {
public:
    virtual ~StepActions() = default;

    // Carries out one step through the step table: an empty string when it held, otherwise why
    // not (an unknown step or arguments that parseScenario would refuse included).
    std::string run(const Step& step, std::vector<std::string>& notes);

    // The time-out of the calls that wait.
    virtual void setTimeout(unsigned long milliseconds) = 0;

    // The program and its process (process_steps.cpp).
    virtual std::string start(const std::string& program, const std::vector<std::string>& arguments) = 0;
    // Starts the command that `valueName` (UninstallString, QuietUninstallString) of the
    // application's Uninstall entry holds, as Windows' list of programs starts it.
    virtual std::string startUninstall(const std::string& appName, const std::string& valueName) = 0;
    virtual std::string waitForExit(int expectedCode) = 0;
    // Waits for the end as waitForExit does, and fails as soon as the program shows a window.
    virtual std::string waitForExitUnseen(int expectedCode) = 0;
    virtual std::string kill(std::vector<std::string>& notes) = 0;
    // Ends the Windows session for the program as Windows does, then ends the program.
    virtual std::string endSession(std::vector<std::string>& notes) = 0;

    // Files the program works on (file_steps.cpp).
    virtual std::string deleteFile(const std::string& path) = 0;
    virtual std::string writeFile(const std::string& path, const std::string& text) = 0;
    virtual std::string renameFile(const std::string& from, const std::string& to) = 0;
    virtual std::string waitForFile(const std::string& path, int minimumBytes) = 0;
    virtual std::string waitForNoFile(const std::string& path) = 0;

    // Windows and controls as they are (window_steps.cpp). A window with `content` holds that
    // control, or every control of that dialog template.
    virtual std::string waitForWindow(const std::string& title, const std::string& className,
                                      const std::optional<ControlRef>& content) = 0;
    // Never the current window, which a click may be closing (the next dialog of a kind).
    virtual std::string waitForAnotherWindow(const std::string& title, const std::string& className,
                                             const std::optional<ControlRef>& content) = 0;
    virtual std::string waitUntilGone(const std::string& title) = 0;
    virtual std::string waitForText(const ControlRef& control, const std::string& text) = 0;
    virtual std::string waitForTextContaining(const ControlRef& control, const std::string& part) = 0;
    virtual std::string waitForState(const ControlRef& control, ControlState state) = 0;
    virtual std::string listWindows(std::vector<std::string>& notes) = 0;
    virtual std::string listControls(std::vector<std::string>& notes) = 0;

    // List views and the free-space display (list_steps.cpp). `states`: "selected", "focused",
    // "selected,focused" or "-"; `texts`: the first columns' texts, as many as are given.
    virtual std::string waitForRow(const ControlRef& list, int row, const std::string& states,
                                   const std::vector<std::string>& texts) = 0;
    virtual std::string waitForRowCount(const ControlRef& list, int count) = 0;
    // Without a row: a click below the rows.
    virtual std::string clickRow(const ControlRef& list, std::optional<int> row) = 0;
    virtual std::string waitForFreeSpace(const ControlRef& control, const std::string& root) = 0;

    // What a user does (input_steps.cpp).
    virtual std::string click(const ControlRef& control) = 0;
    virtual std::string type(const ControlRef& control, const std::string& text) = 0;
    virtual std::string pressKey(int virtualKey) = 0;
    virtual std::string closeWindow() = 0;
    // `text` "*" takes any text; `buttonId` IDOK ... IDNO (parseAnswer).
    virtual std::string answerMessage(const std::string& caption, const std::string& text, int buttonId) = 0;

    // The screen (screen_steps.cpp). `maximum`: none when not given.
    virtual std::string screenshot(const std::string& path) = 0;
    virtual std::string waitForPixel(int x, int y, const ScreenColor& color, int tolerance) = 0;
    virtual std::string waitForPixelCount(const ScreenArea& area, const ScreenColor& color, int tolerance, int minimum,
                                          std::optional<int> maximum) = 0;
};

// A step's definition. `kinds` says what each argument must look like, one letter per position:
//   w any word, c control reference, t control reference or dialog template, i integer,
//   b integer 0..255, s seconds, k key, a answer.
// The last letter repeats when a step takes more arguments than letters (start's program
// arguments); `maxArgs` -1 means no upper limit. `carryOut` gets arguments that passed checkStep.
struct StepDefinition {
    const char* name;
    int minArgs;
    int maxArgs;
    const char* kinds;
    std::string (*carryOut)(StepActions& robot, const std::vector<std::string>& args, std::vector<std::string>& notes);
};

// Every step, in the order the README lists them.
const std::vector<StepDefinition>& stepDefinitions();

// An empty string when the step's name is known and its arguments fit, otherwise the complaint
// (without the line, which the scenario reader adds).
std::string checkStep(const Step& step);

}  // namespace quillset::robot
