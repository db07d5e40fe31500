// The copy page: when it is first painted it installs every file of every section that takes part,
// makes the program group and its shortcuts, enters the application under the Uninstall key and
// closes itself. The user starts nothing; Cancel is the page frame's.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>

#include "directories.h"
#include "folder_browser.h"
#include "install_file.h"
#include "install_paths.h"
#include "log_file.h"
#include "page_frame.h"
#include "shortcut.h"
#include "uninstall_registration.h"

namespace quillset {

namespace {

bool takesPart(const InstallSection& section) { return section.selected || section.mustInstall != 0; }

// A bar from 0 to count - 1; the upper bound is a 16-bit word, so no items give 0 to 65535.
void setBarRange(HWND bar, std::size_t count) {
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(count - 1)));
}

void setBarPosition(HWND bar, std::size_t position) {
    SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

// The run has no message loop of its own: paint what changed now, so the user sees it move.
void showProgress(HWND page) { RedrawWindow(page, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

// The file line of the page: the name of the file being installed, above the file bar. The run
// tells it every file, and it shows one at most every 100 ms: under Wine a bar that moves repaints
// at once (0.8 ms) and a new name costs 0.1 ms, as long as installing a small file takes (shown
// 20 times a second, the line still cost 4 % of a run of 2,000 files). A question or message of
// the run opens a message loop, which runs the page's timer: the page then shows the file the
// question is about.
class FileLine {
public:
    FileLine(HWND page, HWND bar) : page_(page), bar_(bar) {
        SetTimer(page_, reinterpret_cast<UINT_PTR>(this), kInterval, showPending);
    }
    ~FileLine() { KillTimer(page_, reinterpret_cast<UINT_PTR>(this)); }
    FileLine(const FileLine&) = delete;
    FileLine& operator=(const FileLine&) = delete;

    // The file at `position` of its section's bar begins; the first of a section shows at once.
    void begin(std::string name, std::size_t position) {
        name_ = std::move(name);
        position_ = position;
        pending_ = true;
        if (position == 0 || GetTickCount() - shownAt_ >= kInterval) show();
    }

private:
    static constexpr DWORD kInterval = 100;  // milliseconds

    void show() {
        SetDlgItemTextA(page_, IDC_COPY_FILE_NAME, name_.c_str());
        setBarPosition(bar_, position_);
        showProgress(page_);
        pending_ = false;
        shownAt_ = GetTickCount();
    }

    static void CALLBACK showPending(HWND, UINT, UINT_PTR self, DWORD) {
        FileLine& line = *reinterpret_cast<FileLine*>(self);
        if (line.pending_) line.show();
    }

    HWND page_, bar_;
    std::string name_;
    std::size_t position_ = 0;
    bool pending_ = false;
    DWORD shownAt_ = 0;
};

// A group without a drive lies in the Programs folder; the variable then holds the full path, for
// the shortcuts and for every later statement.
void prepareProgramGroup(SetupState& state) {
    std::string group = state.variables["PROGRAMGROUP"];
    if (group.find(':') == std::string::npos) {
        const std::string programs = programsFolder(static_cast<HWND>(state.session.mainWindow));
        // Without the Programs folder the group would land wherever the bare name leads: make none.
        if (programs.empty()) {
            state.choices.createProgramGroup = false;
            return;
        }
        group = programs + "\\" + group;
        state.variables.set("PROGRAMGROUP", group);
    }
    createDirectories(group);
}

// Makes the shortcut of an installed file in the program group, and records it when it was saved.
void makeEntryShortcut(InstallContext& context, const InstallFileEntry& entry, const std::string& target) {
    std::string group = context.state.variables["PROGRAMGROUP"];
    if (!group.empty() && group.back() == '\\') group.pop_back();
    const std::string link = group + "\\" + entry.shortcutName + ".lnk";
    if (makeShortcut(target, link, entry.shortcutName) == S_OK) context.log.addShortcutRecord(link);
}

// Installs the files of every section that takes part, in script order. Returns 0, or the index
// + 1 of the file whose installation asked to stop.
std::size_t RunInstallation(InstallContext& context, HWND page) {
    SetupState& state = context.state;
    HWND sectionBar = GetDlgItem(page, IDC_COPY_SECTION_PROGRESS);
    HWND fileBar = GetDlgItem(page, IDC_COPY_FILE_PROGRESS);
    if (state.choices.createProgramGroup) prepareProgramGroup(state);
    FileLine fileLine(page, fileBar);

    std::size_t sectionNumber = 0;
    for (const InstallSection& section : state.sections) {
        if (!takesPart(section)) continue;
        setBarPosition(sectionBar, sectionNumber++);
        std::size_t fileCount = 0;
        for (const InstallFileEntry& entry : state.files) fileCount += entry.sectionName == section.name;
        setBarRange(fileBar, fileCount);
        SetDlgItemTextA(page, IDC_COPY_SECTION_NAME, section.name.c_str());

        std::size_t fileNumber = 0;
        for (std::size_t index = 0; index < state.files.size(); ++index) {
            if (state.files[index].sectionName != section.name) continue;
            fileLine.begin(fileNamePart(state.files[index].destinationPath), fileNumber++);

            std::string installedPath;
            if (installFileEntry(context, index, installedPath) != 0) return index + 1;
            const InstallFileEntry& entry = state.files[index];
            if (state.choices.createProgramGroup && entry.createShortcut && !installedPath.empty())
                makeEntryShortcut(context, entry, installedPath);
        }
    }
    return 0;
}

// Everything the page does, once, inside its first paint.
void runCopySequence(SetupState& state, HWND page) {
    state.run.copyStarted = true;
    const std::string destination = state.variables["DP"];
    createDirectories(destination);

    UninstallLog log;
    openUninstallLog(log, destination + "\\Uninstall.log");
    log.writeHeader(todayForLog());
    log.beginFiles();

    std::size_t sectionCount = 0;
    for (const InstallSection& section : state.sections) sectionCount += section.selected || section.mustInstall == 1;
    setBarRange(GetDlgItem(page, IDC_COPY_SECTION_PROGRESS), sectionCount);
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    InstallContext context{state, log, {}, {}};
    if (RunInstallation(context, page) != 0) {
        // The files before stay installed and logged; the program ends with the failure's exit code.
        state.run.stoppedEarly = true;
        QuitSetup(2);
    }
    RegisterUninstallEntry(log, state.variables["APPNAME"], state.variables["DP"]);
    log.close();
    EndDialog(page, 0);
}

}  // namespace

INT_PTR CopyPageProc(SetupState& state, HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    PageCommonProc(state, page, message, lParam, wParam, Page::Copy);
    // Later paints, the nested ones of the run's own redraws and message boxes included, only
    // paint; a second copy page installs nothing and waits for Cancel.
    if (message == WM_PAINT && !state.run.copyStarted) runCopySequence(state, page);
    return FALSE;
}

}  // namespace quillset
