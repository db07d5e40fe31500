#include "media_description.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "cp1252.h"

namespace quillset {

namespace {

std::string trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A folder or file of the tree as written ("program/", ".\shared\x.dll"): '/' separators, no
// leading "./" and no trailing '/'. False for paths that leave the tree.
bool treePath(std::string path, std::string& out) {
    for (char& c : path)
        if (c == '\\') c = '/';
    std::string result;
    std::istringstream parts(path);
    for (std::string part; std::getline(parts, part, '/');) {
        if (part.empty() || part == ".") continue;
        if (part == ".." || part.find(':') != std::string::npos) return false;
        result += (result.empty() ? "" : "/") + part;
    }
    if (!path.empty() && path[0] == '/') return false;
    out = result;
    return true;
}

struct Line {
    std::string key, name, value;
    std::vector<std::string> flags;
    bool hasName = false;
};

// KEY ["NAME"] [FLAG...] = VALUE
bool splitLine(const std::string& text, Line& line, std::string& why) {
    // An '=' inside the quoted name is part of the name.
    const std::size_t nameQuote = text.find('"');
    const std::size_t nameEnd = nameQuote < text.find('=') ? text.find('"', nameQuote + 1) : std::string::npos;
    const std::size_t equals = text.find('=', nameEnd == std::string::npos ? 0 : nameEnd);
    if (equals == std::string::npos) {
        why = "expected KEY = VALUE";
        return false;
    }
    std::string left = trim(text.substr(0, equals));
    line.value = trim(text.substr(equals + 1));
    const std::size_t quote = left.find('"');
    if (quote != std::string::npos) {
        const std::size_t close = left.find('"', quote + 1);
        if (close == std::string::npos) {
            why = "the name's closing \" is missing";
            return false;
        }
        line.name = left.substr(quote + 1, close - quote - 1);
        line.hasName = true;
        left = left.substr(0, quote) + " " + left.substr(close + 1);
    }
    std::istringstream words(left);
    words >> line.key;
    for (std::string word; words >> word;) line.flags.push_back(word);
    return true;
}

}  // namespace

bool toCp1252(const std::string& text, std::string& out) {
    std::string converted;
    for (std::size_t i = 0; i < text.size();) {
        unsigned code = 0;
        if (!nextUtf8(text, i, code)) {
            out = text;  // not UTF-8: code page 1252 as it stands
            return true;
        }
        unsigned char byte = 0;
        if (!unicodeToCp1252(code, byte)) return false;  // (out may be the text itself: left as it is)
        converted.push_back(static_cast<char>(byte));
    }
    out = converted;
    return true;
}

std::uint64_t parseDiskSize(const std::string& text) {
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !(number > 0)) return 0;
    const std::string unit = trim(end);
    double factor = 1;
    if (unit == "K" || unit == "k") factor = 1024;
    else if (unit == "M" || unit == "m") factor = 1024.0 * 1024;
    else if (unit == "G" || unit == "g") factor = 1024.0 * 1024 * 1024;
    else if (!unit.empty()) return 0;
    const double bytes = std::floor(number * factor);
    return bytes >= 1 && bytes < 1e15 ? static_cast<std::uint64_t>(bytes) : 0;
}

