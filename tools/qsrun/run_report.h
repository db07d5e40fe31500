// What one qsrun run saw and found: the pages and message boxes of Setup.exe (and of the
// uninstaller), the exit codes, and the installation as the uninstaller's log, the Uninstall entry
// and the file system show it. The driver fills it; report_json and report_html write it.
// Texts are as the programs show them (code page 1252). Portable.
#pragma once

#include <string>
#include <vector>

namespace quillset::qsrun {

struct ControlRecord {
    int id = 0;
    std::string kind;  // "text", "push button", "check box", "option button", "group box", "edit", "list", "progress", or the class
    std::string text;
    bool visible = true;
    bool enabled = true;
    int checked = -1;  // check boxes and option buttons: 0 or 1; -1 for other controls
};

struct PageRecord {
    int number = 0;              // 1-based over the run
    std::string program;         // "Setup.exe" or the uninstaller
    std::string dialog;          // the template's name (IDD_WELCOME) or "" for another window
    std::string title;
    std::string screenshot;      // file name beside the report, "" when none could be taken
    std::vector<std::string> texts;  // the visible labels, in creation order
    std::vector<ControlRecord> controls;
    std::vector<std::vector<std::string>> rowCells;  // list views' rows (the sections), every column (the sizes)
    std::vector<std::string> actions;  // what qsrun did on the page, in order
    // The page came and went between two looks at the screen: it is reported as the program's
    // own journal recorded it when it closed, without a screenshot.
    bool goneBeforePhotographed = false;
};

struct MessageRecord {
    std::string program;
    std::string caption;
    std::string text;
    std::string answer;  // "OK", "YES" ...
    int afterPage = 0;   // the number of the page shown last before it, 0 before any
};

struct LogRecordEntry {
    int line = 0;
    std::string kind;  // "file", "shortcut", "shared"
    std::string path;
    std::string longPath;  // the path with every folder and name in its long form, "" when unknown
    std::string registration;  // "", "register", "no-register"
};

struct LogReport {
    std::string path;   // where it was looked for, "" when no entry named a destination
    bool read = false;
    std::string error;  // why it could not be read ("LINE: WHY" for a refused log)
    std::string date;
    std::string key;
    std::vector<LogRecordEntry> records;
};

struct FileRecord {
    std::string path;      // as the log records it (short forms for the product's own files)
    std::string longPath;  // the same file by its long names, as the vendor's tree names it
    std::string kind;  // as the log's record
    bool exists = false;
    long long size = -1;
    std::string sha256;
    std::string version;  // the version resource's file version, "" when it has none
};

struct RegistryValueRecord {
    std::string name;
    std::string type;  // "REG_SZ", "REG_DWORD" ...
    std::string data;
};

struct ShortcutRecord {
    std::string path;
    bool exists = false;
    std::string target;
    std::string arguments;
    std::string workingDirectory;
    std::string description;
};

struct RenameRecord {
    std::string from;
    std::string to;  // "" for a deletion
};

struct UninstallReport {
    bool ran = false;
    bool exited = false;
    int exitCode = 0;
    std::vector<std::string> remaining;    // the log's files and shortcuts still there
    std::vector<std::string> kept;         // shared files still there: other programs may use them
    std::vector<std::string> dueAtRestart; // still there, but due to be deleted at the restart
    bool entryRemains = false;
};

// --upgrade-from: the earlier medium's files as the later installation left them. Paths are the
// files' long forms where known.
struct UpgradeFile {
    std::string path;
    std::string earlierVersion;  // "" for a file the earlier medium did not install, or without version
    std::string version;         // the file's version now, "" when it has none or is gone
};

struct UpgradeReport {
    std::vector<UpgradeFile> added;     // installed by the later medium alone
    std::vector<UpgradeFile> replaced;  // the earlier medium's files whose bytes the later one changed
    std::vector<UpgradeFile> kept;      // the earlier medium's files with the bytes it installed
    std::vector<UpgradeFile> removed;   // the earlier medium's files that are gone
    // After --uninstall: the earlier medium's files (shared files aside) still there.
    std::vector<std::string> remainingAfterUninstall;
};

struct RunReport {
    std::string version;   // qsrun's
    std::string medium;    // as given on the command line
    std::string failure;   // "" when the run succeeded
    bool setupExited = false;
    int setupExitCode = 0;  // a single file's: the exit code it passed on from its Setup.exe
    // A single-file installer (qsmedia --single-file) run in place of a medium's Setup.exe: its
    // name, and whether the folder it unpacked into was gone when it had ended.
    std::string singleFile;
    bool unpackFolderRemoved = false;
    std::vector<PageRecord> pages;  // of both programs, in order
    std::vector<MessageRecord> messages;
    // The programs of the medium that qsrun replaced before the run (--programs64), as paths
    // inside the medium, and the folder the replacements came from; empty when none were.
    std::vector<std::string> replacedPrograms;
    std::string replacementFolder;
    std::string appName;   // the Uninstall entry's name, "" when Setup.exe wrote none
    std::string entryHive;  // "HKEY_LOCAL_MACHINE"
    std::string entryView;  // "64-bit" or "32-bit" (a 32-bit program's view, Wow6432Node)
    std::vector<RegistryValueRecord> entry;
    LogReport log;
    std::vector<FileRecord> files;
    std::vector<ShortcutRecord> shortcuts;
    std::vector<RenameRecord> pendingRenames;  // after the installation
    UninstallReport uninstall;
    // --upgrade-from: the earlier medium's run (one, in its own report folder "earlier") and what
    // this run did to what it installed; empty without the option.
    std::vector<RunReport> earlierRun;
    UpgradeReport upgrade;
};

}  // namespace quillset::qsrun
