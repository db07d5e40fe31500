#include "uninstall_log_reader.h"

#include <cctype>

namespace quillset {

const char* const kUninstallKeyPrefix = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

namespace {

// The header, line by line, exactly as the writer makes it (0xB4 is the acute accent of code page
// 1252 between "DON" and "T").
const char* const kHeader[] = {
    "TWUNLOG V1",
    "",
    "TARNWICK UNINSTALLATION LOG FILE",
    "",
    "MAKE NO CHANGES TO THIS FILE, ITS FORMAT IS EXACTLY DEFINED!",
    "NO REAL PARSER DOES EXIST, SO DON\xB4T MODIFY ANYTHING!",
    "ANY ERRORS COULD CAUSE CATASTROPHAL (!) DAMAGE TO YOUR SYSTEM, YOU",
    "COULD BE UNABLE TO RESTART WINDOWS",
    "",
};

// Splits into the lines that end in CR LF and the bytes after the last of them (`tail`: the line a
// killed run was writing, empty for a log that was closed). A lone CR or LF or a control character
// makes the log one that was not written by us (or was edited); only the tail may end in the CR
// of a line end cut in two.
bool splitLines(const std::string& bytes, std::vector<std::string>& lines, std::string& tail, UninstallLogError& error) {
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const int number = static_cast<int>(lines.size()) + 1;
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            lines.push_back(line);
            line.clear();
            ++i;
        } else if (c == '\r' && i + 1 == bytes.size()) {
            line += '\r';
        } else if (c == '\r' || c == '\n') {
            error = {number, "a line end that is not CR LF"};
            return false;
        } else if (c < 0x20 || c == 0x7F) {
            error = {number, "a control character (byte " + std::to_string(c) + "): not a text log"};
            return false;
        } else {
            line += static_cast<char>(c);
        }
    }
    tail = line;
    return true;
}

// `tail` is how a line of exactly `expected` begins when the log is cut inside it.
bool beginsLine(const std::string& tail, const std::string& expected) {
    const std::string whole = expected + "\r";
    return tail.size() <= whole.size() && whole.compare(0, tail.size(), tail) == 0;
}

bool isNumber(const std::string& text, std::size_t from, std::size_t to, int low, int high) {
    if (from >= to || to - from > 4 || text[from] == '0') return false;
    int value = 0;
    for (std::size_t i = from; i < to; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        value = value * 10 + (text[i] - '0');
    }
    return value >= low && value <= high;
}

// "DATE:" month "/" day "/" year, without leading zeros.
bool isDateLine(const std::string& line) {
    if (line.compare(0, 5, "DATE:") != 0) return false;
    const std::size_t first = line.find('/', 5);
    const std::size_t second = first == std::string::npos ? first : line.find('/', first + 1);
    return second != std::string::npos && isNumber(line, 5, first, 1, 12) &&
           isNumber(line, first + 1, second, 1, 31) && isNumber(line, second + 1, line.size(), 1, 9999);
}

// `tail` is how a date line begins: "DATE:" cut anywhere, or followed by digits and "/", or a whole
// date line cut before its LF.
bool beginsDateLine(const std::string& tail) {
    if (!tail.empty() && tail.back() == '\r') return isDateLine(tail.substr(0, tail.size() - 1));
    if (tail.size() <= 5) return std::string("DATE:").compare(0, tail.size(), tail) == 0;
    return tail.compare(0, 5, "DATE:") == 0 && tail.find_first_not_of("0123456789/", 5) == std::string::npos;
}

// `tail` is how the Uninstall key line begins: its prefix cut anywhere, or the prefix and part of
// the application's name.
bool beginsKeyLine(const std::string& tail) {
    const std::string prefix = kUninstallKeyPrefix;
    if (tail.size() < prefix.size() && (tail.empty() || tail.back() != '\r'))
        return prefix.compare(0, tail.size(), tail) == 0;
    return tail.compare(0, prefix.size(), prefix) == 0;
}

// A full path: a drive ("C:\") or a network share ("\\server\share\"), nothing relative.
bool isAbsolutePath(const std::string& path) {
    const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
                       path[2] == '\\';
    const bool share = path.size() >= 5 && path.compare(0, 2, "\\\\") == 0 && path[2] != '\\';
    return drive || share;
}

