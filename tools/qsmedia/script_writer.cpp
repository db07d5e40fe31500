#include "script_writer.h"

#include <cstdio>
#include <map>

#include "path_text.h"
#include "process_names.h"
#include "script_reader.h"

namespace quillset {

namespace {

// Setup.exe's own colours, blue at the top to black at the bottom.
const std::vector<int> kDefaultBackground = {0, 0, 255, 0, 0, 0};

std::string destinationFolder(const MediumEntry& entry) {
    return "[DP]\\" + (entry.destinationFolder.empty() ? "" : entry.destinationFolder + "\\");
}

// A piece that a folder pattern can add: a whole file without anything of its own, installed
// under the name it has on the medium.
bool plain(const MediumEntry& entry, const Piece& piece) {
    return piece.part == 0 && !entry.shared && entry.shortcutName.empty() && entry.compressedPath.empty();
}

// The icon's path below the installation folder, as APPICON takes it ("bin\\demo.exe,1"); empty
// when none is asked for or no section installs it there.
std::string iconInDestination(const MediaDescription& d, const std::vector<MediumEntry>& entries) {
    if (d.icon.file.empty()) return "";
    for (const MediumEntry& entry : entries) {
        if (entry.treePath != d.icon.file || entry.shared) continue;
        const std::string name = fileNameOf(entry.mediumPath);
        const std::string path = entry.destinationFolder.empty() ? name : entry.destinationFolder + "\\" + name;
        return d.icon.index.empty() ? path : path + "," + d.icon.index;
    }
    return "";
}

}  // namespace

std::string pieceDiskFolder(const Piece& piece, bool withDisks) {
    return withDisks ? "DISK" + std::to_string(piece.disk) + "\\" : "";
}

std::string pieceDiskFromSetupDirectory(const Piece& piece, bool withDisks) {
    return piece.disk == 1 ? "\\" : "\\..\\" + pieceDiskFolder(piece, withDisks);
}

std::string piecePath(const MediumEntry& entry, const Piece& piece) {
    if (piece.part == 0) return storedPath(entry);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%03d", piece.part);
    return storedPath(entry) + suffix;
}

std::string writeSetupScript(const MediaDescription& d, const std::string& descriptionName,
                             const std::vector<MediumEntry>& entries, const std::vector<Piece>& pieces) {
    const bool withDisks = d.diskSize != 0;
    int disks = 1;
    for (const Piece& piece : pieces) disks = piece.disk > disks ? piece.disk : disks;
    // How many pieces each folder of each disk holds; disk 1's top holds the setup program too.
    std::map<std::string, int> inFolder{{lowerCaseAscii(pieceDiskFolder(Piece{}, withDisks)), 2}};
    for (const Piece& piece : pieces)
        ++inFolder[lowerCaseAscii(pieceDiskFolder(piece, withDisks) + folderOf(piecePath(entries[piece.file], piece)))];

    std::string s = "// Setup script of " + d.appName + ", laid out by qsmedia from " + descriptionName + ".\n";
    if (withDisks)
        s += "// " + std::to_string(disks) + " disk(s) of " + std::to_string(d.diskSize) +
             " bytes, the folders DISK1, DISK2 ... side by side: Setup.exe runs on DISK1\n"
             "// and finds the other disks as [SP]\\..\\DISKn.\n";
    s += statementText("SetAppName", {d.appName});
    if (!d.developer.empty()) s += statementText("SetDeveloperName", {d.developer});
    const std::string icon = iconInDestination(d, entries);
    if (!d.version.empty() || !d.url.empty() || !icon.empty())
        s += "// The entry in the system's list of programs: its version, web page and icon (in the\n"
             "// installation folder, wherever the user puts that).\n";
    if (!d.version.empty()) s += statementText("SetVariable", {"APPVERSION", d.version});
    if (!d.url.empty()) s += statementText("SetVariable", {"APPURL", d.url});
    if (!icon.empty()) s += statementText("SetVariable", {"APPICON", icon});
    // The main window is painted before the script runs, and of the appearance statements only
    // SetBackground paints it again: without it the caption would not show. The script says so to
    // its reader.
    s += "\n// Setup.exe paints the caption when it paints its window again, which SetBackground does:\n"
         "// the colours come after the caption, also where they are Setup.exe's own (blue to black).\n";
    s += statementText("SetCaption", {d.caption});
    std::vector<std::string> rgb;
    for (int n : d.background.size() == 6 ? d.background : kDefaultBackground) rgb.push_back(std::to_string(n));
    s += statementText("SetBackground", rgb);
    std::string welcome;
    for (std::size_t i = 0; i < d.welcomeLines.size(); ++i) welcome += (i ? "\n" : "") + d.welcomeLines[i];
    if (!d.welcomeLines.empty() && !d.welcomeTitle.empty()) s += statementText("SetWelcomeString", {welcome, d.welcomeTitle});
    else if (!d.welcomeLines.empty()) s += statementText("SetVariable", {"WELCOMESTRING", welcome});
    else if (!d.welcomeTitle.empty()) s += statementText("SetVariable", {"WELCOMESTRING_CAP", d.welcomeTitle});
    if (!d.welcomeNote.empty()) s += statementText("SetWelcomeString2", {d.welcomeNote});
    if (!d.licence.empty()) {
        s += "\n// Next stays disabled until the licence is accepted.\n";
        s += statementText("AddWindow", {"DIALOG_WELCOME", "licence", "CHECKBOX", d.licence, "0", "203", "236", "470", "254"});
        s += statementText("SetNextDynamicState", {"DIALOG_WELCOME", "CONTROL", "licence", "VALUE", "1"});
    }
    if (!d.forbiddenProcesses.empty()) s += "\n// Setup cannot replace these programs while they run.\n";
    for (const std::string& process : d.forbiddenProcesses) s += statementText("ForbidProcess", {process});

    for (const MediumEntry& entry : entries)
        if (!entry.compressedPath.empty()) {
            s += "\n// Files whose names end in '_' are compressed (SZDD, as the system's expand reads them):\n"
                 "// Setup.exe expands each as it installs it, under the name its AddFile gives.\n";
            break;
        }
    s += "\n";
    bool anyOptional = false, anyShortcut = false;
    for (const MediaSection& section : d.sections) {
        s += statementText("CreateSection", {section.name, section.required ? "1" : "0", "0",
                                         section.description.empty() ? section.name : section.description});
        anyOptional = anyOptional || !section.required;
    }

    std::string section;
    for (std::size_t i = 0; i < pieces.size();) {
        const Piece& piece = pieces[i];
        const MediumEntry& entry = entries[piece.file];
        if (entry.section != section) {
            section = entry.section;
            s += "\n// Section \"" + section + "\"\n";
        }
        const std::string diskFolder = pieceDiskFolder(piece, withDisks);
        const std::string source = "[SP]" + pieceDiskFromSetupDirectory(piece, withDisks);
        const std::string folder = folderOf(piecePath(entry, piece));
        const std::string disk = std::to_string(piece.disk);
        anyShortcut = anyShortcut || !entry.shortcutName.empty();

        // A run of plain pieces that fills a folder of a disk: one pattern for all of them.
        std::size_t end = i;
        while (end < pieces.size() && plain(entries[pieces[end].file], pieces[end]) && pieces[end].disk == piece.disk &&
               entries[pieces[end].file].section == section &&
               entries[pieces[end].file].destinationFolder == entry.destinationFolder &&
               folderOf(piecePath(entries[pieces[end].file], pieces[end])) == folder)
            ++end;
        if (end - i >= 2 && inFolder[lowerCaseAscii(diskFolder + folder)] == static_cast<int>(end - i)) {
            s += statementText("AddFile", {source + (folder.empty() ? "" : folder + "\\") + "*.*", destinationFolder(entry), section, "0", disk, "0", "0",
                                       "0", "0", ""});
            i = end;
            continue;
        }
        if (entry.treePath.empty()) s += "// The uninstaller that the entry in the system's list of programs names.\n";
        if (entry.shared) s += "// Shared: installed where Windows keeps shared files, after a version check.\n";
        if (piece.part == 1) {
            int last = piece.disk;
            for (std::size_t k = i; k < pieces.size() && pieces[k].file == piece.file; ++k) last = pieces[k].disk;
            const std::string compressed =
                entry.compressedPath.empty() ? "" : ", compressed to " + std::to_string(entry.compressedSize);
            s += "// " + entry.mediumPath + " (" + std::to_string(entry.size) + " bytes" + compressed +
                 "), split over disks " + disk + " to " + std::to_string(last) + "; the parts are joined in this order.\n";
        }
        const std::string name = fileNameOf(entry.mediumPath);
        // A file stored under another name is installed under its own.
        const bool named = piece.part != 0 || !entry.compressedPath.empty();
        const bool shortcut = !entry.shortcutName.empty() && (piece.part == 0 || piece.lastPart);
        s += statementText("AddFile", {source + piecePath(entry, piece),
                                   destinationFolder(entry) + (named ? name : ""), section,
                                   entry.shared ? "1" : "0", disk, piece.part ? "1" : "0", piece.lastPart ? "1" : "0",
                                   "0", shortcut ? "1" : "0", shortcut ? entry.shortcutName : ""});
        ++i;
    }

    s += "\n";
    s += statementText("ShowWelcome", {});
    s += statementText("ShowDest", {});
    if (d.sections.size() > 1 || anyOptional) s += statementText("ShowSections", {});
    if (anyShortcut) s += statementText("ShowProgramGroup", {});
    s += statementText("ShowCopy", {});
    if (!d.finishMessage.empty()) s += statementText("ShowMessage", {d.finishMessage, "[APPNAME]", "", "NOW"});

    std::string crlf;
    for (char c : s) crlf += c == '\n' ? "\r\n" : std::string(1, c);
    return crlf;
}

}  // namespace quillset
