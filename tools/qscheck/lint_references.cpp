// The checks of what statements name: sections, pages and controls that must exist, stored
// statements that never act, pages that come too late, and shortcut names.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_set>

#include "lint_script.h"
#include "page_list.h"
#include "script_number.h"
#include "stored_statement.h"

namespace quillset {
namespace {

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// What the script declares, by name, from its well-formed statements.
struct Declarations {
    std::vector<std::string> sections, sectionsWithFiles, controlNames, pages;
    std::unordered_set<std::string> controls;  // controlKey(page, name)
};

// One text for a page and a control name; the page's length first, so that no two pairs share it.
std::string controlKey(const std::string& page, const std::string& name) {
    return std::to_string(page.size()) + ':' + page + name;
}

Declarations collect(const LintScript& script) {
    Declarations declared;
    for (const PageDescription& page : kPageTable) declared.pages.push_back(page.name);
    for (std::size_t s = 0; s < script.statements().size(); ++s) {
        if (!script.wellFormed(s)) continue;
        const ScriptStatement& statement = script.statements()[s];
        const std::vector<std::string>& a = statement.arguments;
        if (statement.command == "CreateSection") declared.sections.push_back(a[0]);
        if (statement.command == "AddFile") declared.sectionsWithFiles.push_back(a[2]);
        if (statement.command == "AddWindow") {
            declared.controls.insert(controlKey(a[0], a[1]));
            declared.controlNames.push_back(a[1]);
        }
    }
    return declared;
}

// A script may declare thousands of sections and controls and name as many: each name is looked up,
// never searched for in a list.
class ReferenceChecks {
public:
    ReferenceChecks(LintScript& script, Declarations declared)
        : script_(script),
          pages_(std::move(declared.pages)),
          sections_(std::move(declared.sections)),
          sectionsWithFiles_(declared.sectionsWithFiles.begin(), declared.sectionsWithFiles.end()),
          controlNames_(std::move(declared.controlNames)),
          controls_(std::move(declared.controls)) {}

    void page(std::size_t s, std::size_t argument, const char* what) {
        const std::string& name = script_.statements()[s].arguments[argument];
        if (!contains(pages_, name))
            script_.warn(s, script_.argumentOffset(s, argument), "unknown-page",
                         quoted(name) + " is no page: " + what + didYouMean(name, pages_));
    }

    // Whether the control exists; warns when it does not.
    bool control(std::size_t s, std::size_t argument) {
        const std::string& name = script_.statements()[s].arguments[argument];
        if (controlNames_.contains(name)) return true;
        script_.warn(s, script_.argumentOffset(s, argument), "unknown-control",
                     "no AddWindow makes a control named " + quoted(name) + controlNames_.didYouMean(name));
        return false;
    }

    void dynamicState(std::size_t s) {
        const std::vector<std::string>& a = script_.statements()[s].arguments;
        page(s, 0, "the state never applies");
        const DynamicState state = quillset::dynamicState(a);
        if (state.kind == DynamicStateKind::variable) {
            script_.warn(s, script_.argumentOffset(s, 1), "ineffective-state",
                         "a VARIABLE state has no effect on Next; only CONTROL states do");
            return;
        }
        if (state.kind == DynamicStateKind::unknown) {
            script_.warn(s, script_.argumentOffset(s, 1), "ineffective-state",
                         "kind " + quoted(a[1]) + " does nothing; a state is of kind CONTROL" +
                             didYouMean(a[1], {"CONTROL"}));
            return;
        }
        if (state.comparison == DynamicComparison::unknown)
            script_.warn(s, script_.argumentOffset(s, 3), "ineffective-state",
                         "comparison " + quoted(a[3]) + " does nothing; it is VALUE or TEXT" +
                             didYouMean(a[3], {"VALUE", "TEXT"}));
        if (!control(s, 2)) return;
        if (controls_.count(controlKey(a[0], a[2])) == 0 && contains(pages_, a[0]))
            script_.warn(s, script_.argumentOffset(s, 2), "unknown-control",
                         "control " + quoted(a[2]) + " is not on " + a[0] +
                             ": it never exists while that page is open, so it reads as unchecked and empty");
    }

