#include "report_json.h"

#include "json_output.h"

namespace quillset::qsrun {
namespace {

// A small builder for one object at a time: fields are separated by commas as they come.
class JsonObject {
public:
    explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
    ~JsonObject() { out_ += '}'; }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;
    std::string& key(const char* name) {
        if (!first_) out_ += ',';
        first_ = false;
        out_ += '"';
        out_ += name;
        out_ += "\":";
        return out_;
    }
    void text(const char* name, const std::string& value) { appendJsonString(key(name), value); }
    void number(const char* name, long long value) { key(name) += std::to_string(value); }
    void flag(const char* name, bool value) { key(name) += value ? "true" : "false"; }
    void null(const char* name) { key(name) += "null"; }
    // An empty text is reported as null: nothing was found or said.
    void textOrNull(const char* name, const std::string& value) {
        if (value.empty()) null(name);
        else text(name, value);
    }

private:
    std::string& out_;
    bool first_ = true;
};

template <typename Item, typename Write>
void array(std::string& out, const std::vector<Item>& items, Write write) {
    out += '[';
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += ',';
        out += "\n  ";
        write(out, items[i]);
    }
    out += ']';
}

void texts(std::string& out, const std::vector<std::string>& items) {
    out += '[';
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += ',';
        appendJsonString(out, items[i]);
    }
    out += ']';
}

void writeControl(std::string& out, const ControlRecord& control) {
    JsonObject object(out);
    object.number("id", control.id);
    object.text("kind", control.kind);
    object.text("text", control.text);
    object.flag("visible", control.visible);
    object.flag("enabled", control.enabled);
    if (control.checked < 0) object.null("checked");
    else object.flag("checked", control.checked != 0);
}

void writePage(std::string& out, const PageRecord& page) {
    JsonObject object(out);
    object.number("number", page.number);
    object.text("program", page.program);
    object.text("dialog", page.dialog);
    object.text("title", page.title);
    object.textOrNull("screenshot", page.screenshot);
    texts(object.key("texts"), page.texts);
    array(object.key("controls"), page.controls, writeControl);
    // "rows": the first column alone, as reports had it before the other columns were read.
    std::vector<std::string> rows;
    for (const std::vector<std::string>& cells : page.rowCells) rows.push_back(cells.empty() ? "" : cells.front());
    texts(object.key("rows"), rows);
    array(object.key("row_cells"), page.rowCells, [](std::string& o, const std::vector<std::string>& cells) { texts(o, cells); });
    texts(object.key("actions"), page.actions);
    object.flag("gone_before_photographed", page.goneBeforePhotographed);
}

void writeMessage(std::string& out, const MessageRecord& message) {
    JsonObject object(out);
    object.text("program", message.program);
    object.text("caption", message.caption);
    object.text("text", message.text);
    object.text("answer", message.answer);
    object.number("after_page", message.afterPage);
}

void writeLog(std::string& out, const LogReport& log) {
    JsonObject object(out);
    object.textOrNull("path", log.path);
    object.flag("read", log.read);
    object.textOrNull("error", log.error);
    object.text("date", log.date);
    object.text("key", log.key);
    array(object.key("records"), log.records, [](std::string& o, const LogRecordEntry& record) {
        JsonObject item(o);
        item.number("line", record.line);
        item.text("kind", record.kind);
        item.text("path", record.path);
        item.textOrNull("long_path", record.longPath);
        item.text("registration", record.registration);
    });
}

void writeFile(std::string& out, const FileRecord& file) {
    JsonObject object(out);
    object.text("path", file.path);
    object.textOrNull("long_path", file.longPath);
    object.text("kind", file.kind);
    object.flag("exists", file.exists);
    if (file.exists) {
        object.number("size", file.size);
        object.text("sha256", file.sha256);
    } else {
        object.null("size");
        object.null("sha256");
    }
    object.textOrNull("version", file.version);
}

