#include "step_table.h"

#include <cstdlib>
#include <cstring>

namespace quillset::robot {
namespace {

using Words = std::vector<std::string>;
using Notes = std::vector<std::string>;

// The arguments reach these after checkStep: the conversions cannot fail.
int integer(const std::string& word) {
    int value = 0;
    parseInt(word, value);
    return value;
}

ControlRef control(const std::string& word) {
    ControlRef ref;
    parseControlRef(word, ref);
    return ref;
}

std::optional<ControlRef> optionalControl(const Words& a, std::size_t i) {
    if (i >= a.size()) return std::nullopt;
    return control(a[i]);
}

const std::string& wordOr(const Words& a, std::size_t i, const std::string& otherwise) {
    return i < a.size() ? a[i] : otherwise;
}

// Dialogs and message boxes, the class a window step means unless it names another.
const std::string dialogClass = "#32770";

ScreenColor color(const Words& a, std::size_t first) {
    return ScreenColor{integer(a[first]), integer(a[first + 1]), integer(a[first + 2])};
}

std::string waitForPixel(StepActions& robot, const Words& a, Notes&) {
    return robot.waitForPixel(integer(a[0]), integer(a[1]), color(a, 2), a.size() > 5 ? integer(a[5]) : 0);
}

template <ControlState state>
std::string waitForState(StepActions& robot, const Words& a, Notes&) {
    return robot.waitForState(control(a[0]), state);
}

const std::vector<StepDefinition> definitions = {
    {"start", 1, -1, "w",
     [](StepActions& robot, const Words& a, Notes&) { return robot.start(a[0], Words(a.begin() + 1, a.end())); }},
    {"start-uninstall", 1, 2, "ww",
     [](StepActions& robot, const Words& a, Notes&) {
         return robot.startUninstall(a[0], wordOr(a, 1, "UninstallString"));
     }},
    {"window", 1, 3, "wwt",
     [](StepActions& robot, const Words& a, Notes&) {
         return robot.waitForWindow(a[0], wordOr(a, 1, dialogClass), optionalControl(a, 2));
     }},
    {"another-window", 1, 3, "wwt",
     [](StepActions& robot, const Words& a, Notes&) {
         return robot.waitForAnotherWindow(a[0], wordOr(a, 1, dialogClass), optionalControl(a, 2));
     }},
    {"text", 2, 2, "cw",
     [](StepActions& robot, const Words& a, Notes&) { return robot.waitForText(control(a[0]), a[1]); }},
    {"text-contains", 2, 2, "cw",
     [](StepActions& robot, const Words& a, Notes&) { return robot.waitForTextContaining(control(a[0]), a[1]); }},
    {"click", 1, 1, "c", [](StepActions& robot, const Words& a, Notes&) { return robot.click(control(a[0])); }},
    {"type", 2, 2, "cw", [](StepActions& robot, const Words& a, Notes&) { return robot.type(control(a[0]), a[1]); }},
    {"key", 1, 1, "k",
     [](StepActions& robot, const Words& a, Notes&) {
         int virtualKey = 0;
         parseKey(a[0], virtualKey);
         return robot.pressKey(virtualKey);
     }},
    {"close", 0, 0, "", [](StepActions& robot, const Words&, Notes&) { return robot.closeWindow(); }},
    {"enabled", 1, 1, "c", waitForState<ControlState::enabled>},
    {"disabled", 1, 1, "c", waitForState<ControlState::disabled>},
    {"checked", 1, 1, "c", waitForState<ControlState::checked>},
    {"unchecked", 1, 1, "c", waitForState<ControlState::unchecked>},
    {"visible", 1, 1, "c", waitForState<ControlState::visible>},
    {"hidden", 1, 1, "c", waitForState<ControlState::hidden>},
    {"message", 3, 3, "wwa",
     [](StepActions& robot, const Words& a, Notes&) {
         int buttonId = 0;
         parseAnswer(a[2], buttonId);
         return robot.answerMessage(a[0], a[1], buttonId);
     }},
    {"gone", 1, 1, "w", [](StepActions& robot, const Words& a, Notes&) { return robot.waitUntilGone(a[0]); }},
    {"exit", 1, 1, "i", [](StepActions& robot, const Words& a, Notes&) { return robot.waitForExit(integer(a[0])); }},
    {"exit-unseen", 1, 1, "i",
     [](StepActions& robot, const Words& a, Notes&) { return robot.waitForExitUnseen(integer(a[0])); }},
    {"windows", 0, 0, "", [](StepActions& robot, const Words&, Notes& notes) { return robot.listWindows(notes); }},
    {"controls", 0, 0, "", [](StepActions& robot, const Words&, Notes& notes) { return robot.listControls(notes); }},
    {"screenshot", 1, 1, "w", [](StepActions& robot, const Words& a, Notes&) { return robot.screenshot(a[0]); }},
    {"delete", 1, 1, "w", [](StepActions& robot, const Words& a, Notes&) { return robot.deleteFile(a[0]); }},
    {"write", 2, 2, "ww", [](StepActions& robot, const Words& a, Notes&) { return robot.writeFile(a[0], a[1]); }},
    {"rename", 2, 2, "ww", [](StepActions& robot, const Words& a, Notes&) { return robot.renameFile(a[0], a[1]); }},
    {"file", 1, 2, "wi",
     [](StepActions& robot, const Words& a, Notes&) {
         return robot.waitForFile(a[0], a.size() > 1 ? integer(a[1]) : 0);
     }},
    {"no-file", 1, 1, "w", [](StepActions& robot, const Words& a, Notes&) { return robot.waitForNoFile(a[0]); }},
    {"kill", 0, 0, "", [](StepActions& robot, const Words&, Notes& notes) { return robot.kill(notes); }},
    {"end-session", 0, 0, "", [](StepActions& robot, const Words&, Notes& notes) { return robot.endSession(notes); }},
    {"pixel", 5, 6, "iibbbb", waitForPixel},
    {"wait-pixel", 5, 6, "iibbbb", waitForPixel},
    {"pixels", 9, 10, "iiiibbbbii",
     [](StepActions& robot, const Words& a, Notes&) {
         const ScreenArea area{integer(a[0]), integer(a[1]), integer(a[2]), integer(a[3])};
         // A negative MAX, like none, sets no upper bound.
         const int maximum = a.size() > 9 ? integer(a[9]) : -1;
         return robot.waitForPixelCount(area, color(a, 4), integer(a[7]), integer(a[8]),
                                        maximum >= 0 ? std::optional<int>(maximum) : std::nullopt);
     }},
    {"timeout", 1, 1, "s",
     [](StepActions& robot, const Words& a, Notes&) {
         unsigned long milliseconds = 0;
         parseSeconds(a[0], milliseconds);
         robot.setTimeout(milliseconds);
         return std::string();
     }},
    {"row", 3, 5, "ciwww",
     [](StepActions& robot, const Words& a, Notes&) {
         return robot.waitForRow(control(a[0]), integer(a[1]), a[2], Words(a.begin() + 3, a.end()));
     }},
    {"rows", 2, 2, "ci",
     [](StepActions& robot, const Words& a, Notes&) { return robot.waitForRowCount(control(a[0]), integer(a[1])); }},
    // The row is "below" or a number; any other word has always counted as its leading digits (atoi).
    {"click-row", 2, 2, "cw",
     [](StepActions& robot, const Words& a, Notes&) {
         const std::optional<int> row = a[1] == "below" ? std::nullopt : std::optional<int>(std::atoi(a[1].c_str()));
         return robot.clickRow(control(a[0]), row);
     }},
    {"free-space", 2, 2, "cw",
     [](StepActions& robot, const Words& a, Notes&) { return robot.waitForFreeSpace(control(a[0]), a[1]); }},
};

const StepDefinition* findDefinition(const std::string& name) {
    for (const StepDefinition& definition : definitions) {
        if (name == definition.name) return &definition;
    }
    return nullptr;
}

// Checks one argument against its kind letter; returns an empty string or the complaint.
std::string checkArgument(char kind, const std::string& word) {
    int number = 0;
    unsigned long milliseconds = 0;
    ControlRef ref;
    switch (kind) {
        case 'c':
        case 't':
            if (!parseControlRef(word, ref)) {
                return looksLikeResourceName(word)
                           ? "resource_ids.h names no control or dialog template " + quoteWord(word)
                           : "not a control (ID, IDC_ name, Class:N or @Text): " + quoteWord(word);
            }
            if (ref.kind == ControlRef::Kind::Template && kind == 'c') {
                return quoteWord(word) + " is a dialog template, not a control (only window steps name templates)";
            }
            return "";
        case 'i':
            return parseInt(word, number) ? "" : "not an integer: " + quoteWord(word);
        case 'b':
            return parseInt(word, number) && number >= 0 && number <= 255
                       ? ""
                       : "not a value from 0 to 255: " + quoteWord(word);
        case 's':
            return parseSeconds(word, milliseconds) ? "" : "not a number of seconds: " + quoteWord(word);
        case 'k':
            return parseKey(word, number) ? "" : "unknown key: " + quoteWord(word);
        case 'a':
            return parseAnswer(word, number) ? "" : "unknown answer: " + quoteWord(word);
        default:
            return "";
    }
}

}  // namespace

const std::vector<StepDefinition>& stepDefinitions() { return definitions; }

std::string checkStep(const Step& step) {
    const StepDefinition* definition = findDefinition(step.name);
    if (definition == nullptr) return "unknown step " + quoteWord(step.name);
    const int count = static_cast<int>(step.args.size());
    if (count < definition->minArgs || (definition->maxArgs >= 0 && count > definition->maxArgs)) {
        std::string expected = std::to_string(definition->minArgs);
        if (definition->maxArgs < 0) expected += " or more";
        else if (definition->maxArgs != definition->minArgs) expected += " to " + std::to_string(definition->maxArgs);
        return step.name + " takes " + expected + " argument(s), not " + std::to_string(count);
    }
    const std::size_t kindCount = std::strlen(definition->kinds);
    for (std::size_t i = 0; i < step.args.size() && kindCount > 0; ++i) {
        const char kind = definition->kinds[i < kindCount ? i : kindCount - 1];
        const std::string complaint = checkArgument(kind, step.args[i]);
        if (!complaint.empty()) return complaint;
    }
    return "";
}

std::string StepActions::run(const Step& step, std::vector<std::string>& notes) {
    const std::string problem = checkStep(step);
    if (!problem.empty()) return problem;
    return findDefinition(step.name)->carryOut(*this, step.args, notes);
}

}  // namespace quillset::robot
