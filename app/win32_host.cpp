#include "win32_host.h"

#include <windows.h>

#include "find_files.h"
#include "message_box.h"
#include "page_frame.h"
#include "process_guard.h"
#include "read_uninstall_entry.h"

namespace quillset {

Win32Host::Win32Host(const Win32Session& windows) : windows_(windows), listings_(findFilesWin32) {}

// While a page or a message is shown, the user may change the medium: the folders are listed
// afresh afterwards.
int Win32Host::showPage(Page page) {
    listings_.forget();
    return ShowWizardPage(windows_, page);
}

void Win32Host::showMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    listings_.forget();
    showMessageBox(text, caption, MB_OK | (icon == MessageIcon::Error ? MB_ICONERROR : 0));
}

std::vector<FoundFile> Win32Host::findFiles(const std::string& pattern) { return listings_.find(pattern); }

bool Win32Host::isProcessRunning(const std::string& lowerCaseName) { return IsProcessRunning(lowerCaseName); }

UninstallEntry Win32Host::readUninstallEntry(const std::string& appName) { return readUninstallEntryWin32(appName); }

void Win32Host::repaintMainWindow() {
    RedrawWindow(windows_.mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void Win32Host::postQuit(int quitCode) { PostQuitMessage(quitCode); }

}  // namespace quillset