void writeShortcut(std::string& out, const ShortcutRecord& shortcut) {
    JsonObject object(out);
    object.text("path", shortcut.path);
    object.flag("exists", shortcut.exists);
    object.text("target", shortcut.target);
    object.text("arguments", shortcut.arguments);
    object.text("working_directory", shortcut.workingDirectory);
    object.text("description", shortcut.description);
}

void writeUninstall(std::string& out, const UninstallReport& uninstall) {
    JsonObject object(out);
    if (uninstall.exited) object.number("exit_code", uninstall.exitCode);
    else object.null("exit_code");
    texts(object.key("remaining"), uninstall.remaining);
    texts(object.key("kept"), uninstall.kept);
    texts(object.key("due_at_restart"), uninstall.dueAtRestart);
    object.flag("entry_remains", uninstall.entryRemains);
}

void writeUpgradeFile(std::string& out, const UpgradeFile& file) {
    JsonObject object(out);
    object.text("path", file.path);
    object.textOrNull("earlier_version", file.earlierVersion);
    object.textOrNull("version", file.version);
}

// The earlier run itself is reported in its own folder, earlier/report.json.
void writeUpgrade(std::string& out, const RunReport& report) {
    const UpgradeReport& upgrade = report.upgrade;
    const bool uninstalled = report.uninstall.ran;
    JsonObject object(out);
    object.text("from", report.earlierRun.front().medium);
    object.text("earlier_report", "earlier/report.json");
    array(object.key("added"), upgrade.added, writeUpgradeFile);
    array(object.key("replaced"), upgrade.replaced, writeUpgradeFile);
    array(object.key("kept"), upgrade.kept, writeUpgradeFile);
    array(object.key("removed"), upgrade.removed, writeUpgradeFile);
    if (uninstalled) texts(object.key("remaining_after_uninstall"), upgrade.remainingAfterUninstall);
    else object.null("remaining_after_uninstall");
}

}  // namespace

std::string reportJson(const RunReport& report) {
    std::string out;
    {
        JsonObject object(out);
        object.text("qsrun", report.version);
        object.text("medium", report.medium);
        if (report.replacementFolder.empty()) {
            object.null("replaced_programs");
        } else {
            JsonObject replaced(object.key("replaced_programs"));
            replaced.text("from", report.replacementFolder);
            texts(replaced.key("files"), report.replacedPrograms);
        }
        object.text("result", report.failure.empty() ? "ok" : "failed");
        object.textOrNull("failure", report.failure);
        if (report.setupExited) object.number("setup_exit_code", report.setupExitCode);
        else object.null("setup_exit_code");
        if (report.singleFile.empty()) {
            object.null("single_file");
        } else {
            JsonObject single(object.key("single_file"));
            single.text("program", report.singleFile);
            single.flag("unpacking_folder_removed", report.unpackFolderRemoved);
        }
        array(object.key("pages"), report.pages, writePage);
        array(object.key("messages"), report.messages, writeMessage);
        object.textOrNull("application", report.appName);
        object.textOrNull("uninstall_entry_hive", report.entryHive);
        object.textOrNull("uninstall_entry_view", report.entryView);
        array(object.key("uninstall_entry"), report.entry, [](std::string& o, const RegistryValueRecord& value) {
            JsonObject item(o);
            item.text("name", value.name);
            item.text("type", value.type);
            item.text("data", value.data);
        });
        writeLog(object.key("uninstall_log"), report.log);
        array(object.key("files"), report.files, writeFile);
        array(object.key("shortcuts"), report.shortcuts, writeShortcut);
        array(object.key("pending_renames"), report.pendingRenames, [](std::string& o, const RenameRecord& rename) {
            JsonObject item(o);
            item.text("from", rename.from);
            item.textOrNull("to", rename.to);
        });
        if (report.uninstall.ran) writeUninstall(object.key("uninstall"), report.uninstall);
        else object.null("uninstall");
        if (report.earlierRun.empty()) object.null("upgrade");
        else writeUpgrade(object.key("upgrade"), report);
    }
    out += '\n';
    return out;
}

}  // namespace quillset::qsrun
