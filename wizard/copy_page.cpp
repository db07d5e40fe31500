// The copy page: when it is first painted it runs the installation (install/installation_run.h)
// and closes itself with the run's result; it shows the run's progress on its two bars and its two
// lines, and asks the run's questions. The user starts nothing; Cancel is the page frame's.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>

#include "installation_run.h"
#include "page_frame.h"
#include "win32_install_prompt.h"

namespace quillset {

namespace {

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

// The run's progress on the page: the section bar and name, the file bar and the file line.
class CopyPageProgress : public InstallProgress {
public:
    explicit CopyPageProgress(HWND page)
        : page_(page),
          sectionBar_(GetDlgItem(page, IDC_COPY_SECTION_PROGRESS)),
          fileBar_(GetDlgItem(page, IDC_COPY_FILE_PROGRESS)),
          fileLine_(page, fileBar_) {}

    void beginRun(std::size_t sectionCount) override {
        setBarRange(sectionBar_, sectionCount);
        RedrawWindow(page_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    void beginSection(const std::string& name, std::size_t sectionNumber, std::size_t fileCount) override {
        setBarPosition(sectionBar_, sectionNumber);
        setBarRange(fileBar_, fileCount);
        SetDlgItemTextA(page_, IDC_COPY_SECTION_NAME, name.c_str());
    }

    void beginFile(const std::string& name, std::size_t fileNumber) override { fileLine_.begin(name, fileNumber); }

private:
    HWND page_, sectionBar_, fileBar_;
    FileLine fileLine_;
};

// Everything the page does, once, inside its first paint. The page ends with the run's result:
// after a stop the files before stay installed and logged, and the program ends with the stop's
// exit code; the Uninstall entry is made all the same, so they can be removed.
void runCopySequence(SetupState& state, const Win32Session& windows, HWND page) {
    state.run.copyStarted = true;
    CopyPageProgress progress(page);
    Win32InstallPrompt prompt(windows.instance, windows.mainWindow, page);
    InstallationRun run(state, progress, prompt);
    const InstallationResult result = run.RunInstallation();
    run.finish();
    EndDialog(page, result == InstallationResult::stopped ? PageResult::installationStopped : PageResult::next);
}

}  // namespace

INT_PTR CopyPageProc(SetupState& state, Win32Session& windows, HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    PageCommonProc(state, windows, page, message, wParam, lParam, Page::Copy);
    // Later paints, the nested ones of the run's own redraws and message boxes included, only
    // paint; a second copy page installs nothing and waits for Cancel.
    if (message == WM_PAINT && !state.run.copyStarted) runCopySequence(state, windows, page);
    return FALSE;
}

}  // namespace quillset
