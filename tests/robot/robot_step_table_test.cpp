// The step table: each step name reaches its own typed call, with its arguments converted and the
// defaults of the arguments left out. A recorder stands in for the robot.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "scenario_parser.h"

namespace quillset::robot {
namespace {

std::string join(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    return text;
}

std::string show(const std::optional<ControlRef>& ref) { return ref ? ref->word : "-"; }
std::string show(const ScreenColor& c) {
    return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
}
std::string show(std::optional<int> value) { return value ? std::to_string(*value) : "-"; }

// Writes each call as "call(arguments)"; controls as the word they were read from, with their kind.
class Recorder : public StepActions {
public:
    std::vector<std::string> calls;

    void setTimeout(unsigned long ms) override { record("setTimeout", std::to_string(ms)); }
    std::string start(const std::string& program, const std::vector<std::string>& arguments) override {
        return record("start", program + " [" + join(arguments) + "]");
    }
    std::string startUninstall(const std::string& app, const std::string& value) override {
        return record("startUninstall", app + " " + value);
    }
    std::string waitForExit(int code) override { return record("waitForExit", std::to_string(code)); }
    std::string waitForExitUnseen(int code) override { return record("waitForExitUnseen", std::to_string(code)); }
    std::string kill(std::vector<std::string>&) override { return record("kill", ""); }
    std::string endSession(std::vector<std::string>&) override { return record("endSession", ""); }
    std::string deleteFile(const std::string& path) override { return record("deleteFile", path); }
    std::string writeFile(const std::string& path, const std::string& text) override {
        return record("writeFile", path + " " + text);
    }
    std::string renameFile(const std::string& from, const std::string& to) override {
        return record("renameFile", from + " " + to);
    }
    std::string waitForFile(const std::string& path, int bytes) override {
        return record("waitForFile", path + " " + std::to_string(bytes));
    }
    std::string waitForNoFile(const std::string& path) override { return record("waitForNoFile", path); }
    std::string waitForWindow(const std::string& title, const std::string& className,
                              const std::optional<ControlRef>& content) override {
        return record("waitForWindow", title + " " + className + " " + show(content));
    }
    std::string waitForAnotherWindow(const std::string& title, const std::string& className,
                                     const std::optional<ControlRef>& content) override {
        return record("waitForAnotherWindow", title + " " + className + " " + show(content));
    }
    std::string waitUntilGone(const std::string& title) override { return record("waitUntilGone", title); }
    std::string waitForText(const ControlRef& c, const std::string& text) override {
        return record("waitForText", control(c) + " " + text);
    }
    std::string waitForTextContaining(const ControlRef& c, const std::string& part) override {
        return record("waitForTextContaining", control(c) + " " + part);
    }
    std::string waitForState(const ControlRef& c, ControlState state) override {
        static const char* const names[] = {"enabled", "disabled", "visible", "hidden", "checked", "unchecked"};
        return record("waitForState", control(c) + " " + names[static_cast<int>(state)]);
    }
    std::string listWindows(std::vector<std::string>&) override { return record("listWindows", ""); }
    std::string listControls(std::vector<std::string>&) override { return record("listControls", ""); }
    std::string waitForRow(const ControlRef& list, int row, const std::string& states,
                           const std::vector<std::string>& texts) override {
        return record("waitForRow", control(list) + " " + std::to_string(row) + " " + states + " [" + join(texts) + "]");
    }
    std::string waitForRowCount(const ControlRef& list, int count) override {
        return record("waitForRowCount", control(list) + " " + std::to_string(count));
    }
    std::string clickRow(const ControlRef& list, std::optional<int> row) override {
        return record("clickRow", control(list) + " " + show(row));
    }
    std::string waitForFreeSpace(const ControlRef& c, const std::string& root) override {
        return record("waitForFreeSpace", control(c) + " " + root);
    }
    std::string click(const ControlRef& c) override { return record("click", control(c)); }
    std::string type(const ControlRef& c, const std::string& text) override {
        return record("type", control(c) + " " + text);
    }
    std::string pressKey(int key) override { return record("pressKey", std::to_string(key)); }
    std::string closeWindow() override { return record("closeWindow", ""); }
    std::string answerMessage(const std::string& caption, const std::string& text, int buttonId) override {
        return record("answerMessage", caption + " " + text + " " + std::to_string(buttonId));
    }
    std::string screenshot(const std::string& path) override { return record("screenshot", path); }
    std::string waitForPixel(int x, int y, const ScreenColor& color, int tolerance) override {
        return record("waitForPixel",
                      std::to_string(x) + " " + std::to_string(y) + " " + show(color) + " " + std::to_string(tolerance));
    }
    std::string waitForPixelCount(const ScreenArea& a, const ScreenColor& color, int tolerance, int minimum,
                                  std::optional<int> maximum) override {
        return record("waitForPixelCount", std::to_string(a.left) + " " + std::to_string(a.top) + " " +
                                               std::to_string(a.right) + " " + std::to_string(a.bottom) + " " +
                                               show(color) + " " + std::to_string(tolerance) + " " +
                                               std::to_string(minimum) + " " + show(maximum));
    }

private:
    static std::string control(const ControlRef& ref) {
        static const char* const kinds[] = {"id", "class", "text", "template"};
        return ref.word + "=" + kinds[static_cast<int>(ref.kind)];
    }
    std::string record(const std::string& call, const std::string& arguments) {
        calls.push_back(call + "(" + arguments + ")");
        return "";
    }
};

TEST(RobotStepTable, EveryStepReachesItsOwnCall) {
    const struct {
        const char* line;
        const char* call;
    } cases[] = {
        {"start Setup.exe /s \"x y\"", "start(Setup.exe [/s x y])"},
        {"start-uninstall \"QS Run\"", "startUninstall(QS Run UninstallString)"},
        {"start-uninstall \"QS Run\" QuietUninstallString", "startUninstall(QS Run QuietUninstallString)"},
        {"window Setup", "waitForWindow(Setup #32770 -)"},
        {"window * SETUPMAINCLASS IDD_COPY", "waitForWindow(* SETUPMAINCLASS IDD_COPY)"},
        {"another-window Setup #32770 IDC_NEXT", "waitForAnotherWindow(Setup #32770 IDC_NEXT)"},
        {"text 1001 hello", "waitForText(1001=id hello)"},
        {"text-contains Edit:2 ell", "waitForTextContaining(Edit:2=class ell)"},
        {"click @Next", "click(@Next=text)"},
        {"type IDC_DEST_PATH C:\\x", "type(IDC_DEST_PATH=id C:\\x)"},
        {"key TAB", "pressKey(9)"},
        {"close", "closeWindow()"},
        {"enabled 1", "waitForState(1=id enabled)"},
        {"disabled 1", "waitForState(1=id disabled)"},
        {"visible 1", "waitForState(1=id visible)"},
        {"hidden 1", "waitForState(1=id hidden)"},
        {"checked 1", "waitForState(1=id checked)"},
        {"unchecked 1", "waitForState(1=id unchecked)"},
        {"message Quit * NO", "answerMessage(Quit * 7)"},
        {"gone Setup", "waitUntilGone(Setup)"},
        {"exit -5", "waitForExit(-5)"},
        {"exit-unseen 3010", "waitForExitUnseen(3010)"},
        {"windows", "listWindows()"},
        {"controls", "listControls()"},
        {"screenshot a.png", "screenshot(a.png)"},
        {"delete a.txt", "deleteFile(a.txt)"},
        {"write a.txt \"two words\"", "writeFile(a.txt two words)"},
        {"rename disk1 disk1.away", "renameFile(disk1 disk1.away)"},
        {"file a.txt", "waitForFile(a.txt 0)"},
        {"file a.txt 300", "waitForFile(a.txt 300)"},
        {"no-file a.txt", "waitForNoFile(a.txt)"},
        {"kill", "kill()"},
        {"end-session", "endSession()"},
        {"pixel 200 300 1 2 3", "waitForPixel(200 300 1,2,3 0)"},
        {"wait-pixel 200 300 1 2 3 4", "waitForPixel(200 300 1,2,3 4)"},
        {"pixels 0 0 10 20 255 0 0 8 5", "waitForPixelCount(0 0 10 20 255,0,0 8 5 -)"},
        {"pixels 0 0 10 20 255 0 0 8 5 9", "waitForPixelCount(0 0 10 20 255,0,0 8 5 9)"},
        {"pixels 0 0 10 20 255 0 0 8 5 -1", "waitForPixelCount(0 0 10 20 255,0,0 8 5 -)"},  // a negative MAX: none
        {"timeout 0.5", "setTimeout(500)"},
        {"row IDC_SECTION_LIST 1 selected,focused Docs \"1 kb\"",
         "waitForRow(IDC_SECTION_LIST=id 1 selected,focused [Docs 1 kb])"},
        {"row SysListView32:1 0 -", "waitForRow(SysListView32:1=class 0 - [])"},
        {"rows IDC_SECTION_LIST 2", "waitForRowCount(IDC_SECTION_LIST=id 2)"},
        {"click-row IDC_SECTION_LIST 1", "clickRow(IDC_SECTION_LIST=id 1)"},
        {"click-row IDC_SECTION_LIST below", "clickRow(IDC_SECTION_LIST=id -)"},
        {"free-space IDC_DEST_FREE_SPACE C:\\", "waitForFreeSpace(IDC_DEST_FREE_SPACE=id C:\\)"},
    };
    std::set<std::string> reached;
    for (const auto& c : cases) {
        const Scenario scenario = parseScenario(c.line);
        ASSERT_EQ(scenario.error, "") << c.line;
        ASSERT_EQ(scenario.steps.size(), 1u) << c.line;
        Recorder recorder;
        std::vector<std::string> notes;
        EXPECT_EQ(recorder.run(scenario.steps[0], notes), "") << c.line;
        EXPECT_EQ(recorder.calls, std::vector<std::string>{c.call}) << c.line;
        reached.insert(scenario.steps[0].name);
    }
    // A step added to the table needs a case here.
    for (const StepDefinition& definition : stepDefinitions())
        EXPECT_EQ(reached.count(definition.name), 1u) << definition.name;
}

// A step that the reader would refuse is refused by run too, before it reaches the robot.
TEST(RobotStepTable, RunRefusesWhatTheReaderRefuses) {
    const struct {
        Step step;
        const char* error;
    } cases[] = {
        {Step{1, "klick 1", "klick", {"1"}}, "unknown step \"klick\""},
        {Step{1, "click", "click", {}}, "click takes 1 argument(s), not 0"},
        {Step{1, "click IDD_COPY", "click", {"IDD_COPY"}},
         "\"IDD_COPY\" is a dialog template, not a control (only window steps name templates)"},
        {Step{1, "timeout soon", "timeout", {"soon"}}, "not a number of seconds: \"soon\""},
    };
    for (const auto& c : cases) {
        Recorder recorder;
        std::vector<std::string> notes;
        EXPECT_EQ(recorder.run(c.step, notes), c.error) << c.step.source;
        EXPECT_TRUE(recorder.calls.empty()) << c.step.source;
    }
}

}  // namespace
}  // namespace quillset::robot
