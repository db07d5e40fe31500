#include "wizard_walk.h"

#include <cstdio>
#include <map>

#include <commctrl.h>

#include "page_journal.h"
#include "resource_ids.h"
#include "whole_file.h"

namespace quillset::qsrun {
namespace {

using robot::ControlRef;
using robot::ControlState;
using robot::Robot;
using robot::TopWindow;

// How often the screen is looked at, and how long a dialog that is neither a page nor a message
// box may stand before it counts as unexpected (a page is that while its controls are created).
constexpr DWORD pollMs = 50;
constexpr DWORD settleMs = 3000;
// How long Next may stay disabled after a page's answers before the walk looks at why.
constexpr unsigned long nextWaitMs = 5000;

// The controls of Setup.exe's pages that the walk works, named in its messages as in resource_ids.h.
const ControlRef nextButton = ControlRef::withId(IDC_NEXT, "IDC_NEXT");
const ControlRef destinationPath = ControlRef::withId(IDC_DEST_PATH, "IDC_DEST_PATH");
const ControlRef sectionList = ControlRef::withId(IDC_SECTION_LIST, "IDC_SECTION_LIST");
const ControlRef noGroup = ControlRef::withId(IDC_GROUP_NONE, "IDC_GROUP_NONE");
const ControlRef newGroup = ControlRef::withId(IDC_GROUP_CREATE_NEW, "IDC_GROUP_CREATE_NEW");
const ControlRef newGroupName = ControlRef::withId(IDC_GROUP_NEW_NAME, "IDC_GROUP_NEW_NAME");
const ControlRef overwriteYes = ControlRef::withId(IDC_OVERWRITE_YES, "IDC_OVERWRITE_YES");
const ControlRef overwriteNo = ControlRef::withId(IDC_OVERWRITE_NO, "IDC_OVERWRITE_NO");
const ControlRef overwriteAll = ControlRef::withId(IDC_OVERWRITE_ALL, "IDC_OVERWRITE_ALL");

std::string quoted(const std::string& text) { return robot::quoteWord(text); }

std::string controlKind(HWND control) {
    return controlKindOf(robot::classOf(control), static_cast<std::uint32_t>(GetWindowLongPtrA(control, GWL_STYLE)));
}

// Adds a control to the page, with its label among the visible texts and a list's rows.
void addControl(PageRecord& page, const ControlRecord& control, const std::vector<std::vector<std::string>>& rows) {
    if (control.kind == "text" && control.visible && !control.text.empty()) page.texts.push_back(control.text);
    page.rowCells.insert(page.rowCells.end(), rows.begin(), rows.end());
    page.controls.push_back(control);
}

// The page's controls and visible texts as they are now.
void recordControls(Robot& robot, HWND window, PageRecord& page) {
    page.controls.clear();
    page.texts.clear();
    page.rowCells.clear();
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        ControlRecord control;
        control.id = GetDlgCtrlID(child);
        control.kind = controlKind(child);
        robot::readText(child, control.text);
        control.visible = IsWindowVisible(child) != FALSE;
        control.enabled = IsWindowEnabled(child) != FALSE;
        if (robot::isCheckable(child)) control.checked = robot::checkStateOf(child) == BST_CHECKED ? 1 : 0;
        addControl(page, control, control.kind == "list" ? robot.rowCells(child) : std::vector<std::vector<std::string>>{});
    }
}

// The template a dialog shows: the one with the most controls, all of which it holds.
template <typename HasControl>
std::string templateWith(HasControl hasControl) {
    static const std::vector<robot::DialogTemplate> templates = robot::dialogTemplates();
    std::string best;
    std::size_t bestCount = 0;
    for (const robot::DialogTemplate& candidate : templates) {
        bool all = !candidate.controlIds.empty();
        for (const int id : candidate.controlIds) all = all && hasControl(id);
        if (all && candidate.controlIds.size() > bestCount) {
            best = candidate.name;
            bestCount = candidate.controlIds.size();
        }
    }
    return best;
}

std::string templateOf(HWND window) {
    return templateWith([window](int id) { return GetDlgItem(window, id) != nullptr; });
}

std::string templateOf(const JournalPage& record) {
    return templateWith([&record](int id) {
        for (const JournalControl& control : record.controls)
            if (control.id == id) return true;
        return false;
    });
}

// A page as the program's journal recorded it when it closed.
PageRecord pageFromJournal(const JournalPage& record, const std::string& dialog) {
    PageRecord page;
    page.dialog = dialog;
    page.title = record.title;
    page.goneBeforePhotographed = true;
    for (const JournalControl& recorded : record.controls) {
        ControlRecord control;
        control.id = recorded.id;
        control.kind = controlKindOf(recorded.className, recorded.style);
        control.text = recorded.text;
        control.visible = (recorded.style & WS_VISIBLE) != 0;
        control.enabled = (recorded.style & WS_DISABLED) == 0;
        control.checked = recorded.checked;
        addControl(page, control, recorded.rows);
    }
    return page;
}

// A control by its class and place among the window's children of that class (custom controls
// may all have the same ID).
ControlRef referenceOf(HWND window, HWND control) {
    const std::string className = robot::classOf(control);
    int index = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (lstrcmpiA(robot::classOf(child).c_str(), className.c_str()) == 0) ++index;
        if (child == control) break;
    }
    return ControlRef::ofClass(className, index);
}

