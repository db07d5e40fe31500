// A host that runs a script without a screen: pages and message boxes are recorded and answered
// (Next and OK unless told otherwise), files come from a finder, running processes from a list.
// qscheck's dry run and the interpreter's tests use it.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "setup_host.h"
#include "setup_state.h"

namespace quillset {

// A custom control as its page would create it.
struct PageControl {
    std::string name, type, text;
    int left = 0, top = 0, right = 0, bottom = 0;
    bool checked = false;  // a CheckButton statement names it
};

struct HostEvent {
    enum class Kind { page, message, repaint };
    Kind kind;
    std::string page;               // page: its name
    std::string text, caption;      // message
    MessageIcon icon = MessageIcon::None;
    std::vector<PageControl> controls;  // page: the script's controls on it at that moment
};

class RecordingHost : public SetupHost {
public:
    using FileFinder = std::function<std::vector<FoundFile>(const std::string& pattern)>;

    explicit RecordingHost(FileFinder findFiles) : findFiles_(std::move(findFiles)) {}

    // A process that the process test sees running (its file name, directory allowed).
    void addRunningProcess(const std::string& fileName);
    // Pages record the custom controls that `state` declares for them when they are shown.
    void watch(const SetupState& state) { state_ = &state; }
    // The Uninstall entry that an earlier installation of `appName` left (none unless added).
    void addUninstallEntry(const std::string& appName, const UninstallEntry& entry) { entries_[appName] = entry; }
    // What a page returns instead of PageResult::next.
    void setPageResult(Page page, int result) { pageResults_[page] = result; }

    int showPage(Page page) override;
    void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    std::vector<FoundFile> findFiles(const std::string& pattern) override;
    bool isProcessRunning(const std::string& lowerCaseName) override;
    UninstallEntry readUninstallEntry(const std::string& appName) override;
    void repaintMainWindow() override;
    void postQuit(int quitCode) override { quitCodes.push_back(quitCode); }

    std::vector<HostEvent> events;
    std::vector<std::string> searchedPatterns;
    std::vector<int> quitCodes;

private:
    FileFinder findFiles_;
    std::vector<std::string> runningNames_;
    std::map<Page, int> pageResults_;
    std::map<std::string, UninstallEntry> entries_;
    const SetupState* state_ = nullptr;
};

}  // namespace quillset
