// What the interpreter needs from the platform. The Windows program implements it with the real
// calls; qscheck's dry run and the tests implement it with recorders.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "earlier_installation.h"
#include "page_list.h"

namespace quillset {

enum class MessageIcon { None, Error };

// How a page ended: what showPage returns (a page's dialog result).
namespace PageResult {
constexpr int next = 0;
constexpr int notShown = -1;             // the dialog could not be created
constexpr int cancelled = -2;            // Cancel, confirmed by the user
constexpr int installationStopped = -3;  // the copy page's run stopped before its last file
}  // namespace PageResult

struct FoundFile {
    FoundFile(std::string foundName, bool directory, std::string foundShortName = "")
        : name(std::move(foundName)), isDirectory(directory), shortName(std::move(foundShortName)) {}

    std::string name;  // without directory
    bool isDirectory = false;
    std::string shortName;  // the file system's short (8.3) name for it; empty where it keeps none
};

class SetupHost {
public:
    virtual ~SetupHost() = default;

    // Shows a page modally over the main window and returns how it ended (PageResult): next goes
    // on, anything else ends the run.
    virtual int showPage(Page page) = 0;

    // A message box with no owner window and an OK button; returns when the user closed it.
    virtual void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) = 0;

    // The directory entries matching a pattern whose last component may hold * and ?, in the
    // order the platform's search gives them. Nothing found is an empty list, not an error.
    virtual std::vector<FoundFile> findFiles(const std::string& pattern) = 0;

    // Whether a running process has this file name (without directory). The name comes with its
    // letters A-Z already lower-cased; the process names are compared in that form, exactly.
    virtual bool isProcessRunning(const std::string& lowerCaseName) = 0;

    // The application's entry in the system's list of installed programs (the Uninstall key of
    // `appName`), as an earlier installation left it; `exists` is false when there is none.
    virtual UninstallEntry readUninstallEntry(const std::string& appName) = 0;

    // Invalidates the whole main window and repaints it at once.
    virtual void repaintMainWindow() = 0;

    // Posts the quit message that ends the final message loop. The code only tells the loop why
    // it ends; it is not the program's exit code.
    virtual void postQuit(int quitCode) = 0;
};

}  // namespace quillset
