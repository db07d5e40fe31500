#include "report_html.h"

#include <utility>

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

// A path as the vendor's tree names it, with the form the log records beside it where they differ.
std::string pathText(const std::string& recorded, const std::string& longPath) {
    if (longPath.empty() || longPath == recorded) return recorded;
    return longPath + " (recorded as " + recorded + ")";
}

// Where one run's parts are: its anchors begin with `prefix` and its screenshots lie in `imageFolder`
// (the earlier run of an upgrade has its own folder beside the report).
struct RunPlace {
    std::string prefix;
    std::string imageFolder;
};

std::string pageAnchor(const RunPlace& place, const PageRecord& page) { return place.prefix + "page-" + std::to_string(page.number); }

void writePage(std::string& out, const RunPlace& place, const PageRecord& page) {
    out += "<section id=\"" + pageAnchor(place, page) + "\">\n<h3>" + std::to_string(page.number) + ". " + htmlText(page.program) + ": " +
           htmlText(page.title.empty() ? "(untitled)" : page.title) +
           (page.dialog.empty() ? "" : " <small>" + htmlText(page.dialog) + "</small>") + "</h3>\n";
    if (page.goneBeforePhotographed)
        out += "<p><b>Gone before it could be photographed:</b> the page opened and closed between two looks at "
               "the screen; what follows is what it held when it closed.</p>\n";
    if (!page.screenshot.empty())
        out += "<img src=\"" + htmlText(place.imageFolder + page.screenshot) + "\" alt=\"" + htmlText(page.title) + "\" width=\"512\">\n";
    table(out, {"ID", "Kind", "Text", "State"});
    for (const ControlRecord& control : page.controls) {
        std::string state = control.visible ? (control.enabled ? "enabled" : "disabled") : "hidden";
        if (control.checked >= 0) state += control.checked ? ", checked" : ", unchecked";
        row(out, {std::to_string(control.id), control.kind, control.text, state});
    }
    out += "</table>\n";
    if (!page.rowCells.empty()) {
        out += "<p>Rows:</p>\n<table>\n";
        for (const std::vector<std::string>& cells : page.rowCells) row(out, cells);
        out += "</table>\n";
    }
    if (!page.actions.empty()) {
        out += "<p>qsrun:</p><ol>";
        for (const std::string& action : page.actions) out += "<li>" + htmlText(action) + "</li>";
        out += "</ol>\n";
    }
    out += "</section>\n";
}

