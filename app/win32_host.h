// The interpreter's host in the real program: message boxes, the file search, the process guard,
// an earlier installation's Uninstall entry and the main window, through the Win32 calls themselves.
#pragma once

#include "folder_listings.h"
#include "setup_host.h"
#include "win32_session.h"

namespace quillset {

class Win32Host : public SetupHost {
public:
    explicit Win32Host(const Win32Session& windows);

    int showPage(Page page) override;
    void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    std::vector<FoundFile> findFiles(const std::string& pattern) override;
    bool isProcessRunning(const std::string& lowerCaseName) override;
    UninstallEntry readUninstallEntry(const std::string& appName) override;
    void repaintMainWindow() override;
    void postQuit(int quitCode) override;

private:
    const Win32Session& windows_;
    // AddFile's searches, one listing per folder until the user next sees a page or a message.
    FolderListings listings_;
};

}  // namespace quillset
