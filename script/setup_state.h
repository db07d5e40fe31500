// The setup model: everything the script declares and everything the run shares between windows.
// One SetupState lives for the whole run; the declared records are appended in script order and
// never removed. Records refer to each other by name only, compared exactly at the moment of use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "script_reader.h"
#include "variables.h"

namespace quillset {

// Window, instance and font handles of the platform, opaque to the portable code.
using WindowHandle = void*;
using InstanceHandle = void*;
using FontHandle = void*;

// A COLORREF: red in bits 0-7, green in 8-15, blue in 16-23.
using ColorRef = std::uint32_t;

inline ColorRef makeColorRef(int red, int green, int blue) {
    return static_cast<ColorRef>(red & 0xFF) | (static_cast<ColorRef>(green & 0xFF) << 8) |
           (static_cast<ColorRef>(blue & 0xFF) << 16);
}

struct RgbTriple {
    int red = 0, green = 0, blue = 0;  // stored as given, not limited to 0..255
};

// The five built-in pages, by the names statements use for them.
namespace PageName {
constexpr const char* Welcome = "DIALOG_WELCOME";
constexpr const char* Destination = "DIALOG_DEST";
constexpr const char* Sections = "DIALOG_SECTIONS";
constexpr const char* ProgramGroup = "DIALOG_PROGRAMGROUP";
constexpr const char* Copy = "DIALOG_COPY";
}  // namespace PageName

// One CreateSection statement.
struct InstallSection {
    std::string name;
    int mustInstall = 0;  // non-zero: installed whatever the user selects
    int third = 0;        // kept as the script gave it; nothing reads it
    std::string description;
    int selected = 0;     // set by the sections page
};

// One file found by an AddFile statement.
struct InstallFileEntry {
    std::string sourcePath;       // directory of the pattern + found name, variables substituted
    std::string destinationPath;  // variables in it are substituted when the file is installed
    std::string shortcutName;     // without ".lnk"
    std::string sectionName;
    int shared = 0;
    std::int16_t diskNumber = 0;  // low 16 bits of the number given
    int splitPart = 0;
    int lastPart = 0;
    int eighth = 0;               // kept as the script gave it; nothing reads it
    int createShortcut = 0;
};

// One AddWindow statement: a control the page frame creates each time its page opens.
struct CustomControl {
    WindowHandle window = nullptr;  // only while its page is open
    std::string type;               // a known control kind, or a window class name
    std::string controlName;
    std::string pageName;
    std::string text;               // variables substituted when the statement ran
    int fifth = 0;                  // kept as the script gave it; nothing reads it
    int left = 0, top = 0, right = 0, bottom = 0;  // page client pixels
};

// A statement kept to take effect later: ShowMessage, SetNextDynamicState or CheckButton.
struct StoredStatement {
    std::string command;
    std::vector<std::string> arguments;
};

struct SetupState {
    explicit SetupState(NameCharacterTest isNameCharacter, FatalMessageSink reportFatal)
        : script(std::move(isNameCharacter), std::move(reportFatal)) {}

    // Script and declared model.
    SetupScript script;
    VariableTable variables;
    std::vector<InstallSection> sections;
    std::vector<InstallFileEntry> files;
    std::vector<CustomControl> controls;
    std::vector<StoredStatement> storedStatements;

    // Process and windows.
    InstanceHandle instance = nullptr;
    int isNt = 0;
    int screenWidth = 0, screenHeight = 0;
    WindowHandle splashWindow = nullptr;
    WindowHandle mainWindow = nullptr;
    WindowHandle pageWindow = nullptr;
    std::string currentPageName;  // empty before the first page
    FontHandle pageFont = nullptr;
    std::string programFilesDir;  // ProgramFilesDir followed by '\', or '\' alone

    // Appearance of the main window.
    RgbTriple backgroundTop{0, 0, 255};
    RgbTriple backgroundBottom{0, 0, 0};
    int redrawWait = 0;  // milliseconds
    int captionSize = 65;  // points
    ColorRef captionColor = 0x00FFFFFF;
    ColorRef captionColor2 = 0;  // drawn only when it differs from captionColor
    int captionX = 30, captionY = 30;
    int captionX2 = 40, captionY2 = 40;

    // Run state shared between the pages and the installation run.
    int destinationAccepted = 1;
    int createProgramGroup = 1;
    int copyStarted = 0;
    int installAll = 0;
    int overwriteAll = 0;
    std::string conflictSourcePath;
    std::string conflictDestinationPath;
    // The process guard's table: one entry per process seen by the last walk (its size is the count).
    std::vector<std::string> runningProcessNames;
};

}  // namespace quillset
