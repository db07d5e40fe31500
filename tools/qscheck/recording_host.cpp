#include "recording_host.h"

#include <algorithm>

#include "process_names.h"

namespace quillset {

void RecordingHost::addRunningProcess(const std::string& fileName) {
    runningNames_.push_back(recordedProcessName(fileName.c_str()));
}

int RecordingHost::showPage(Page page) {
    HostEvent event{HostEvent::Kind::page, pageName(page), "", "", MessageIcon::None, {}};
    if (state_ != nullptr) {
        for (const CustomControl& c : state_->controls) {
            if (c.pageName != event.page) continue;
            bool checked = false;
            for (const StoredStatement& s : state_->storedStatements) {
                const auto* button = std::get_if<CheckedButton>(&s);
                checked = checked || (button != nullptr && button->controlName == c.controlName);
            }
            event.controls.push_back(PageControl{c.controlName, c.type, c.text, c.left, c.top, c.right, c.bottom, checked});
        }
    }
    events.push_back(event);
    const auto result = pageResults_.find(page);
    return result == pageResults_.end() ? PageResult::next : result->second;
}

void RecordingHost::showMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    events.push_back(HostEvent{HostEvent::Kind::message, "", text, caption, icon, {}});
}

std::vector<FoundFile> RecordingHost::findFiles(const std::string& pattern) {
    searchedPatterns.push_back(pattern);
    return findFiles_ ? findFiles_(pattern) : std::vector<FoundFile>{};
}

bool RecordingHost::isProcessRunning(const std::string& lowerCaseName) {
    return std::find(runningNames_.begin(), runningNames_.end(), lowerCaseName) != runningNames_.end();
}

UninstallEntry RecordingHost::readUninstallEntry(const std::string& appName) {
    const auto entry = entries_.find(appName);
    return entry == entries_.end() ? UninstallEntry{} : entry->second;
}

void RecordingHost::repaintMainWindow() {
    events.push_back(HostEvent{HostEvent::Kind::repaint, "", "", "", MessageIcon::None, {}});
}

}  // namespace quillset
