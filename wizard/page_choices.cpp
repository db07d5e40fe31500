#include "page_choices.h"

namespace quillset {

bool destinationAcceptable(const std::string& path) { return path.size() >= 3; }

std::string diskRootOf(const std::string& path) { return path.substr(0, 3); }

std::string freeSpaceText(std::uint64_t bytesFree) { return std::to_string(bytesFree / 1024) + " kb"; }

std::string chosenDestination(const std::string& folder, const std::string& appName) {
    return folder + "\\" + appName + "\\";
}

std::string newGroupPath(const std::string& programsFolder, const std::string& groupName) {
    if (programsFolder.empty()) return "";
    std::string path = programsFolder + "\\" + groupName + "\\";
    return path.size() <= kLongestPath ? path : "";
}

}  // namespace quillset
