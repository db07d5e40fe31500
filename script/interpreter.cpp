#include "interpreter.h"

#include <cstdint>

#include "script_number.h"

namespace quillset {

const char* const kSyntaxErrorText =
    "Syntax error in 'SetupScript.INI': Function is not defined (possibly wrong parameter count?)\n"
    "Setup cannot be continued.";
const char* const kSyntaxErrorCaption = "Fatal error";

std::string forbiddenProcessText(const std::string& lowerCaseName) {
    return "This setup demands that " + lowerCaseName + " does not run. Please close it and try again.";
}

const char* pageName(Page page) {
    switch (page) {
        case Page::Welcome: return PageName::Welcome;
        case Page::Destination: return PageName::Destination;
        case Page::Sections: return PageName::Sections;
        case Page::ProgramGroup: return PageName::ProgramGroup;
        case Page::Copy: return PageName::Copy;
    }
    return "";
}

int pageTemplateId(Page page) {
    switch (page) {
        case Page::Welcome: return 101;
        case Page::Destination: return 106;
        case Page::Sections: return 105;
        case Page::ProgramGroup: return 113;
        case Page::Copy: return 111;
    }
    return 0;
}

namespace {

using Arguments = std::vector<std::string>;

// What one statement asks of the loop.
enum class Step { next, pageEnded, forbiddenProcess };

struct Command {
    const char* name;
    std::size_t argumentCount;
    Step (*run)(SetupState&, SetupHost&, Arguments&);
};

std::string substituted(SetupState& state, std::string text) {
    state.variables.substituteVariables(text);
    return text;
}

Step showPage(SetupHost& host, Page page) { return host.showPage(page) == 0 ? Step::next : Step::pageEnded; }

Step setAppName(SetupState& state, SetupHost&, Arguments& a) {
    const std::string name = substituted(state, a[0]);
    state.variables["APPNAME"] = name;
    state.variables["PROGRAMGROUP"] = name;
    state.variables["DP"] = state.programFilesDir + name + "\\";
    return Step::next;
}

Step setBackground(SetupState& state, SetupHost& host, Arguments& a) {
    state.backgroundTop = {scriptNumber(a[0]), scriptNumber(a[1]), scriptNumber(a[2])};
    state.backgroundBottom = {scriptNumber(a[3]), scriptNumber(a[4]), scriptNumber(a[5])};
    host.repaintMainWindow();
    return Step::next;
}

Step setRedrawWait(SetupState& state, SetupHost&, Arguments& a) {
    state.redrawWait = scriptNumber(a[0]);
    return Step::next;
}

Step setDeveloperName(SetupState& state, SetupHost&, Arguments& a) {
    state.variables["DEVELOPERNAME"] = substituted(state, a[0]);
    return Step::next;
}

Step setVariable(SetupState& state, SetupHost&, Arguments& a) {
    const std::string name = substituted(state, a[0]);
    const std::string value = substituted(state, a[1]);
    state.variables[name] = value;
    return Step::next;
}

Step setWelcomeString(SetupState& state, SetupHost&, Arguments& a) {
    const std::string text = substituted(state, a[0]);
    const std::string title = substituted(state, a[1]);
    state.variables["WELCOMESTRING_CAP"] = title;
    state.variables["WELCOMESTRING"] = text;
    return Step::next;
}

Step setWelcomeString2(SetupState& state, SetupHost&, Arguments& a) {
    state.variables["WELCOMESTRING2"] = substituted(state, a[0]);
    return Step::next;
}

Step setCaption(SetupState& state, SetupHost&, Arguments& a) {
    state.variables["CAPTION"] = substituted(state, a[0]);
    return Step::next;
}

Step setCaptionColor(SetupState& state, SetupHost&, Arguments& a) {
    state.captionColor = makeColorRef(scriptNumber(a[0]), scriptNumber(a[1]), scriptNumber(a[2]));
    state.captionColor2 = makeColorRef(scriptNumber(a[3]), scriptNumber(a[4]), scriptNumber(a[5]));
    return Step::next;
}

Step setCaptionSize(SetupState& state, SetupHost&, Arguments& a) {
    state.captionSize = scriptNumber(a[0]);
    return Step::next;
}

Step setCaptionPos(SetupState& state, SetupHost&, Arguments& a) {
    state.captionX = scriptNumber(a[0]);
    state.captionY = scriptNumber(a[1]);
    state.captionX2 = scriptNumber(a[2]);
    state.captionY2 = scriptNumber(a[3]);
    return Step::next;
}

Step createSection(SetupState& state, SetupHost&, Arguments& a) {
    InstallSection section;
    section.name = a[0];
    section.mustInstall = scriptNumber(a[1]);
    section.third = scriptNumber(a[2]);
    section.description = a[3];
    state.sections.push_back(section);
    return Step::next;
}

Step addFile(SetupState& state, SetupHost& host, Arguments& a) {
    const std::string pattern = substituted(state, a[0]);
    const std::string& destination = a[1];

    InstallFileEntry entry;
    entry.sectionName = a[2];
    entry.shared = scriptNumber(a[3]) != 0;
    entry.diskNumber = static_cast<std::int16_t>(static_cast<std::uint16_t>(scriptNumber(a[4]) & 0xFFFF));
    entry.splitPart = scriptNumber(a[5]) != 0;
    entry.lastPart = scriptNumber(a[6]) != 0;
    entry.eighth = scriptNumber(a[7]) != 0;
    entry.createShortcut = scriptNumber(a[8]) != 0;
    entry.shortcutName = a[9];

    const std::size_t lastBackslash = pattern.rfind('\\');
    const std::string directory = lastBackslash == std::string::npos ? "" : pattern.substr(0, lastBackslash + 1);
    const bool destinationIsDirectory = !destination.empty() && destination.back() == '\\';

    for (const FoundFile& found : host.findFiles(pattern)) {
        // Dot-names cover "." and ".." and every hidden Unix-style name; subdirectories are not
        // descended into.
        if (found.isDirectory || found.name.empty() || found.name[0] == '.') continue;
        entry.sourcePath = directory + found.name;
        entry.destinationPath = destinationIsDirectory ? destination + found.name : destination;
        state.files.push_back(entry);
    }
    return Step::next;
}

Step showMessage(SetupState& state, SetupHost& host, Arguments& a) {
    a[0] = substituted(state, a[0]);
    a[1] = substituted(state, a[1]);
    if (a[3] == "NOW")
        host.showMessage(a[0], a[1], MessageIcon::None);
    else
        state.storedStatements.push_back(StoredStatement{"ShowMessage", a});
    return Step::next;
}

Step addWindow(SetupState& state, SetupHost&, Arguments& a) {
    CustomControl control;
    control.pageName = a[0];
    control.controlName = a[1];
    control.type = a[2];
    control.text = substituted(state, a[3]);
    control.fifth = scriptNumber(a[4]);
    control.left = scriptNumber(a[5]);
    control.top = scriptNumber(a[6]);
    control.right = scriptNumber(a[7]);
    control.bottom = scriptNumber(a[8]);
    state.controls.push_back(control);
    return Step::next;
}

Step showWelcome(SetupState&, SetupHost& host, Arguments&) { return showPage(host, Page::Welcome); }
Step showDest(SetupState&, SetupHost& host, Arguments&) { return showPage(host, Page::Destination); }
Step showSections(SetupState&, SetupHost& host, Arguments&) { return showPage(host, Page::Sections); }
Step showCopy(SetupState&, SetupHost& host, Arguments&) { return showPage(host, Page::Copy); }
Step showProgramGroup(SetupState&, SetupHost& host, Arguments&) { return showPage(host, Page::ProgramGroup); }

Step setNextDynamicState(SetupState& state, SetupHost&, Arguments& a) {
    state.storedStatements.push_back(StoredStatement{"SetNextDynamicState", a});
    return Step::next;
}

Step checkButton(SetupState& state, SetupHost&, Arguments& a) {
    state.storedStatements.push_back(StoredStatement{"CheckButton", a});
    return Step::next;
}

Step forbidProcess(SetupState&, SetupHost& host, Arguments& a) {
    std::string name = a[0];  // lower-cased by the test, and shown so
    if (!host.isProcessRunning(name)) return Step::next;
    host.showMessage(forbiddenProcessText(name), "Error", MessageIcon::None);
    return Step::forbiddenProcess;
}

const Command kCommands[] = {
    {"SetAppName", 1, setAppName},
    {"SetBackground", 6, setBackground},
    {"SetRedrawWait", 1, setRedrawWait},
    {"SetDeveloperName", 1, setDeveloperName},
    {"SetVariable", 2, setVariable},
    {"SetWelcomeString", 2, setWelcomeString},
    {"SetWelcomeString2", 1, setWelcomeString2},
    {"SetCaption", 1, setCaption},
    {"SetCaptionColor", 6, setCaptionColor},
    {"SetCaptionSize", 1, setCaptionSize},
    {"SetCaptionPos", 4, setCaptionPos},
    {"CreateSection", 4, createSection},
    {"AddFile", 10, addFile},
    {"ShowMessage", 4, showMessage},
    {"AddWindow", 9, addWindow},
    {"ShowWelcome", 0, showWelcome},
    {"ShowDest", 0, showDest},
    {"ShowSections", 0, showSections},
    {"ShowCopy", 0, showCopy},
    {"ShowProgramGroup", 0, showProgramGroup},
    {"SetNextDynamicState", 5, setNextDynamicState},
    {"CheckButton", 1, checkButton},
    {"ForbidProcess", 1, forbidProcess},
};

const Command* findCommand(const std::string& name) {
    for (const Command& command : kCommands)
        if (name == command.name) return &command;
    return nullptr;  // unknown commands are skipped without a word
}

RunResult syntaxError(SetupHost& host) {
    host.showMessage(kSyntaxErrorText, kSyntaxErrorCaption, MessageIcon::Error);
    return {RunOutcome::stopped, 2};
}

}  // namespace

RunResult runStatements(SetupState& state, SetupHost& host) {
    for (int i = 0; i < state.script.statementCount(); ++i) {
        std::string name;
        Arguments arguments;
        if (state.script.getStatement(i, name, arguments) != 0) return syntaxError(host);

        const Command* command = findCommand(name);
        if (command == nullptr) continue;
        if (arguments.size() != command->argumentCount) return syntaxError(host);

        switch (command->run(state, host, arguments)) {
            case Step::next:
                break;
            case Step::pageEnded:
                // The quit code is not the program's exit code: the run ends normally with 0.
                host.postQuit(9);
                return {RunOutcome::runEndedByPage, 0};
            case Step::forbiddenProcess:
                return {RunOutcome::stopped, 3};
        }
    }
    return {RunOutcome::runCompleted, 0};
}

}  // namespace quillset
