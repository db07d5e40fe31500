// Reading robot scenarios: splitting lines into words, checking each step's name and arguments
// before anything runs, and the small value parsers the steps share. Portable (no <windows.h>),
// so it is unit tested natively.
#pragma once

#include <string>
#include <vector>

namespace quillset::robot {

// One step of a scenario: the step name and its arguments, as written.
struct Step {
    int line = 0;                    // 1-based line in the scenario file
    std::string source;              // the line without surrounding blanks, for the report
    std::string name;                // "click", "window", ...
    std::vector<std::string> args;   // after unquoting
};

struct Scenario {
    std::vector<Step> steps;
    std::string error;               // empty when every line was understood
};

// Splits one line into words: words are separated by blanks or tabs; a word starting with a
// double quote runs to the matching quote and may contain blanks; inside it "" stands for one
// quote, \n a line feed, \r a carriage return and \\ one backslash (any other backslash stands
// for itself, so most Windows paths need no doubling).
// Returns false and sets `error` for an unterminated quote or a quote glued to other characters.
bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error);

// Reads a whole scenario. Lines whose first non-blank character is # and blank lines are skipped.
// Every step is checked against the step table (name, argument count, numbers, key and answer
// names, control references and the names they use); the first problem ends reading with `error`
// naming the line.
Scenario parseScenario(const std::string& text);

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
};

// "1017" or "IDC_NEXT" (a control ID, by number or by its name in Setup.exe's resource_ids.h),
// "Edit:2" (the second child of class Edit), "@Install" (the first child whose text is "Install")
// or "IDD_COPY" (a dialog template of Setup.exe: a window holding all of its controls). Returns
// false for anything else, unknown names too.
bool parseControlRef(const std::string& word, ControlRef& ref);

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

// Key names (ENTER, ESCAPE, TAB, SPACE, UP, DOWN, LEFT, RIGHT, HOME, END) -> Windows virtual-key
// codes. The codes are fixed numbers of the platform, written out here to keep this file portable.
bool parseKey(const std::string& word, int& virtualKey);

}  // namespace quillset::robot
