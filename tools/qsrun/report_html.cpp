#include "report_html.h"

namespace quillset::qsrun {
namespace {

// The code points of code page 1252's bytes 0x80..0x9F (0 where the code page defines none).
const unsigned short cp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void cell(std::string& out, const std::string& text) { out += "<td>" + htmlText(text) + "</td>"; }

void row(std::string& out, const std::vector<std::string>& cells) {
    out += "<tr>";
    for (const std::string& text : cells) cell(out, text);
    out += "</tr>\n";
}

void table(std::string& out, const std::vector<std::string>& heads) {
    out += "<table>\n<tr>";
    for (const std::string& head : heads) out += "<th>" + htmlText(head) + "</th>";
    out += "</tr>\n";
}

void writePage(std::string& out, const PageRecord& page) {
    out += "<section>\n<h3>" + std::to_string(page.number) + ". " + htmlText(page.program) + ": " +
           htmlText(page.title.empty() ? "(untitled)" : page.title) +
           (page.dialog.empty() ? "" : " <small>" + htmlText(page.dialog) + "</small>") + "</h3>\n";
    if (!page.screenshot.empty())
        out += "<img src=\"" + htmlText(page.screenshot) + "\" alt=\"" + htmlText(page.title) + "\" width=\"512\">\n";
    table(out, {"ID", "Kind", "Text", "State"});
    for (const ControlRecord& control : page.controls) {
        std::string state = control.visible ? (control.enabled ? "enabled" : "disabled") : "hidden";
        if (control.checked >= 0) state += control.checked ? ", checked" : ", unchecked";
        row(out, {std::to_string(control.id), control.kind, control.text, state});
    }
    out += "</table>\n";
    if (!page.rows.empty()) {
        out += "<p>Rows:</p><ul>";
        for (const std::string& text : page.rows) out += "<li>" + htmlText(text) + "</li>";
        out += "</ul>\n";
    }
    if (!page.actions.empty()) {
        out += "<p>qsrun:</p><ol>";
        for (const std::string& action : page.actions) out += "<li>" + htmlText(action) + "</li>";
        out += "</ol>\n";
    }
    out += "</section>\n";
}

}  // namespace

std::string htmlText(const std::string& cp1252Text) {
    std::string out;
    for (const char c : cp1252Text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else if (byte >= 0x80 && byte < 0xA0) out += "&#" + std::to_string(cp1252High[byte - 0x80] ? cp1252High[byte - 0x80] : 0xFFFD) + ";";
        else if (byte >= 0xA0) out += "&#" + std::to_string(byte) + ";";
        else out += c;
    }
    return out;
}

std::string reportHtml(const RunReport& report) {
    std::string out =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>qsrun: " + htmlText(report.medium) +
        "</title>\n<style>body{font-family:sans-serif;margin:2em}table{border-collapse:collapse;margin:0.5em 0}"
        "td,th{border:1px solid #999;padding:2px 6px;text-align:left;vertical-align:top}"
        "section{border-top:1px solid #ccc;margin-top:1em}img{border:1px solid #999}</style></head>\n<body>\n";
    out += "<h1>qsrun " + htmlText(report.version) + ": " + htmlText(report.medium) + "</h1>\n";
    out += report.failure.empty() ? "<p>Result: <b>ok</b></p>\n"
                                   : "<p>Result: <b>failed</b>: " + htmlText(report.failure) + "</p>\n";
    out += "<p>Setup.exe's exit code: " +
           (report.setupExited ? std::to_string(report.setupExitCode) : std::string("none (it did not end)")) + "</p>\n";

    out += "<h2>Pages</h2>\n";
    for (const PageRecord& page : report.pages) writePage(out, page);

    out += "<h2>Message boxes</h2>\n";
    table(out, {"Program", "After page", "Caption", "Text", "Answer"});
    for (const MessageRecord& message : report.messages)
        row(out, {message.program, std::to_string(message.afterPage), message.caption, message.text, message.answer});
    out += "</table>\n";

    out += "<h2>Installed files</h2>\n";
    table(out, {"Path", "Kind", "Size", "SHA-256", "Version"});
    for (const FileRecord& file : report.files)
        row(out, {file.path, file.kind, file.exists ? std::to_string(file.size) : "missing", file.sha256, file.version});
    out += "</table>\n";

    out += "<h2>Shortcuts</h2>\n";
    table(out, {"Shortcut", "Target", "Arguments", "Working directory", "Description"});
    for (const ShortcutRecord& shortcut : report.shortcuts)
        row(out, {shortcut.path + (shortcut.exists ? "" : " (missing)"), shortcut.target, shortcut.arguments,
                  shortcut.workingDirectory, shortcut.description});
    out += "</table>\n";

    out += "<h2>Uninstall.log</h2>\n<p>" + htmlText(report.log.path.empty() ? "(no destination known)" : report.log.path) +
           (report.log.read ? ", dated " + htmlText(report.log.date) + ", key " + htmlText(report.log.key)
                            : ": not read: " + htmlText(report.log.error)) +
           "</p>\n";
    table(out, {"Line", "Kind", "Path", "Registration"});
    for (const LogRecordEntry& record : report.log.records)
        row(out, {std::to_string(record.line), record.kind, record.path, record.registration});
    out += "</table>\n";

    out += "<h2>Uninstall entry</h2>\n<p>" + htmlText(report.appName.empty() ? "(none written)" : report.appName) + "</p>\n";
    table(out, {"Value", "Type", "Data"});
    for (const RegistryValueRecord& value : report.entry) row(out, {value.name, value.type, value.data});
    out += "</table>\n";

    out += "<h2>Pending replacements</h2>\n";
    table(out, {"From", "To"});
    for (const RenameRecord& rename : report.pendingRenames) row(out, {rename.from, rename.to.empty() ? "(deleted)" : rename.to});
    out += "</table>\n";

    if (report.uninstall.ran) {
        out += "<h2>Uninstallation</h2>\n<p>Exit code: " +
               (report.uninstall.exited ? std::to_string(report.uninstall.exitCode) : std::string("none")) +
               (report.uninstall.entryRemains ? "; the Uninstall entry remains" : "") + "</p>\n";
        table(out, {"What remains", "Why"});
        for (const std::string& path : report.uninstall.remaining) row(out, {path, "not removed"});
        for (const std::string& path : report.uninstall.kept) row(out, {path, "shared file, kept for other programs"});
        for (const std::string& path : report.uninstall.dueAtRestart) row(out, {path, "deleted at the next restart"});
        out += "</table>\n";
    }
    out += "</body></html>\n";
    return out;
}

}  // namespace quillset::qsrun
