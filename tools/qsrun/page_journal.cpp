#include "page_journal.h"

#include <cstdlib>

namespace quillset::qsrun {

namespace {

std::string unescape(const std::string& field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            text += field[i];
            continue;
        }
        const char next = field[++i];
        text += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return text;
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(unescape(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

bool hexNumber(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text.size() > 16) return false;
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, 16);
    return *end == '\0';
}

bool decimalNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 11) return false;
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    value = static_cast<int>(number);
    return *end == '\0';
}

}  // namespace

std::string escapeJournalText(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\\': escaped += "\\\\"; break;
            case '\t': escaped += "\\t"; break;
            case '\r': escaped += "\\r"; break;
            case '\n': escaped += "\\n"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

std::vector<JournalPage> readPageJournal(const std::string& text) {
    std::vector<JournalPage> pages;
    JournalPage page;
    bool inRecord = false;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) break;  // a line still being written
        const std::vector<std::string> fields = fieldsOf(text.substr(start, end - start));
        start = end + 1;
        const std::string& kind = fields[0];
        if (kind == "PAGE" && fields.size() == 4 && (fields[1] == "opened" || fields[1] == "closed")) {
            page = JournalPage{};
            page.closed = fields[1] == "closed";
            inRecord = hexNumber(fields[2], page.handle);
            page.title = fields[3];
        } else if (!inRecord) {
            continue;  // the rest of a record whose start was not readable
        } else if (kind == "CONTROL" && fields.size() == 6) {
            JournalControl control;
            std::uint64_t style = 0;
            inRecord = decimalNumber(fields[1], control.id) && hexNumber(fields[3], style) &&
                       decimalNumber(fields[4], control.checked);
            control.className = fields[2];
            control.style = static_cast<std::uint32_t>(style);
            control.text = fields[5];
            page.controls.push_back(control);
        } else if (kind == "ROW" && !page.controls.empty()) {
            page.controls.back().rows.emplace_back(fields.begin() + 1, fields.end());
        } else if (kind == "END" && fields.size() == 1) {
            pages.push_back(page);
            inRecord = false;
        } else {
            inRecord = false;
        }
    }
    return pages;
}

std::string controlKindOf(const std::string& className, std::uint32_t style) {
    std::string lower;
    for (const char c : className) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower == "static") return "text";
    if (lower == "edit") return "edit";
    if (lower == "syslistview32") return "list";
    if (lower == "msctls_progress32") return "progress";
    if (lower != "button") return className;
    // The button kinds of the style's low four bits (BS_TYPEMASK).
    switch (style & 0xF) {
        case 0x2: case 0x3: case 0x5: case 0x6: return "check box";    // (AUTO)CHECKBOX, (AUTO)3STATE
        case 0x4: case 0x9: return "option button";                    // (AUTO)RADIOBUTTON
        case 0x7: return "group box";
        default: return "push button";
    }
}

}  // namespace quillset::qsrun