bool endsWithLnk(const std::string& path) {
    if (path.size() < 4) return false;
    std::string end = path.substr(path.size() - 4);
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == ".lnk";
}

}  // namespace

bool readUninstallLog(const std::string& bytes, UninstallLogContents& contents, UninstallLogError& error) {
    contents = UninstallLogContents{};
    std::vector<std::string> lines;
    std::string tail;
    if (!splitLines(bytes, lines, tail, error)) return false;
    std::size_t next = 0;
    const auto fail = [&](std::size_t index, const std::string& message) {
        error = {static_cast<int>(index) + 1, message};
        return false;
    };
    const auto quoted = [](const std::string& text) { return "\"" + text + "\""; };
    // The log ends at line `next`, in the line the run was writing: `tail` must be how the line
    // that belongs there begins (`fits`). What came before is used; the last record, unfinished,
    // is not. A log that ends in something else is not one a run left.
    const auto cutOff = [&](bool fits, const std::string& expected) {
        if (!fits) return fail(next, "the log ends in a line that is not " + expected);
        contents.complete = false;
        return true;
    };

    for (const char* expected : kHeader) {
        if (next >= lines.size()) return cutOff(beginsLine(tail, expected), quoted(expected));
        if (lines[next] != expected)
            return fail(next, next == 0 ? "not an uninstall log (the first line is not \"TWUNLOG V1\")"
                                        : "expected " + quoted(expected) + " in the header");
        ++next;
    }
    if (next >= lines.size()) return cutOff(beginsDateLine(tail), "the line DATE:month/day/year");
    if (!isDateLine(lines[next])) return fail(next, "expected the line DATE:month/day/year");
    contents.date = lines[next++].substr(5);
    if (next >= lines.size()) return cutOff(beginsLine(tail, "[FILES]"), quoted("[FILES]"));
    if (lines[next] != "[FILES]") return fail(next, "expected \"[FILES]\"");
    ++next;

    // Records until "[REGISTRY]": a path, "SHARED" or "NONSHARED", and after "SHARED" perhaps a
    // registration line.
    while (true) {
        // A path or "[REGISTRY]" cut anywhere: any text.
        if (next >= lines.size()) return cutOff(true, "");
        const std::string& path = lines[next];
        if (path == "[REGISTRY]") break;
        if (!isAbsolutePath(path)) return fail(next, "expected a full path or \"[REGISTRY]\"");
        if (path.size() > kLongestRecordPath)
            return fail(next, "a path of " + std::to_string(path.size()) + " characters, longer than the limit of " +
                                  std::to_string(kLongestRecordPath));
        UninstallRecord record;
        record.path = path;
        record.line = static_cast<int>(next) + 1;
        if (++next >= lines.size())
            return cutOff(beginsLine(tail, "SHARED") || beginsLine(tail, "NONSHARED"), "\"SHARED\" or \"NONSHARED\"");
        if (lines[next] == "SHARED") {
            record.kind = UninstallRecord::Kind::shared;
            if (next + 1 < lines.size() && lines[next + 1] == "AUTOREGSVR") {
                record.registration = UninstallRecord::Registration::autoRegister;
                ++next;
            } else if (next + 1 < lines.size() && lines[next + 1] == "NOAUTOREGSVR") {
                record.registration = UninstallRecord::Registration::noAutoRegister;
                ++next;
            }
        } else if (lines[next] == "NONSHARED") {
            record.kind = endsWithLnk(path) ? UninstallRecord::Kind::shortcut : UninstallRecord::Kind::nonShared;
        } else {
            return fail(next, "expected \"SHARED\" or \"NONSHARED\"");
        }
        ++next;
        // The record is whole: a file installed and recorded, whatever follows.
        contents.records.push_back(record);
    }
    ++next;
    if (next >= lines.size())
        return cutOff(beginsKeyLine(tail), "the Uninstall key line");
    const std::string& key = lines[next];
    const std::string prefix = kUninstallKeyPrefix;
    if (key.compare(0, prefix.size(), prefix) != 0)
        return fail(next, "expected the Uninstall key line " + quoted(prefix + "..."));
    contents.registryKey = key;
    contents.appName = key.substr(prefix.size());
    if (++next != lines.size() || !tail.empty()) return fail(next, "text after the Uninstall key line");
    return true;
}

}  // namespace quillset
