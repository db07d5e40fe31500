// qsrun's answers file: what a script author wants typed and chosen on the wizard's pages and which
// button each message box gets, one instruction a line (docs/qsrun.md). Words are written as in
// robot scenarios (double quotes around blanks). Portable, so it is unit tested natively.
//
//   destination PATH                  the destination page's directory
//   section NAME on|off               a section's "install" check box on the sections page
//   program-group NAME | none         a new program group of this name, or no program group
//   check CONTROL on|off              a check box of a page (custom controls): by ID, Class:N or @text
//   text CONTROL TEXT                 an edit control of a page, typed
//   message CAPTION TEXT ANSWER       a message box whose caption and text match (* and ? wildcards)
//                                     gets ANSWER (OK CANCEL ABORT RETRY IGNORE YES NO, or DEFAULT
//                                     for its default button)
//   overwrite PATH yes|no|all         Setup.exe's question whether to overwrite an existing file
//                                     whose path matches PATH (* and ?, any case) gets Yes, No or
//                                     "Overwrite every file"
//
// An answers file that names any message box names them all: a box that no message line matches
// stops the run (a script that shows a question the author did not expect). The same holds for the
// overwrite question and the overwrite lines. Without such lines a question gets its default button.
#pragma once

#include <string>
#include <vector>

namespace quillset::qsrun {

struct SectionAnswer {
    std::string name;
    bool install = true;
    int line = 0;
};

struct ControlAnswer {
    enum class Kind { check, text };
    Kind kind = Kind::check;
    std::string control;  // a control reference as robot scenarios write it
    bool checked = false;  // Kind::check
    std::string text;      // Kind::text
    int line = 0;
};

struct MessageAnswer {
    std::string caption;  // patterns
    std::string text;
    int buttonId = 0;     // IDOK ... IDNO; 0 for the box's default button
    std::string answer;   // as written: "YES", "DEFAULT"
    int line = 0;
};

struct OverwriteAnswer {
    enum class Choice { yes, no, all };
    std::string path;  // a pattern
    Choice choice = Choice::yes;
    int line = 0;
};

struct Answers {
    bool hasDestination = false;
    std::string destination;
    int destinationLine = 0;
    std::vector<SectionAnswer> sections;
    enum class Group { unset, none, named };
    Group group = Group::unset;
    std::string groupName;
    int groupLine = 0;
    std::vector<ControlAnswer> controls;
    std::vector<MessageAnswer> messages;
    std::vector<OverwriteAnswer> overwrites;
};

// Reads an answers file. Blank lines and lines starting with # are skipped. Returns false with
// `error` as "LINE: WHY" at the first line that is not understood.
bool parseAnswers(const std::string& text, Answers& answers, std::string& error);

// Whether `text` matches `pattern`: `*` any run of characters, `?` one character, everything else
// itself (case counts: message texts are compared as shown).
bool matchesPattern(const std::string& pattern, const std::string& text);

// The first message line that matches a box, or null.
const MessageAnswer* findMessageAnswer(const Answers& answers, const std::string& caption, const std::string& text);

// The first overwrite line whose pattern matches the existing file's path (in any case), or null.
const OverwriteAnswer* findOverwriteAnswer(const Answers& answers, const std::string& path);

}  // namespace quillset::qsrun
