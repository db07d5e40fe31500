// The words of robot scenarios and the values they stand for: splitting a line into words, quoting
// a text as one word, and reading a word as a control, a number, seconds, a key or a message box
// answer. Shared by the step table, the scenario reader and qsrun's answers file. Portable (no
// <windows.h>), so it is unit tested natively.
#pragma once

#include <string>
#include <vector>

namespace quillset::robot {

// Splits one line into words: words are separated by blanks or tabs; a word starting with a
// double quote runs to the matching quote and may contain blanks; inside it "" stands for one
// quote, \n a line feed, \r a carriage return and \\ one backslash (any other backslash stands
// for itself, so most Windows paths need no doubling).
// Returns false and sets `error` for an unterminated quote or a quote glued to other characters.
bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error);

// Writes a text as a quoted scenario word, so a reported text can be pasted into a scenario.
std::string quoteWord(const std::string& text);

// How a step names a control of the current window, or (window steps only) a dialog template.
struct ControlRef {
    enum class Kind { Id, ClassIndex, Text, Template };
    Kind kind = Kind::Id;
    int id = 0;                      // Kind::Id: the control ID; 0 means the window itself
    std::string className;           // Kind::ClassIndex: window class, compared without case
    int index = 0;                   // Kind::ClassIndex: 1-based among the children of that class
    std::string text;                // Kind::Text: the control's exact window text
    std::vector<int> templateIds;    // Kind::Template: the IDs of every control the template holds
    std::string word;                // as a scenario writes it ("IDC_NEXT", "Edit:2"): how messages name it

    // A control by its ID, named `word` in messages (the name resource_ids.h gives it).
    static ControlRef withId(int id, const std::string& word);
    // The `index`th child (from 1) of this class, "Class:N".
    static ControlRef ofClass(const std::string& className, int index);
};

// "1017" or "IDC_NEXT" (a control ID, by number or by its name in Setup.exe's resource_ids.h),
// "Edit:2" (the second child of class Edit), "@Install" (the first child whose text is "Install")
// or "IDD_COPY" (a dialog template of Setup.exe: a window holding all of its controls). Returns
// false for anything else, unknown names too.
bool parseControlRef(const std::string& word, ControlRef& ref);

// Words of the form IDC_... or IDD_... are meant as one of Setup.exe's names: a misspelt one is
// reported as an unknown name rather than as a malformed reference.
bool looksLikeResourceName(const std::string& word);

// Setup.exe's dialog templates by name (IDD_WELCOME ...), each with the IDs of its controls: a
// window holding all of them shows that template.
struct DialogTemplate {
    std::string name;
    std::vector<int> controlIds;
};
std::vector<DialogTemplate> dialogTemplates();

// Decimal integers with an optional minus sign, nothing else around them.
bool parseInt(const std::string& word, int& value);

// A time-out in seconds: a decimal number, at least 0, at most one day; returns milliseconds.
bool parseSeconds(const std::string& word, unsigned long& milliseconds);

// Message box answers: OK, CANCEL, ABORT, RETRY, IGNORE, YES, NO -> IDOK ... IDNO (1 ... 7).
bool parseAnswer(const std::string& word, int& buttonId);
// The other way: "OK" for IDOK ..., "" for any other ID.
std::string answerName(int buttonId);

// Key names (ENTER, ESCAPE, TAB, SPACE, UP, DOWN, LEFT, RIGHT, HOME, END) -> Windows virtual-key
// codes. The codes are fixed numbers of the platform, written out here to keep this file portable.
bool parseKey(const std::string& word, int& virtualKey);

// A colour on the screen, each component 0 ... 255.
struct ScreenColor {
    int red;
    int green;
    int blue;
};

// A rectangle of the screen, right and bottom excluded.
struct ScreenArea {
    int left;
    int top;
    int right;
    int bottom;
};

}  // namespace quillset::robot