bool parseMediaDescription(const std::string& text, MediaDescription& d, std::vector<DescriptionError>& errors) {
    std::istringstream lines(text);
    int number = 0;
    auto error = [&errors, &number](const std::string& message) { errors.push_back({number, message}); };
    for (std::string raw; std::getline(lines, raw);) {
        ++number;
        const std::string content = trim(raw);
        if (content.empty() || content[0] == '#' || content[0] == ';') continue;
        Line line;
        std::string why;
        if (!splitLine(content, line, why)) {
            error(why);
            continue;
        }
        std::string value;
        if (!toCp1252(line.value, value) || !toCp1252(line.name, line.name)) {
            error("a character that Windows' Western code page (1252) does not have");
            continue;
        }
        const std::string& key = line.key;
        const bool named = key == "section" || key == "shortcut";
        if (named != line.hasName) {
            error(named ? key + " needs a name in double quotes: " + key + " \"NAME\" = ..." : key + " takes no name");
            continue;
        }
        const bool sectionFlag = key == "section" && line.flags.size() == 1 &&
                                 (line.flags[0] == "required" || line.flags[0] == "optional");
        if (!line.flags.empty() && !sectionFlag) {
            error("unexpected '" + line.flags[0] + "'" + (key == "section" ? " (required or optional?)" : ""));
            continue;
        }
        const bool inSection = key == "description" || key == "folder" || key == "shared" || key == "shortcut";
        if (inSection && d.sections.empty()) {
            error(key + " belongs to a section: write a section line before it");
            continue;
        }
        MediaSection* section = d.sections.empty() ? nullptr : &d.sections.back();

        // FOLDER [-> DESTINATION]
        auto addFolder = [&](const std::string& spec) {
            const std::size_t arrow = spec.find("->");
            SectionFolder folder;
            std::string destination;
            if (!treePath(trim(spec.substr(0, arrow)), folder.folder) ||
                (arrow != std::string::npos && !treePath(trim(spec.substr(arrow + 2)), destination))) {
                error("a folder must lie inside the tree (no drive, no leading / and no ..)");
                return;
            }
            for (char& c : destination)
                if (c == '/') c = '\\';
            folder.destination = destination;
            section->folders.push_back(folder);
        };
        auto file = [&](std::string& out) {
            if (!treePath(value, out) || out.empty()) error("a file of the tree is expected (no drive, no leading / and no ..)");
            return !out.empty();
        };

        if (key == "app") d.appName = value;
        else if (key == "developer") d.developer = value;
        else if (key == "version") d.version = value;
        else if (key == "url") d.url = value;
        else if (key == "icon") {
            // FILE or FILE,N: the digits after the last comma pick the file's icon.
            const std::size_t comma = value.rfind(',');
            const bool indexed = comma != std::string::npos && comma + 1 < value.size() &&
                                 value.find_first_not_of("0123456789", comma + 1) == std::string::npos;
            d.icon.line = number;
            d.icon.index = indexed ? value.substr(comma + 1) : "";
            d.icon.file.clear();
            if (!treePath(indexed ? trim(value.substr(0, comma)) : value, d.icon.file) || d.icon.file.empty())
                error("icon wants a file of the tree, optionally with ,N for its icon number (no drive, no leading / "
                      "and no ..)");
        }
        else if (key == "caption") d.caption = value;
        else if (key == "welcome-title") d.welcomeTitle = value;
        else if (key == "welcome") d.welcomeLines.push_back(value);
        else if (key == "welcome-note") d.welcomeNote = value;
        else if (key == "licence" || key == "license") d.licence = value;
        else if (key == "forbid-process") d.forbiddenProcesses.push_back(value);
        else if (key == "finish-message") d.finishMessage = value;
        else if (key == "disk-size") {
            d.diskSize = parseDiskSize(value);
            d.diskSizeLine = number;
            if (d.diskSize == 0) error("disk-size wants a size in bytes, or with K, M or G (1440K, 20M)");
        } else if (key == "background") {
            std::istringstream numbers(value);
            std::vector<int> rgb;
            for (int n; numbers >> n;) rgb.push_back(n);
            if (rgb.size() != 6 || !numbers.eof()) error("background wants six numbers: R G B at the top, R G B at the bottom");
            else d.background = rgb;
        } else if (key == "section") {
            for (const MediaSection& other : d.sections)
                if (other.name == line.name) error("a second section \"" + line.name + "\"");
            if (line.name.empty() || line.name.find('"') != std::string::npos) error("a section needs a name without \"");
            MediaSection added;
            added.name = line.name;
            added.required = sectionFlag && line.flags[0] == "required";
            added.line = number;
            d.sections.push_back(added);
            section = &d.sections.back();
            if (!value.empty()) addFolder(value);
        } else if (key == "description") section->description = value;
        else if (key == "folder") addFolder(value);
        else if (key == "shared") {
            SharedFile shared{"", number};
            if (file(shared.file)) section->sharedFiles.push_back(shared);
        } else if (key == "shortcut") {
            ShortcutRequest shortcut{line.name, "", number};
            if (line.name.empty()) error("a shortcut needs a name");
            else if (file(shortcut.file)) section->shortcuts.push_back(shortcut);
        } else {
            error("unknown setting '" + key + "'");
        }
    }
    number = 0;
    if (d.appName.empty()) error("no app = NAME");
    if (d.sections.empty()) error("no section: section \"NAME\" = FOLDER");
    return errors.empty();
}

}  // namespace quillset
