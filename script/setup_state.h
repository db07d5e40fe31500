// The setup model: everything the script declares and everything the run shares between windows.
// One SetupState lives for the whole run; the declared records are appended in script order and
// never removed. Records refer to each other by name only, compared exactly at the moment of use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stored_statement.h"
#include "variables.h"

namespace quillset {

// A COLORREF: red in bits 0-7, green in 8-15, blue in 16-23.
using ColorRef = std::uint32_t;

inline ColorRef makeColorRef(int red, int green, int blue) {
    return static_cast<ColorRef>(red & 0xFF) | (static_cast<ColorRef>(green & 0xFF) << 8) |
           (static_cast<ColorRef>(blue & 0xFF) << 16);
}

struct RgbTriple {
    int red = 0, green = 0, blue = 0;  // stored as given, not limited to 0..255
};

// One CreateSection statement. Its third argument has no effect and is not kept.
struct InstallSection {
    std::string name;
    int mustInstall = 0;  // non-zero: installed whatever the user selects
    std::string description;
    bool selected = false;  // set by the sections page
};

// One file found by an AddFile statement. Its eighth argument has no effect and is not kept.
struct InstallFileEntry {
    std::string sourcePath;       // directory of the pattern + found name, variables substituted
    std::string sourceShortName;  // the found name's short form where the folder's listing told it
                                  // for sure (empty: the platform is asked when the file is installed)
    std::string destinationPath;  // variables in it are substituted when the file is installed
    std::string shortcutName;     // without ".lnk"
    std::string sectionName;
    bool shared = false;
    std::int16_t diskNumber = 0;  // low 16 bits of the number given
    bool splitPart = false;
    bool lastPart = false;
    bool createShortcut = false;
};

// One AddWindow statement: a control the page frame creates each time its page opens (the wizard
// keeps its window while the page is open). Its fifth argument has no effect and is not kept.
struct CustomControl {
    std::string type;               // a known control kind, or a window class name
    std::string controlName;
    std::string pageName;
    std::string text;               // variables substituted when the statement ran
    int left = 0, top = 0, right = 0, bottom = 0;  // page client pixels
};

// How the main window looks: set by the script, read by the painting and by qscheck plan.
struct Appearance {
    RgbTriple backgroundTop{0, 0, 255};
    RgbTriple backgroundBottom{0, 0, 0};
    int redrawWait = 0;  // milliseconds
    int captionSize = 65;  // points
    ColorRef captionColor = 0x00FFFFFF;
    ColorRef captionColor2 = 0;  // drawn only when it differs from captionColor
    int captionX = 30, captionY = 30;
    int captionX2 = 40, captionY2 = 40;
};

// Where the run stands. The instance and the windows are the wizard's own (wizard/win32_session.h).
struct Session {
    std::string currentPageName;  // empty before the first page
    std::string programFilesDir;  // ProgramFilesDir followed by '\', or '\' alone
};

// What the user chose on the pages, beyond the variables (DP, PROGRAMGROUP) and the sections'
// `selected` flags.
struct UserChoices {
    bool destinationAccepted = true;  // while false, the destination page keeps Next disabled
    bool createProgramGroup = true;   // make the program group folder and the shortcuts
};

// The installation run and the answers given during it.
struct InstallRun {
    bool copyStarted = false;
    bool installAll = false;    // install on every language or code page conflict
    bool overwriteAll = false;  // overwrite every existing file without asking
};

// Everything the script declares and the run shares between windows, in named parts, so that code
// takes the part it needs. The script's reader is not part of it: the run is handed the statements.
struct SetupState {
    // The declared model.
    VariableTable variables;
    std::vector<InstallSection> sections;
    std::vector<InstallFileEntry> files;
    std::vector<CustomControl> controls;
    std::vector<StoredStatement> storedStatements;

    Appearance appearance;
    Session session;
    UserChoices choices;
    InstallRun run;
};

}  // namespace quillset
