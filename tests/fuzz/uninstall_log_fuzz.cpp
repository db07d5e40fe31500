// The uninstaller's reading of an arbitrary Uninstall.log: the reader, the safety check and the
// plan of what goes, as QSUninstall.exe runs them before it removes anything.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../string_sink.h"
#include "log_output.h"
#include "uninstall_log.h"
#include "uninstall_log_reader.h"
#include "uninstall_plan.h"

using namespace quillset;

namespace {

// The log the installation would write for these contents; for a log that was cut off, what it
// had written up to its last whole record.
std::string rewritten(const UninstallLogContents& contents) {
    std::string bytes;
    UninstallLog log;
    log.open(std::make_unique<StringSink>(bytes));
    LogDate date;
    std::sscanf(contents.date.c_str(), "%d/%d/%d", &date.month, &date.day, &date.year);
    log.writeHeader(date);
    if (contents.date.empty()) return bytes.substr(0, bytes.find("DATE:") + 5);  // cut before the date
    log.beginFiles();
    for (const UninstallRecord& record : contents.records) {
        if (record.kind == UninstallRecord::Kind::shortcut) {
            log.addShortcutRecord(record.path);
            continue;
        }
        const std::size_t slash = record.path.rfind('\\');
        log.addFileRecord(record.path.substr(0, slash), record.path.substr(slash + 1),
                          record.kind == UninstallRecord::Kind::shared);
        if (record.registration != UninstallRecord::Registration::none)
            log.addRegistrationLine(record.registration == UninstallRecord::Registration::autoRegister);
    }
    if (!contents.complete) return bytes;
    log.beginRegistry();
    log.addRegistryKeyLine(contents.registryKey);
    return bytes;
}

std::size_t lineEnds(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++count;
    return count;
}

// The path Windows acts on: either slash separates, "\\?\" and "\\.\" lead to the same path, "."
// and ".." are walked, and a name's trailing full stops and blanks are dropped. Lower case; a
// network path keeps its leading "\\" (\\C:\WINDOWS is a server named "C:", not the drive).
std::string resolvedByWindows(std::string path) {
    for (char& c : path) c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (path.compare(0, 4, "\\\\?\\") == 0 || path.compare(0, 4, "\\\\.\\") == 0) path.erase(0, 4);
    std::string resolved = path.compare(0, 2, "\\\\") == 0 ? "\\\\" : "";
    std::vector<std::string> names;
    for (std::size_t at = 0; at <= path.size();) {
        const std::size_t end = std::min(path.find('\\', at), path.size());
        std::string name = path.substr(at, end - at);
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
        if (path.substr(at, end - at) == ".." && names.size() > 1) names.pop_back();
        else if (!name.empty()) names.push_back(name);
        at = end + 1;
    }
    for (const std::string& name : names) resolved += name + "\\";
    return resolved;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    UninstallLogContents contents;
    UninstallLogError error;
    if (!readUninstallLog(bytes, contents, error)) {
        if (error.line < 1 || error.message.empty()) std::abort();
        return 0;
    }
    // Only what the installation writes is accepted, or what it had written when it was stopped:
    // a log cut off holds its whole records as written, and after them at most the start of the
    // next record or of the registry part (never a whole record left out).
    const std::string written = rewritten(contents);
    if (contents.complete && written != bytes) std::abort();
    if (!contents.complete) {
        const std::size_t common = std::min(written.size(), bytes.size());
        if (written.compare(0, common, bytes, 0, common) != 0) std::abort();
        if (!contents.records.empty() && bytes.size() < written.size()) std::abort();
        if (bytes.size() > written.size() && lineEnds(bytes.substr(written.size())) > 1) std::abort();
        if (!contents.appName.empty() || !contents.registryKey.empty()) std::abort();
    }
    uninstallLogJson(contents);

    const std::vector<std::string> system = {"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32"};
    if (!checkRecordsAreSafe(contents, system, error)) return 0;
    const UninstallPlan plan = planUninstall(
        contents, [](const std::string& path) { return path; }, "C:\\Program Files\\Demo\\QSUninstall.exe",
        {"C:\\Program Files"});
    // What a log that passed the check has removed never lies in a system folder, however Windows
    // resolves its path.
    for (const std::string& path : plan.removals) {
        const std::string resolved = resolvedByWindows(path);
        for (const std::string& folder : system)
            if (resolved.compare(0, resolvedByWindows(folder).size(), resolvedByWindows(folder)) == 0) std::abort();
    }
    return 0;
}