// One run: its result, contents and parts.
void writeRun(std::string& out, const RunReport& report, const RunPlace& place) {
    out += report.failure.empty() ? "<p>Result: <b>ok</b></p>\n"
                                   : "<p>Result: <b>failed</b>: " + htmlText(report.failure) + "</p>\n";
    out += "<p>Setup.exe's exit code: " +
           (report.setupExited ? std::to_string(report.setupExitCode) : std::string("none (it did not end)")) + "</p>\n";
    if (!report.singleFile.empty())
        out += "<p>Run from the single file " + htmlText(report.singleFile) + ", whose unpacking folder " +
               (report.unpackFolderRemoved ? "was removed afterwards" : "<b>was left behind</b>") + "</p>\n";

    // The contents: every part of the page and each wizard page, so a long report can be walked.
    const std::vector<std::pair<std::string, std::string>> parts = {
        {"pages", "Pages"}, {"messages", "Message boxes"}, {"files", "Installed files"}, {"shortcuts", "Shortcuts"},
        {"log", "Uninstall.log"}, {"entry", "Uninstall entry"}, {"renames", "Pending replacements"}};
    out += "<nav><h2>Contents</h2>\n<ul>\n";
    for (const auto& [anchor, title] : parts) {
        out += "<li><a href=\"#" + place.prefix + anchor + "\">" + title + "</a>";
        if (anchor == "pages" && !report.pages.empty()) {
            out += "<ul>";
            for (const PageRecord& page : report.pages)
                out += "<li><a href=\"#" + pageAnchor(place, page) + "\">" + std::to_string(page.number) + ". " +
                       htmlText(page.program) + ": " + htmlText(page.title.empty() ? page.dialog : page.title) + "</a></li>";
            out += "</ul>";
        }
        out += "</li>\n";
    }
    if (report.uninstall.ran) out += "<li><a href=\"#" + place.prefix + "uninstallation\">Uninstallation</a></li>\n";
    out += "</ul></nav>\n";
    if (!report.replacementFolder.empty()) {
        out += "<p>The medium ran with programs from " + htmlText(report.replacementFolder) + " in place of its own:";
        for (const std::string& path : report.replacedPrograms) out += " " + htmlText(path);
        out += "</p>\n";
    }

    out += "<h2 id=\"" + place.prefix + "pages\">Pages</h2>\n";
    for (const PageRecord& page : report.pages) writePage(out, place, page);

    out += "<h2 id=\"" + place.prefix + "messages\">Message boxes</h2>\n";
    table(out, {"Program", "After page", "Caption", "Text", "Answer"});
    for (const MessageRecord& message : report.messages)
        row(out, {message.program, std::to_string(message.afterPage), message.caption, message.text, message.answer});
    out += "</table>\n";

    out += "<h2 id=\"" + place.prefix + "files\">Installed files</h2>\n";
    table(out, {"Path", "Kind", "Size", "SHA-256", "Version"});
    for (const FileRecord& file : report.files)
        row(out, {pathText(file.path, file.longPath), file.kind, file.exists ? std::to_string(file.size) : "missing", file.sha256, file.version});
    out += "</table>\n";

    out += "<h2 id=\"" + place.prefix + "shortcuts\">Shortcuts</h2>\n";
    table(out, {"Shortcut", "Target", "Arguments", "Working directory", "Description"});
    for (const ShortcutRecord& shortcut : report.shortcuts)
        row(out, {shortcut.path + (shortcut.exists ? "" : " (missing)"), shortcut.target, shortcut.arguments,
                  shortcut.workingDirectory, shortcut.description});
    out += "</table>\n";

    out += "<h2 id=\"" + place.prefix + "log\">Uninstall.log</h2>\n<p>" + htmlText(report.log.path.empty() ? "(no destination known)" : report.log.path) +
           (report.log.read ? ", dated " + htmlText(report.log.date) + ", key " + htmlText(report.log.key)
                            : ": not read: " + htmlText(report.log.error)) +
           "</p>\n";
    table(out, {"Line", "Kind", "Path", "Registration"});
    for (const LogRecordEntry& record : report.log.records)
        row(out, {std::to_string(record.line), record.kind, pathText(record.path, record.longPath), record.registration});
    out += "</table>\n";

    out += "<h2 id=\"" + place.prefix + "entry\">Uninstall entry</h2>\n<p>" +
           htmlText(report.appName.empty() ? "(none written)"
                                           : report.entryHive + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
                                                 report.appName + " (" + report.entryView + " registry view)") +
           "</p>\n";
    table(out, {"Value", "Type", "Data"});
    for (const RegistryValueRecord& value : report.entry) row(out, {value.name, value.type, value.data});
    out += "</table>\n";

    out += "<h2 id=\"" + place.prefix + "renames\">Pending replacements</h2>\n";
    table(out, {"From", "To"});
    for (const RenameRecord& rename : report.pendingRenames) row(out, {rename.from, rename.to.empty() ? "(deleted)" : rename.to});
    out += "</table>\n";

    if (report.uninstall.ran) {
        out += "<h2 id=\"" + place.prefix + "uninstallation\">Uninstallation</h2>\n<p>Exit code: " +
               (report.uninstall.exited ? std::to_string(report.uninstall.exitCode) : std::string("none")) +
               (report.uninstall.entryRemains ? "; the Uninstall entry remains" : "") + "</p>\n";
        table(out, {"What remains", "Why"});
        for (const std::string& path : report.uninstall.remaining) row(out, {path, "not removed"});
        for (const std::string& path : report.uninstall.kept) row(out, {path, "shared file, kept for other programs"});
        for (const std::string& path : report.uninstall.dueAtRestart) row(out, {path, "deleted at the next restart"});
        out += "</table>\n";
    }
}


void upgradeTable(std::string& out, const char* title, const std::vector<UpgradeFile>& files) {
    out += "<h3>" + std::string(title) + " (" + std::to_string(files.size()) + ")</h3>\n";
    table(out, {"Path", "Earlier version", "Version"});
    for (const UpgradeFile& file : files) row(out, {file.path, file.earlierVersion, file.version});
    out += "</table>\n";
}

// The upgrade at a glance, above the two runs.
void writeUpgrade(std::string& out, const RunReport& report) {
    const UpgradeReport& upgrade = report.upgrade;
    const bool uninstalled = report.uninstall.ran;
    out += "<h2 id=\"upgrade\">Upgrade from " + htmlText(report.earlierRun.front().medium) +
           "</h2>\n<p>The earlier medium was installed first (<a href=\"#earlier\">its run</a>, <a href=\"earlier/report.html\">"
           "its own report</a>), then this one (<a href=\"#later\">its run</a>).</p>\n";
    upgradeTable(out, "Added", upgrade.added);
    upgradeTable(out, "Replaced", upgrade.replaced);
    upgradeTable(out, "Kept from the earlier version", upgrade.kept);
    upgradeTable(out, "Removed", upgrade.removed);
    if (uninstalled) {
        out += "<p>After the uninstallation, of the earlier version's files: " +
               std::string(upgrade.remainingAfterUninstall.empty() ? "none remains" : "these remain") + "</p>\n<ul>";
        for (const std::string& path : upgrade.remainingAfterUninstall) out += "<li>" + htmlText(path) + "</li>";
        out += "</ul>\n";
    }
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
    if (!report.earlierRun.empty()) {
        writeUpgrade(out, report);
        out += "<h1 id=\"earlier\">1. The earlier medium: " + htmlText(report.earlierRun.front().medium) + "</h1>\n";
        writeRun(out, report.earlierRun.front(), RunPlace{"earlier-", "earlier/"});
        out += "<h1 id=\"later\">2. This medium: " + htmlText(report.medium) + "</h1>\n";
    }
    writeRun(out, report, RunPlace{});
    out += "</body></html>\n";
    return out;
}

}  // namespace quillset::qsrun
