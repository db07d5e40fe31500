// The description a script author writes for qsmedia: the application, its sections and the
// folders that go into them, shared files, shortcuts, a few wizard texts and the disk size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillset {

// A folder of the tree whose files a section installs, below the installation folder.
struct SectionFolder {
    std::string folder;       // relative to the tree, with '/' separators, no trailing '/'
    std::string destination;  // relative to the installation folder, with '\' separators; empty: its top
};

struct ShortcutRequest {
    std::string name;  // the shortcut's name in the program group
    std::string file;  // relative to the tree, with '/' separators
    int line = 0;
};

struct SharedFile {
    std::string file;  // relative to the tree, with '/' separators
    int line = 0;
};

// The icon of the application's entry in the system's list of programs: a file a section installs
// into the installation folder, and optionally which of its icons.
struct IconRequest {
    std::string file;   // relative to the tree, with '/' separators; empty: none asked for
    std::string index;  // the digits after "FILE,"; empty: the first icon
    int line = 0;
};

struct MediaSection {
    std::string name;
    bool required = false;
    std::string description;  // shown on the sections page; the name when not given
    std::vector<SectionFolder> folders;
    std::vector<SharedFile> sharedFiles;
    std::vector<ShortcutRequest> shortcuts;
    int line = 0;
};

struct MediaDescription {
    std::string appName;
    std::string developer;
    std::string version;  // APPVERSION: the entry's version
    std::string url;      // APPURL: the entry's web page
    IconRequest icon;     // APPICON
    std::string caption = "[APPNAME] Setup";
    std::vector<int> background;  // six numbers, or none
    std::string welcomeTitle;
    std::vector<std::string> welcomeLines;
    std::string welcomeNote;
    std::string licence;
    std::vector<std::string> forbiddenProcesses;
    std::string finishMessage;
    std::uint64_t diskSize = 0;  // 0: one medium without disks
    int diskSizeLine = 0;        // the line that sets it
    std::vector<MediaSection> sections;
};

// One problem found, with the line it is on (0: the file as a whole).
struct DescriptionError {
    int line = 0;
    std::string message;
};

// Reads the text of a description. Texts come back in code page 1252, as the script needs them
// (UTF-8 input is converted). Returns false and the errors when the description is unusable.
bool parseMediaDescription(const std::string& text, MediaDescription& description,
                           std::vector<DescriptionError>& errors);

// "1440K", "20M", "1.5M", "100000": bytes, K = 1024, M = 1024 K, G = 1024 M. 0 when not a size.
std::uint64_t parseDiskSize(const std::string& text);

// UTF-8 text in code page 1252; text that is not UTF-8 is taken as code page 1252 already. False
// when a character has no place in code page 1252.
bool toCp1252(const std::string& text, std::string& out);

}  // namespace quillset
