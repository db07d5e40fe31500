// Reading and writing INI files the way the Windows 95/98 start-up reads Wininit.ini.
//
// Each line ends at LF. To read it, the line is cut at its first CR and then at its first ";"
// (comments, and whatever follows a ";" in a value, are dropped). A line holding "[" with no "=",
// or with its first "[" before its first "=", is a section header named by the text between that
// "[" and the next "]"; any other line with "=" is an entry of the current section (key before the
// first "=", value after it, neither trimmed). Lines before the first header and lines without "="
// are not read.
//
// Two kinds of line the format leaves open are read like this:
// - A header line without "]" names no section, but it ends the section before it: the entries
//   after it, up to the next complete header, belong to no section and are not read into the
//   model. A reader of the file may take such a line for the start of some section; ending the
//   section there keeps us from ever placing an entry of ours below it, where that reader would
//   not find it under the section we meant. The line and those after it stay in the file.
// - A line has no length limit: a line longer than 4095 characters is read whole, as one line. A
//   reader with a fixed buffer would split it and read its tail as a line of its own, which could
//   turn part of a long value into a header or an entry nobody wrote.
//
// A file with content keeps its lines as read (with their own line ends, LF or CR LF, and a last
// line without one) and our changes are made to those lines only. A file written from scratch, or
// from one that was empty, is the model in its order with CR LF line ends.
#include "ini_file.h"

#include <cstdio>

namespace quillset {
namespace {

struct ParsedLine {
    enum Kind { Other, Header, BrokenHeader, Entry };
    Kind kind = Other;
    std::string name;   // the section name of a header, the key of an entry
    std::string value;  // the value of an entry
};

// The line's text without its line end (a trailing LF, and a CR before it).
std::string withoutLineEnd(const std::string& line) {
    std::size_t end = line.size();
    if (end > 0 && line[end - 1] == '\n') --end;
    if (end > 0 && line[end - 1] == '\r') --end;
    return line.substr(0, end);
}

// The line end of a kept line: "\r\n", "\n" or none (the last line of a file).
std::string lineEndOf(const std::string& line) {
    if (line.empty() || line.back() != '\n') return "";
    return line.size() >= 2 && line[line.size() - 2] == '\r' ? "\r\n" : "\n";
}

ParsedLine parseLine(const std::string& rawLine) {
    std::string text = rawLine;
    const std::size_t cr = text.find('\r');
    if (cr != std::string::npos) text.resize(cr);
    const std::size_t semicolon = text.find(';');
    if (semicolon != std::string::npos) text.resize(semicolon);
    if (!text.empty() && text.back() == '\n') text.pop_back();

    ParsedLine parsed;
    const std::size_t bracket = text.find('[');
    const std::size_t equals = text.find('=');
    if (bracket != std::string::npos && (equals == std::string::npos || bracket < equals)) {
        const std::size_t closing = text.find(']', bracket + 1);
        if (closing == std::string::npos) {
            parsed.kind = ParsedLine::BrokenHeader;
        } else {
            parsed.kind = ParsedLine::Header;
            parsed.name = text.substr(bracket + 1, closing - bracket - 1);
        }
    } else if (equals != std::string::npos) {
        parsed.kind = ParsedLine::Entry;
        parsed.name = text.substr(0, equals);
        parsed.value = text.substr(equals + 1);
    }
    return parsed;
}

bool isBlank(const std::string& line) {
    return withoutLineEnd(line).find_first_not_of(" \t\r") == std::string::npos;
}

}  // namespace

IniLoadResult IniFile::load(const std::string& path) {
    sections_.clear();
    lines_.clear();
    loadedFromFile_ = false;
    if (path.empty()) return IniLoadResult::noPath;
    // Through the C library, not the C++ streams: the streams would triple the size of the
    // programs. A directory opens on some platforms but then fails to read.
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) return IniLoadResult::cannotRead;
    std::string bytes;
    char buffer[4096];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, in)) > 0;) bytes.append(buffer, read);
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) return IniLoadResult::cannotRead;
    loadText(bytes);
    return IniLoadResult::loaded;
}

void IniFile::loadText(const std::string& bytes) {
    sections_.clear();
    lines_.clear();
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t lf = bytes.find('\n', start);
        const std::size_t end = lf == std::string::npos ? bytes.size() : lf + 1;
        lines_.push_back(bytes.substr(start, end - start));
        start = end;
    }
    // An empty file has nothing to keep: it is written like a new one.
    loadedFromFile_ = !lines_.empty();

    IniSection* current = nullptr;
    for (const std::string& line : lines_) {
        ParsedLine parsed = parseLine(line);
        if (parsed.kind == ParsedLine::Header) {
            current = &sections_[parsed.name];
        } else if (parsed.kind == ParsedLine::BrokenHeader) {
            current = nullptr;
        } else if (parsed.kind == ParsedLine::Entry && current != nullptr) {
            current->entries[parsed.name] = std::move(parsed.value);
        }
    }
}

void IniFile::setEntry(const std::string& section, const std::string& key, const std::string& value) {
    putEntry(section, key, value, true);
}

void IniFile::addEntry(const std::string& section, const std::string& key, const std::string& value) {
    putEntry(section, key, value, false);
}

void IniFile::putEntry(const std::string& section, const std::string& key, const std::string& value, bool replace) {
    sections_[section].entries[key] = value;
    if (!loadedFromFile_) return;

    // Walk the kept lines with the reading rules: the last line of the section (over all of its
    // headers) that holds this key, and the last non-blank line of the section's last block.
    constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::size_t keyLine = none;
    std::size_t lastLineOfSection = none;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const ParsedLine parsed = parseLine(lines_[i]);
        if (parsed.kind == ParsedLine::Header || parsed.kind == ParsedLine::BrokenHeader) {
            inSection = parsed.kind == ParsedLine::Header && parsed.name == section;
            if (inSection) lastLineOfSection = i;
        } else if (inSection) {
            if (parsed.kind == ParsedLine::Entry && parsed.name == key) keyLine = i;
            if (!isBlank(lines_[i])) lastLineOfSection = i;
        }
    }

    const std::string entry = key + "=" + value;
    if (replace && keyLine != none) {
        // The last line with the key is the one whose value a reader ends up with, so it is the
        // one replaced; it keeps its line end.
        lines_[keyLine] = entry + lineEndOf(lines_[keyLine]);
        return;
    }
    std::size_t insertAt = lines_.size();
    std::string added = entry + "\r\n";
    if (lastLineOfSection != none) {
        insertAt = lastLineOfSection + 1;
    } else {
        added = "[" + section + "]\r\n" + added;
    }
    // The line we add after must end first (the last line of a file may have no line end).
    std::string& before = lines_[insertAt - 1];
    if (before.back() != '\n') before += before.back() == '\r' ? "\n" : "\r\n";
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), added);
}

std::string IniFile::saveText() const {
    std::string text;
    if (loadedFromFile_) {
        for (const std::string& line : lines_) text += line;
        return text;
    }
    for (const auto& [name, section] : sections_) {
        text += "[" + name + "]\r\n";
        for (const auto& [key, value] : section.entries) text += key + "=" + value + "\r\n";
        text += "\r\n";
    }
    return text;
}

bool IniFile::save(const std::string& path) const {
    if (path.empty()) return false;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    const std::string text = saveText();
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace quillset