bool isDialog(const TopWindow& window) { return lstrcmpiA(window.className.c_str(), "#32770") == 0; }

bool isMessageBox(HWND window) { return GetDlgItem(window, robot::messageBoxTextId) != nullptr && templateOf(window).empty(); }

// The button that Enter would press: the dialog's default ID when it names a button it shows
// (a dialog without one answers IDOK), else the button drawn as the default, else the first.
int defaultButton(HWND box) {
    const auto shown = [box](int id) { return GetDlgItem(box, id) != nullptr && IsWindowVisible(GetDlgItem(box, id)); };
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(box, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && HIWORD(answer) == DC_HASDEFID &&
        LOWORD(answer) >= IDOK && LOWORD(answer) <= IDNO && shown(LOWORD(answer)))
        return LOWORD(answer);
    for (int id = IDOK; id <= IDNO; ++id)
        if (shown(id) && (GetWindowLongPtrA(GetDlgItem(box, id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return id;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id >= IDOK && id <= IDNO && IsWindowVisible(child)) return id;
    }
    return 0;
}

// The same for Setup.exe's own dialogs (the overwrite and language questions), whose buttons have
// IDs of their own.
HWND defaultPushButton(HWND dialog) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(dialog, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && HIWORD(answer) == DC_HASDEFID) {
        HWND button = GetDlgItem(dialog, LOWORD(answer));
        if (button != nullptr && IsWindowVisible(button) && IsWindowEnabled(button)) return button;
    }
    HWND first = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child) || !IsWindowEnabled(child) || lstrcmpiA(robot::classOf(child).c_str(), "Button") != 0)
            continue;
        const LONG_PTR type = GetWindowLongPtrA(child, GWL_STYLE) & BS_TYPEMASK;
        if (type == BS_DEFPUSHBUTTON) return child;
        if (type == BS_PUSHBUTTON && first == nullptr) first = child;
    }
    return first;
}

std::string buttonsOf(HWND box) {
    std::string names;
    for (int id = IDOK; id <= IDNO; ++id)
        if (GetDlgItem(box, id) != nullptr && IsWindowVisible(GetDlgItem(box, id)))
            names += (names.empty() ? "" : " ") + robot::answerName(id);
    return names;
}

