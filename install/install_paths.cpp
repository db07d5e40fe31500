#include "install_paths.h"

#include <string_view>

#include "path_text.h"

namespace quillset {

void collapseDoubleBackslashes(std::string& path) {
    // A pair becomes its second backslash and the scan goes on behind the pair, so that backslash
    // is not paired again.
    const std::size_t prefix = path.compare(0, 2, "\\\\") == 0 ? 2 : 0;
    std::string collapsed = path.substr(0, prefix);
    collapsed.reserve(path.size());
    for (std::size_t i = prefix; i < path.size(); ++i) {
        collapsed += path[i];
        if (path[i] == '\\' && i + 1 < path.size() && path[i + 1] == '\\') ++i;
    }
    path = collapsed;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    std::size_t end = folder.size();
    while (end > 0 && folder[end - 1] == '\\') --end;
    return folder.substr(0, end) + "\\" + name;
}

std::vector<std::string> directoryLevels(const std::string& directory) {
    // Skip what names a place rather than a directory: "C:" or "\\server\share".
    std::size_t start = 0;
    if (directory.size() >= 2 && directory[1] == ':') {
        start = 2;
    } else if (directory.compare(0, 2, "\\\\") == 0) {
        const std::size_t server = directory.find('\\', 2);
        const std::size_t share = server == std::string::npos ? std::string::npos : directory.find('\\', server + 1);
        if (share == std::string::npos) return {};
        start = share;
    }
    std::vector<std::string> levels;
    for (std::size_t i = start; i <= directory.size(); ++i) {
        const bool end = i == directory.size();
        if (!end && directory[i] != '\\') continue;
        // A level ends at each backslash (and at the end); empty levels ("\\" or a leading "\") add
        // nothing.
        if (i > start && directory[i - 1] != '\\') levels.push_back(directory.substr(0, i));
    }
    return levels;
}

void shortenForRename(std::string& path) {
    const std::size_t dot = path.find('.');
    if (dot != std::string::npos) path.resize(dot);
    const std::string name = fileNameOf(path);
    if (name.size() > 8) path = folderPrefixOf(path) + name.substr(0, 6) + "~1";
}

namespace {

// Characters that short names never hold ("=" would also end a Wininit.ini key).
constexpr std::string_view kNotInShortNames = " \"*+,/:;<=>?[]|";

// A name as DOS writes it: 1 to 8 characters, then at most a dot and 1 to 3 more.
bool isEightDotThreeName(const std::string& name) {
    const std::size_t dot = name.find('.');
    const std::size_t base = dot == std::string::npos ? name.size() : dot;
    const std::size_t extension = dot == std::string::npos ? 0 : name.size() - dot - 1;
    if (base == 0 || base > 8 || extension > 3) return false;
    if (dot != std::string::npos && (extension == 0 || name.find('.', dot + 1) != std::string::npos)) return false;
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || kNotInShortNames.find(c) != std::string_view::npos) return false;
    return true;
}

// "X:\NAME\...\NAME.EXT", every part an 8.3 name.
bool isShortDrivePath(const std::string& path) {
    if (path.size() < 4 || path[1] != ':' || path[2] != '\\') return false;
    std::size_t start = 3;
    for (;;) {
        const std::size_t backslash = path.find('\\', start);
        if (!isEightDotThreeName(path.substr(start, backslash - start))) return false;
        if (backslash == std::string::npos) return true;
        start = backslash + 1;
    }
}

}  // namespace

std::string wininitRenameTarget(const std::string& destination, const std::string& shortForm) {
    if (isShortDrivePath(shortForm)) return shortForm;
    std::string target = destination;
    shortenForRename(target);
    return target + ".dll";
}

}  // namespace quillset