    void message(std::size_t s) {
        const std::string& trigger = script_.statements()[s].arguments[3];
        if (messageTrigger(trigger) == MessageTrigger::controlAction) control(s, 2);
        else if (messageTrigger(trigger) == MessageTrigger::never)
            script_.warn(s, script_.argumentOffset(s, 3), "message-trigger",
                         "trigger " + quoted(trigger) + ": the message is never shown (only NOW and COMMAND are)" +
                             didYouMean(trigger, {"NOW", "COMMAND"}));
    }

    void file(std::size_t s) {
        const std::vector<std::string>& a = script_.statements()[s].arguments;
        if (!sections_.contains(a[2]))
            script_.warn(s, script_.argumentOffset(s, 2), "unknown-section",
                         "no CreateSection makes section " + quoted(a[2]) + ", so its files are never installed" +
                             sections_.didYouMean(a[2]));
        if (scriptNumber(a[8]) == 0) return;
        const std::string problem = shortcutNameProblem(a[9]);
        if (!problem.empty())
            script_.warn(s, script_.argumentOffset(s, 9), "shortcut-name", "shortcut name " + quoted(a[9]) + problem);
    }

    void section(std::size_t s) {
        const std::string& name = script_.statements()[s].arguments[0];
        if (sectionsWithFiles_.count(name) == 0)
            script_.warn(s, script_.argumentOffset(s, 0), "empty-section",
                         "no AddFile puts a file into section " + quoted(name));
    }

private:
    // Why "NAME.lnk" can be no file name, or nothing.
    static std::string shortcutNameProblem(const std::string& name) {
        if (name.empty()) return ": the shortcut file would be named '.lnk'";
        for (char c : name) {
            if (static_cast<unsigned char>(c) < 0x20) return ": a control character cannot be part of a file name";
            if (std::strchr("\\/:*?\"<>|", c) != nullptr)
                return std::string(": '") + c + "' cannot be part of a file name";
        }
        // Device names stay devices whatever extension follows them.
        std::string upper = name;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const std::vector<std::string> devices = {"CON", "PRN", "AUX", "NUL"};
        const bool numbered = upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
                              upper[3] >= '1' && upper[3] <= '9';
        if (contains(devices, upper) || numbered) return ": it is the name of a device, which no file can have";
        return "";
    }

    LintScript& script_;
    const std::vector<std::string> pages_;
    NameSuggestions sections_;
    const std::unordered_set<std::string> sectionsWithFiles_;
    NameSuggestions controlNames_;
    const std::unordered_set<std::string> controls_;
};

}  // namespace

void checkReferences(LintScript& script) {
    ReferenceChecks check(script, collect(script));
    std::size_t copyPages = 0;
    for (std::size_t s = 0; s < script.statements().size(); ++s) {
        if (!script.wellFormed(s)) continue;
        const std::string& command = script.statements()[s].command;
        const std::size_t start = script.parts(s).start;
        if (command == "AddWindow") check.page(s, 0, "the control is never made");
        else if (command == "CheckButton") check.control(s, 0);
        else if (command == "SetNextDynamicState") check.dynamicState(s);
        else if (command == "ShowMessage") check.message(s);
        else if (command == "AddFile") check.file(s);
        else if (command == "CreateSection") check.section(s);
        else if (command == "ShowCopy" && copyPages++ > 0)
            script.warn(s, start, "second-copy-page",
                        "a second copy page installs nothing and stays open until the user cancels");
        else if (copyPages > 0 && (command == "ShowDest" || command == "ShowSections" || command == "ShowProgramGroup"))
            script.warn(s, start, "page-after-copy",
                        "this page comes after ShowCopy: what the user chooses on it changes nothing");
    }
}

}  // namespace quillset
