#include "uninstall_entry.h"

#include <unordered_set>

#include "install_paths.h"
#include "process_names.h"

namespace quillset {

namespace {

constexpr std::uint32_t kLargestSize = 0xFFFFFFFFu;  // KiB, what a REG_DWORD holds

std::string valueOf(const std::map<std::string, std::string>& variables, const char* name) {
    const auto found = variables.find(name);
    return found == variables.end() ? "" : found->second;
}

// "C:\..." or "\\server\...": a path that does not lie in the destination by itself.
bool isAbsolute(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') || path.compare(0, 2, "\\\\") == 0;
}

UninstallEntryValue text(const char* name, const std::string& value) {
    if (value.empty()) return {name, UninstallEntryValue::Kind::absent, "", 0};
    return {name, UninstallEntryValue::Kind::text, value, 0};
}

UninstallEntryValue number(const char* name, std::uint32_t value) {
    return {name, UninstallEntryValue::Kind::number, "", value};
}

// YYYYMMDD. Padded by hand: the formatted-output functions would bring some 20 KB of the C
// library's number formatting into Setup.exe.
std::string dateText(const LogDate& date) {
    std::string text;
    const auto append = [&text](int value, std::size_t width) {
        const std::string digits = std::to_string(value);
        text.append(digits.size() < width ? width - digits.size() : 0, '0');
        text += digits;
    };
    append(date.year % 10000, 4);
    append(date.month % 100, 2);
    append(date.day % 100, 2);
    return text;
}

std::uint32_t kibibytes(std::uint64_t bytes) {
    const std::uint64_t rounded = bytes / 1024 + (bytes % 1024 != 0);
    return rounded > kLargestSize ? kLargestSize : static_cast<std::uint32_t>(rounded);
}

}  // namespace

std::string uninstallCommand(const std::string& destination) {
    return "\"" + joinPath(destination, "QSUninstall.exe") + "\"";
}

std::string quietUninstallCommand(const std::string& destination) { return uninstallCommand(destination) + " /S"; }

std::vector<UninstallEntryValue> uninstallEntryValues(const std::map<std::string, std::string>& variables,
                                                      const UninstallEntryRun& run) {
    const std::string destination = valueOf(variables, "DP");
    std::string icon = valueOf(variables, "APPICON");
    if (!icon.empty() && !isAbsolute(icon)) icon = joinPath(destination, icon);
    if (icon.empty()) icon = run.firstShortcutTarget;

    std::vector<UninstallEntryValue> values = {
        {"DisplayName", UninstallEntryValue::Kind::text, valueOf(variables, "APPNAME"), 0},
        {"UninstallString", UninstallEntryValue::Kind::text, uninstallCommand(destination), 0},
        {"QuietUninstallString", UninstallEntryValue::Kind::text, quietUninstallCommand(destination), 0},
        text("Publisher", valueOf(variables, "DEVELOPERNAME")),
        text("DisplayVersion", valueOf(variables, "APPVERSION")),
        text("URLInfoAbout", valueOf(variables, "APPURL")),
        text("DisplayIcon", icon),
        text("InstallLocation", destination),
        text("InstallDate", dateText(run.date)),
        run.bytesInDestination ? number("EstimatedSize", kibibytes(*run.bytesInDestination))
                               : UninstallEntryValue{"EstimatedSize", UninstallEntryValue::Kind::absent, "", 0},
        number("NoModify", 1),
        number("NoRepair", 1),
    };
    return values;
}

std::vector<std::string> loggedPaths(const std::string& logBytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < logBytes.size()) {
        std::size_t end = logBytes.find('\n', start);
        if (end == std::string::npos) end = logBytes.size();
        std::string line = logBytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    std::vector<std::string> paths;
    bool inFiles = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == "[FILES]") inFiles = true;
        else if (lines[i] == "[REGISTRY]") inFiles = false;
        else if (inFiles && i + 1 < lines.size() && (lines[i + 1] == "SHARED" || lines[i + 1] == "NONSHARED"))
            paths.push_back(lines[i++]);
    }
    return paths;
}

std::vector<std::string> pathsInDestination(const std::vector<std::string>& paths,
                                            const std::vector<std::string>& destinationForms) {
    std::vector<std::string> prefixes;
    for (const std::string& form : destinationForms) {
        std::string prefix = lowerCaseAscii(form);
        while (!prefix.empty() && prefix.back() == '\\') prefix.pop_back();
        if (!prefix.empty()) prefixes.push_back(prefix + "\\");
    }
    std::vector<std::string> inside;
    std::unordered_set<std::string> seen;
    for (const std::string& path : paths) {
        const std::string key = lowerCaseAscii(path);
        for (const std::string& prefix : prefixes)
            if (key.size() > prefix.size() && key.compare(0, prefix.size(), prefix) == 0) {
                if (seen.insert(key).second) inside.push_back(path);
                break;
            }
    }
    return inside;
}

}  // namespace quillset
