#include "interpreter.h"

#include <cstdint>

#include "earlier_installation.h"
#include "folder_short_names.h"
#include "path_text.h"
#include "process_names.h"
#include "script_number.h"

namespace quillset {

const char* const kSyntaxErrorText =
    "Syntax error in 'SetupScript.INI': Function is not defined (possibly wrong parameter count?)\n"
    "Setup cannot be continued.";
const char* const kSyntaxErrorCaption = "Fatal error";

std::string forbiddenProcessText(const std::string& lowerCaseName) {
    return "This setup demands that " + lowerCaseName + " does not run. Please close it and try again.";
}

namespace {

using Arguments = std::vector<std::string>;

// What one statement asks of the loop.
enum class Step { next, pageEnded, installationStopped, forbiddenProcess, syntaxError };

struct Command {
    const char* name;
    std::size_t argumentCount;
    Step (*run)(SetupState&, SetupHost&, Arguments&);
};

std::string substituted(SetupState& state, std::string text) {
    state.variables.substituteVariables(text);
    return text;
}

// An application installed before is upgraded where it lives: DP starts at the folder its entry
// in the list of programs names, as long as that folder still holds its Uninstall.log (a script
// that sets DP afterwards still decides).
Step setAppName(SetupState& state, SetupHost& host, Arguments& a) {
    const std::string name = substituted(state, a[0]);
    state.variables.set("APPNAME", name);
    state.variables.set("PROGRAMGROUP", name);
    const std::string earlier = earlierInstallationFolder(host.readUninstallEntry(name), [&](const std::string& log) {
        const std::vector<FoundFile> found = host.findFiles(log);
        return !found.empty() && !found.front().isDirectory;
    });
    state.variables.set("DP", earlier.empty() ? state.session.programFilesDir + name + "\\" : earlier);
    return Step::next;
}

Step setBackground(SetupState& state, SetupHost& host, Arguments& a) {
    state.appearance.backgroundTop = {scriptNumber(a[0]), scriptNumber(a[1]), scriptNumber(a[2])};
    state.appearance.backgroundBottom = {scriptNumber(a[3]), scriptNumber(a[4]), scriptNumber(a[5])};
    host.repaintMainWindow();
    return Step::next;
}

Step setRedrawWait(SetupState& state, SetupHost&, Arguments& a) {
    state.appearance.redrawWait = scriptNumber(a[0]);
    return Step::next;
}

Step setDeveloperName(SetupState& state, SetupHost&, Arguments& a) {
    state.variables.set("DEVELOPERNAME", substituted(state, a[0]));
    return Step::next;
}

Step setVariable(SetupState& state, SetupHost&, Arguments& a) {
    const std::string name = substituted(state, a[0]);
    const std::string value = substituted(state, a[1]);
    state.variables.set(name, value);
    return Step::next;
}

Step setWelcomeString(SetupState& state, SetupHost&, Arguments& a) {
    const std::string text = substituted(state, a[0]);
    const std::string title = substituted(state, a[1]);
    state.variables.set("WELCOMESTRING_CAP", title);
    state.variables.set("WELCOMESTRING", text);
    return Step::next;
}

Step setWelcomeString2(SetupState& state, SetupHost&, Arguments& a) {
    state.variables.set("WELCOMESTRING2", substituted(state, a[0]));
    return Step::next;
}

Step setCaption(SetupState& state, SetupHost&, Arguments& a) {
    state.variables.set("CAPTION", substituted(state, a[0]));
    return Step::next;
}

Step setCaptionColor(SetupState& state, SetupHost&, Arguments& a) {
    state.appearance.captionColor = makeColorRef(scriptNumber(a[0]), scriptNumber(a[1]), scriptNumber(a[2]));
    state.appearance.captionColor2 = makeColorRef(scriptNumber(a[3]), scriptNumber(a[4]), scriptNumber(a[5]));
    return Step::next;
}

Step setCaptionSize(SetupState& state, SetupHost&, Arguments& a) {
    state.appearance.captionSize = scriptNumber(a[0]);
    return Step::next;
}

Step setCaptionPos(SetupState& state, SetupHost&, Arguments& a) {
    Appearance& appearance = state.appearance;
    appearance.captionX = scriptNumber(a[0]);
    appearance.captionY = scriptNumber(a[1]);
    appearance.captionX2 = scriptNumber(a[2]);
    appearance.captionY2 = scriptNumber(a[3]);
    return Step::next;
}

Step createSection(SetupState& state, SetupHost&, Arguments& a) {
    InstallSection section;
    section.name = a[0];
    section.mustInstall = scriptNumber(a[1]);
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
    entry.createShortcut = scriptNumber(a[8]) != 0;
    entry.shortcutName = a[9];

    const std::string directory = folderPrefixOf(pattern);
    const bool destinationIsDirectory = !destination.empty() && destination.back() == '\\';

    const std::vector<FoundFile> listing = host.findFiles(pattern);
    // A listing of the whole folder tells which short names are the files' own; installing them
    // then needs no question to the platform per file.
    FolderShortNames shortNames;
    if (listsWholeFolder(pattern))
        for (const FoundFile& found : listing) shortNames.add(found.name, found.shortName);
    for (const FoundFile& found : listing) {
        // Dot-names cover "." and ".." and every hidden Unix-style name; subdirectories are not
        // descended into.
        if (found.isDirectory || found.name.empty() || found.name[0] == '.') continue;
        entry.sourcePath = directory + found.name;
        entry.sourceShortName = shortNames.shortFormOf(found.name);
        entry.destinationPath = destinationIsDirectory ? destination + found.name : destination;
        state.files.push_back(entry);
    }
    return Step::next;
}

Step showMessage(SetupState& state, SetupHost& host, Arguments& a) {
    a[0] = substituted(state, a[0]);
    a[1] = substituted(state, a[1]);
    if (messageTrigger(a[3]) == MessageTrigger::now)
        host.showMessage(a[0], a[1], MessageIcon::None);
    else
        state.storedStatements.push_back(storedMessage(a));
    return Step::next;
}

Step addWindow(SetupState& state, SetupHost&, Arguments& a) {
    CustomControl control;
    control.pageName = a[0];
    control.controlName = a[1];
    control.type = a[2];
    control.text = substituted(state, a[3]);
    control.left = scriptNumber(a[5]);
    control.top = scriptNumber(a[6]);
    control.right = scriptNumber(a[7]);
    control.bottom = scriptNumber(a[8]);
    state.controls.push_back(control);
    return Step::next;
}

Step setNextDynamicState(SetupState& state, SetupHost&, Arguments& a) {
    state.storedStatements.push_back(dynamicState(a));
    return Step::next;
}

Step checkButton(SetupState& state, SetupHost&, Arguments& a) {
    state.storedStatements.push_back(CheckedButton{a[0]});
    return Step::next;
}

Step forbidProcess(SetupState&, SetupHost& host, Arguments& a) {
    // Process names are compared with their letters A-Z in lower case, and shown so.
    const std::string name = lowerCaseAscii(a[0]);
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
    {"SetNextDynamicState", 5, setNextDynamicState},
    {"CheckButton", 1, checkButton},
    {"ForbidProcess", 1, forbidProcess},
};

const Command* findCommand(const std::string& name) {
    for (const Command& command : kCommands)
        if (name == command.name) return &command;
    return nullptr;
}

RunResult syntaxError(SetupHost& host) {
    host.showMessage(kSyntaxErrorText, kSyntaxErrorCaption, MessageIcon::Error);
    return {RunOutcome::stopped, SetupExitCode::syntaxError};
}

// The page statements (ShowWelcome, ...) come from the page table; they take no arguments.
// Unknown commands are skipped without a word.
Step runStatement(const std::string& name, Arguments& arguments, SetupState& state, SetupHost& host) {
    if (const PageDescription* page = findPageShownBy(name)) {
        if (!arguments.empty()) return Step::syntaxError;
        switch (host.showPage(page->page)) {
            case PageResult::next: return Step::next;
            case PageResult::installationStopped: return Step::installationStopped;
            default: return Step::pageEnded;
        }
    }
    const Command* command = findCommand(name);
    if (command == nullptr) return Step::next;
    if (arguments.size() != command->argumentCount) return Step::syntaxError;
    return command->run(state, host, arguments);
}

}  // namespace

std::vector<CommandSignature> knownCommands() {
    std::vector<CommandSignature> commands;
    for (const PageDescription& page : kPageTable) commands.push_back({page.statement, 0});
    for (const Command& command : kCommands) commands.push_back({command.name, command.argumentCount});
    return commands;
}

const CommandSignature* findKnownCommand(const std::string& name) {
    static const std::vector<CommandSignature> commands = knownCommands();
    for (const CommandSignature& command : commands)
        if (name == command.name) return &command;
    return nullptr;
}

RunResult runStatements(const SetupScript& script, SetupState& state, SetupHost& host) {
    for (int i = 0; i < script.statementCount(); ++i) {
        std::string name;
        Arguments arguments;
        if (script.getStatement(i, name, arguments) != 0) return syntaxError(host);

        switch (runStatement(name, arguments, state, host)) {
            case Step::next:
                break;
            case Step::pageEnded:
                // The quit code is not the program's exit code: the run ends normally with 0.
                host.postQuit(9);
                return {RunOutcome::runEndedByPage, SetupExitCode::normal};
            case Step::installationStopped:
                // The files before the stop stay installed, logged and registered for uninstalling;
                // whoever started the setup learns that it did not finish.
                host.postQuit(9);
                return {RunOutcome::runEndedByPage, SetupExitCode::installationStopped};
            case Step::forbiddenProcess:
                return {RunOutcome::stopped, SetupExitCode::forbiddenProcess};
            case Step::syntaxError:
                return syntaxError(host);
        }
    }
    return {RunOutcome::runCompleted, SetupExitCode::normal};
}

}  // namespace quillset