// Everything the program shows, for a message that must say what was on the screen.
std::string describeScreen(DWORD processId) {
    std::string text;
    for (const TopWindow& window : robot::windowsOfProcess(processId)) {
        if (!window.visible) continue;
        text += "\n  window " + quoted(window.title) + " (" + window.className;
        if (isDialog(window)) {
            const std::string dialog = templateOf(window.handle);
            if (!dialog.empty()) text += ", " + dialog;
        }
        text += window.enabled ? ")" : ", disabled)";
        for (HWND child = GetWindow(window.handle, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            std::string label;
            if (!IsWindowVisible(child) || !robot::readText(child, label) || label.empty()) continue;
            text += "\n    " + controlKind(child) + " " + quoted(label) + (IsWindowEnabled(child) ? "" : " (disabled)");
        }
    }
    return text.empty() ? " no visible window" : text;
}

// What changes on the screen while a program works: its windows and the copy page's file name.
std::string screenSignature(DWORD processId) {
    std::string signature;
    for (const TopWindow& window : robot::windowsOfProcess(processId)) {
        if (!window.visible) continue;
        char handle[32];
        std::snprintf(handle, sizeof handle, "%p ", static_cast<void*>(window.handle));
        signature += handle + window.title + "\n";
        std::string fileName;
        if (HWND copying = GetDlgItem(window.handle, IDC_COPY_FILE_NAME))
            if (robot::readText(copying, fileName)) signature += fileName + "\n";
    }
    return signature;
}

class Walk {
public:
    Walk(Robot& robot, const WalkOptions& options, RunReport& report) : robot_(robot), options_(options), report_(report) {}

    std::string run() {
        robot_.setTimeout(options_.waitMs);
        std::string signature;
        DWORD lastChange = GetTickCount();
        std::map<HWND, DWORD> strangers;  // dialogs that are neither pages nor message boxes, since when
        while (robot_.programRunning()) {
            absorbJournal();
            const std::string now = screenSignature(robot_.processId());
            if (!now.empty()) sawWindow_ = true;
            if (now != signature) {
                signature = now;
                lastChange = GetTickCount();
            }
            std::string failure;
            bool handled = false;
            for (const TopWindow& window : robot::windowsOfProcess(robot_.processId())) {
                if (!window.visible || !window.enabled || !isDialog(window)) continue;
                if (isMessageBox(window.handle)) {
                    failure = answerMessage(window.handle);
                    handled = true;
                    break;
                }
                const std::string dialog = templateOf(window.handle);
                if (!dialog.empty()) {
                    if (done_.count(window.handle)) continue;
                    failure = handlePage(window.handle, dialog);
                    handled = true;
                    break;
                }
                const DWORD since = strangers.emplace(window.handle, GetTickCount()).first->second;
                if (GetTickCount() - since > settleMs)
                    return "an unexpected window " + quoted(window.title) + " on the screen:" + describeScreen(robot_.processId());
            }
            if (!failure.empty()) return failure;
            if (handled) {
                lastChange = GetTickCount();
                continue;
            }
            if (GetTickCount() - lastChange > options_.waitMs)
                return options_.program + " showed nothing new for " + std::to_string(options_.waitMs / 1000) +
                       " s; on the screen:" + describeScreen(robot_.processId());
            Sleep(pollMs);
        }
        absorbJournal();
        return whatDidNotRun();
    }

private:
    // A program that ended without showing what it must has not been tested, whatever its exit
    // code: on some machines a Wine that cannot run the program starts it as a process that ends
    // at once with exit code 0.
    std::string whatDidNotRun() {
        int code = 0;
        const std::string ended = options_.program + " ended" + (robot_.exitCode(code) ? " with exit code " + std::to_string(code) : "");
        std::string why;
        const bool pageShown = report_.pages.size() > firstPage_;
        if (!sawWindow_ && !pageShown) why = ended + " before it showed a window";
        else if (options_.pageExpected && !pageShown) why = ended + " without showing a page";
        if (why.empty()) return "";
        if (robot_.startedThirtyTwoBitProgram())
            why += " (it is a 32-bit program: a Wine without 32-bit support may start it as a process that ends at once)";
        return why;
    }

    // Pages the program's journal recorded as closed that the walk never saw on the screen.
    void absorbJournal() {
        std::string text;
        if (options_.journalPath.empty() || !readWholeFile(options_.journalPath, text)) return;
        const std::vector<JournalPage> records = readPageJournal(text);
        for (; journalRead_ < records.size(); ++journalRead_) {
            const JournalPage& record = records[journalRead_];
            sawWindow_ = true;
            if (!record.closed) continue;
            const HWND handle = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(record.handle));
            if (done_.erase(handle) > 0) continue;  // the walk handled it while it was there
            const std::string dialog = templateOf(record);
            if (dialog.empty()) continue;  // message boxes wait for an answer: the walk sees every one
            PageRecord page = pageFromJournal(record, dialog);
            page.number = static_cast<int>(report_.pages.size()) + 1;
            page.program = options_.program;
            report_.pages.push_back(page);
        }
    }

    void use(int line) {
        if (options_.usedLines != nullptr) options_.usedLines->insert(line);
    }

    std::string answerMessage(HWND box) {
        absorbJournal();
        sawWindow_ = true;
        MessageRecord message;
        message.program = options_.program;
        message.caption = robot::titleOf(box);
        robot::readText(GetDlgItem(box, robot::messageBoxTextId), message.text);
        message.afterPage = static_cast<int>(report_.pages.size());
        int button = 0;
        const Answers* answers = options_.answers;
        if (answers != nullptr && !answers->messages.empty()) {
            const MessageAnswer* answer = findMessageAnswer(*answers, message.caption, message.text);
            if (answer == nullptr)
                return "a message box that the answers file does not expect: " + quoted(message.caption) + " " +
                       quoted(message.text) + " (buttons: " + buttonsOf(box) + ")";
            use(answer->line);
            button = answer->buttonId;
        }
        if (button == 0) button = defaultButton(box);
        if (button == 0) return "the message box " + quoted(message.caption) + " has no button to press";
        message.answer = robot::answerName(button);
        report_.messages.push_back(message);
        const std::string failure = robot_.answerMessage(message.caption, message.text, button);
        return failure.empty() ? "" : "answering the message box " + quoted(message.caption) + ": " + failure;
    }

    std::string handlePage(HWND window, const std::string& dialog) {
        absorbJournal();  // a page that came and went before this one is reported before it
        done_[window] = true;
        sawWindow_ = true;
        robot_.setCurrentWindow(window);
        PageRecord page;
        page.number = static_cast<int>(report_.pages.size()) + 1;
        page.program = options_.program;
        page.dialog = dialog;
        page.title = robot::titleOf(window);
        // The page sets its controls' states (Next's among them) before it is first painted.
        std::string failure = robot_.waitUntilPainted();
        if (failure.empty()) waitUntilSettled(window, dialog, page);
        if (failure.empty()) failure = applyAnswers(window, dialog, page);
        const bool hasNext = GetDlgItem(window, IDC_NEXT) != nullptr;
        if (failure.empty() && hasNext && dialog != "IDD_COPY") failure = enableNext(window, page);
        recordControls(robot_, window, page);
        char name[32];
        std::snprintf(name, sizeof name, "page-%02d.png", page.number);
        if (robot_.screenshot(options_.reportDirectory + "\\" + name).empty()) page.screenshot = name;
        // A page that closed while it was being looked at (the copy page of a small medium) is
        // reported as the journal has it when it closed: what was read may be half of it.
        if (!IsWindow(window) && !options_.journalPath.empty()) {
            DeleteFileA((options_.reportDirectory + "\\" + name).c_str());
            done_.erase(window);
            absorbJournal();
            return "";
        }
        if (failure.empty() && dialog != "IDD_COPY") {
            if (hasNext) {
                page.actions.push_back("Next");
                failure = robot_.click(nextButton);
            } else if (dialog == "IDD_OVERWRITE" && options_.answers != nullptr && !options_.answers->overwrites.empty()) {
                failure = answerOverwrite(window, page);
            } else {
                failure = pressDefault(window, page);
            }
        }
        report_.pages.push_back(page);
        return failure.empty() ? "" : "on page " + std::to_string(page.number) + " " + quoted(page.title) + " (" + dialog + "): " + failure;
    }

    // A page is photographed when it shows what it will show: the sections page measures its
    // sections' files after it opens and fills the size column when all are measured.
    void waitUntilSettled(HWND window, const std::string& dialog, PageRecord& page) {
        if (dialog != "IDD_SECTIONS") return;
        HWND list = GetDlgItem(window, IDC_SECTION_LIST);
        const bool settled = robot::waitUntil(options_.waitMs, [&] {
            for (const std::vector<std::string>& cells : robot_.rowCells(list))
                if (cells.size() < 2 || cells[1].empty()) return false;
            return IsWindow(list) != FALSE;
        });
        if (!settled && IsWindow(window))
            page.actions.push_back("the sizes did not appear within " + std::to_string(options_.waitMs / 1000) + " s");
    }

    // The conflict dialogs and others without Next get their default button, as Enter would.
    std::string pressDefault(HWND window, PageRecord& page) {
        HWND button = defaultPushButton(window);
        if (button == nullptr) return "no button to press";
        std::string label;
        robot::readText(button, label);
        page.actions.push_back("pressed the default button " + quoted(label));
        return robot_.click(referenceOf(window, button));
    }

    // The overwrite question, as the answers file's first line for the existing file's path has it.
    std::string answerOverwrite(HWND window, PageRecord& page) {
        std::string path;
        robot::readText(GetDlgItem(window, IDC_OVERWRITE_PATH), path);
        const OverwriteAnswer* answer = findOverwriteAnswer(*options_.answers, path);
        if (answer == nullptr) return "an overwrite question that the answers file does not expect: " + quoted(path);
        use(answer->line);
        static const char* const names[] = {"Yes", "No", "Overwrite every file"};
        static const ControlRef* const buttons[] = {&overwriteYes, &overwriteNo, &overwriteAll};
        const auto choice = static_cast<std::size_t>(answer->choice);
        // The path as shown: a Windows path reads badly with the escapes of quoted words.
        page.actions.push_back("answered \"" + std::string(names[choice]) + "\" for " + path + " (answers line " +
                               std::to_string(answer->line) + ")");
        return robot_.click(*buttons[choice]);
    }

    std::string applyAnswers(HWND window, const std::string& dialog, PageRecord& page) {
        std::string failure;
        const Answers* answers = options_.answers;
        if (answers == nullptr) return "";
        if (dialog == "IDD_DESTINATION" && answers->hasDestination) {
            use(answers->destinationLine);
            page.actions.push_back("typed the destination " + quoted(answers->destination));
            failure = robot_.type(destinationPath, answers->destination);
        }
        if (dialog == "IDD_SECTIONS") {
            for (const SectionAnswer& section : answers->sections) {
                if (failure.empty()) failure = chooseSection(window, section, page);
            }
        }
        if (dialog == "IDD_PROGRAM_GROUP" && answers->group != Answers::Group::unset && failure.empty()) {
            use(answers->groupLine);
            if (answers->group == Answers::Group::none) {
                page.actions.push_back("chose no program group");
                failure = robot_.click(noGroup);
                if (failure.empty()) failure = robot_.waitForState(noGroup, ControlState::checked);
            } else {
                page.actions.push_back("typed the program group " + quoted(answers->groupName));
                failure = robot_.click(newGroup);
                if (failure.empty()) failure = robot_.type(newGroupName, answers->groupName);
            }
        }
        for (const ControlAnswer& control : answers->controls) {
            if (!failure.empty()) break;
            if (options_.usedLines != nullptr && options_.usedLines->count(control.line)) continue;
            ControlRef ref;
            robot::parseControlRef(control.control, ref);
            HWND found = robot::findControl(window, ref);
            if (found == nullptr) continue;  // a control of another page
            use(control.line);
            if (control.kind == ControlAnswer::Kind::text) {
                page.actions.push_back("typed " + quoted(control.text) + " into " + control.control);
                failure = robot_.type(ref, control.text);
            } else if ((robot::checkStateOf(found) == BST_CHECKED) != control.checked) {
                page.actions.push_back(std::string(control.checked ? "checked " : "unchecked ") + control.control);
                failure = robot_.click(ref);
                if (failure.empty())
                    failure = robot_.waitForState(ref, control.checked ? ControlState::checked : ControlState::unchecked);
            }
        }
        return failure;
    }

    // The sections page lists every section; the selected rows are the ones to install, and a
    // click on a row's label selects or deselects it (the "Install section" box follows).
    std::string chooseSection(HWND window, const SectionAnswer& section, PageRecord& page) {
        HWND list = GetDlgItem(window, IDC_SECTION_LIST);
        const std::vector<std::string> rows = robot_.rowTexts(list);
        std::size_t row = 0;
        while (row < rows.size() && rows[row] != section.name) ++row;
        if (row == rows.size()) return "no section " + quoted(section.name) + " on the sections page";
        use(section.line);
        DWORD_PTR state = 0;
        if (!SendMessageTimeoutA(list, LVM_GETITEMSTATE, row, LVIS_SELECTED, SMTO_ABORTIFHUNG, 2000, &state))
            return "the sections list does not answer";
        if (((state & LVIS_SELECTED) != 0) == section.install) return "";
        page.actions.push_back(std::string(section.install ? "chose" : "left out") + " the section " + quoted(section.name));
        const std::string failure = robot_.clickRow(sectionList, static_cast<int>(row));
        if (!failure.empty()) return failure;
        if (robot_.waitForRow(sectionList, static_cast<int>(row), section.install ? "selected,focused" : "focused",
                              {section.name})
                .empty())
            return "";
        return "the section " + quoted(section.name) + (section.install ? " cannot be chosen" : " must be installed");
    }

    // Next stays disabled until the page's conditions hold (a licence to accept). Without an answers
    // file the walk accepts as a user would: it checks the page's unchecked check boxes one by one
    // until Next is enabled; with one, the author says what to check.
    std::string enableNext(HWND window, PageRecord& page) {
        robot_.setTimeout(nextWaitMs);
        std::string failure = robot_.waitForState(nextButton, ControlState::enabled);
        for (HWND child = GetWindow(window, GW_CHILD); !failure.empty() && options_.answers == nullptr && child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (controlKind(child) != "check box" || !IsWindowVisible(child) || !IsWindowEnabled(child) ||
                robot::checkStateOf(child) == BST_CHECKED)
                continue;
            const ControlRef ref = referenceOf(window, child);
            std::string label;
            robot::readText(child, label);
            page.actions.push_back("checked " + quoted(label) + " (Next was disabled)");
            robot_.click(ref);
            failure = robot_.waitForState(nextButton, ControlState::enabled);
        }
        robot_.setTimeout(options_.waitMs);
        if (failure.empty()) return "";
        std::string unchecked;
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            std::string label;
            if (controlKind(child) == "check box" && IsWindowVisible(child) && robot::checkStateOf(child) != BST_CHECKED &&
                robot::readText(child, label))
                unchecked += " " + quoted(label);
        }
        return "Next stays disabled" + (unchecked.empty() ? std::string() : "; unchecked check boxes:" + unchecked);
    }

    Robot& robot_;
    const WalkOptions& options_;
    RunReport& report_;
    std::map<HWND, bool> done_;
    std::size_t journalRead_ = 0;  // the journal's records already looked at
    bool sawWindow_ = false;       // any window of the program, on the screen or in the journal
    const std::size_t firstPage_ = report_.pages.size();  // this program's pages come after it
};

}  // namespace

std::string walkProgram(Robot& robot, const WalkOptions& options, RunReport& report) {
    return Walk(robot, options, report).run();
}

std::vector<std::string> unusedAnswers(const Answers& answers, const std::set<int>& used) {
    std::vector<std::string> unused;
    const auto check = [&](int line, const std::string& what) {
        if (line > 0 && !used.count(line)) unused.push_back(std::to_string(line) + ": " + what);
    };
    check(answers.destinationLine, "destination " + quoted(answers.destination) + " (no destination page was shown)");
    for (const SectionAnswer& section : answers.sections)
        check(section.line, "section " + quoted(section.name) + " (no sections page was shown)");
    check(answers.groupLine, "program-group (no program group page was shown)");
    for (const ControlAnswer& control : answers.controls)
        check(control.line, "control " + control.control + " (no page showed it)");
    return unused;
}

}  // namespace quillset::qsrun
