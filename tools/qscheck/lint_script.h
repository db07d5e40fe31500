// A script as the lint checks see it: its text, its statements as the setup program reads them,
// where the reader found each part of them, and the findings so far.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "close_match.h"
#include "interpreter.h"
#include "lint.h"
#include "script_reader.h"

namespace quillset {

// Where the parts of one statement lie: offsets into the script's text.
struct StatementParts {
    std::size_t start = 0;                        // the command's first character
    std::vector<std::size_t> listOpens, listCloses;  // its '(' and ')' (two of each when glued)
    std::vector<std::size_t> argumentQuotes;      // the opening quote of each argument
    std::vector<std::size_t> ignored;             // characters inside its lists, outside quotes
};

class LintScript {
public:
    LintScript(std::string text, const NameCharacterTest& isNameCharacter);

    const std::string& text() const { return text_; }
    const std::vector<ScriptStatement>& statements() const { return reader_.statements(); }
    const StatementParts& parts(std::size_t statement) const { return parts_[statement]; }
    bool isNameCharacter(std::size_t offset) const;

    // The known command of a statement, whatever its arguments; nullptr for an unknown one.
    const CommandSignature* command(std::size_t statement) const;
    // A known command with the argument count it needs: the setup program carries it out.
    bool wellFormed(std::size_t statement) const;
    // A statement that the reader made from the remains of a slip already reported (the words of
    // an argument list after a blank, text after a statement): its own warnings are not repeated.
    void markByProduct(std::size_t statement) { byProduct_[statement] = true; }
    bool isByProduct(std::size_t statement) const { return byProduct_[statement]; }

    int lineAt(std::size_t offset) const;
    // The offset of character `index` of an argument's text (doubled quotes counted once), or of
    // its opening quote when `index` is npos.
    std::size_t argumentOffset(std::size_t statement, std::size_t argument, std::size_t index = std::string::npos) const;

    void error(std::size_t offset, const char* check, const std::string& message);
    // A warning about a statement; dropped when the statement is a by-product. The same warning
    // (check and message) about the same statement again is counted in the first one, which keeps
    // the earliest offset: a text with 40,000 references to one unset variable is told once.
    void warn(std::size_t statement, std::size_t offset, const char* check, const std::string& message);

    // The findings in the order of their place in the text.
    std::vector<LintFinding> takeFindings();

private:
    LintFinding finding(std::size_t offset, LintSeverity severity, const char* check, const std::string& message) const;
    void add(std::size_t offset, LintSeverity severity, const char* check, const std::string& message);

    std::string text_;
    SetupScript reader_;
    std::vector<StatementParts> parts_;
    std::vector<bool> byProduct_;
    std::vector<std::size_t> lineStarts_;
    NameCharacterTest isNameCharacter_;
    std::vector<std::pair<std::size_t, LintFinding>> findings_;
    // Each warning told so far, by statement, check and message: its index in findings_.
    std::unordered_map<std::string, std::size_t> warnings_;
};

// The offsets of one argument's characters, asked for in increasing order of their index: each
// answer goes on from the one before, so that finding every reference in a long text costs the
// text's length once (LintScript::argumentOffset starts from the opening quote every time).
class ArgumentOffsets {
public:
    ArgumentOffsets(const LintScript& script, std::size_t statement, std::size_t argument);
    // The offset of character `index` (doubled quotes counted once); `index` never decreases.
    std::size_t at(std::size_t index);

private:
    const std::string& text_;
    std::size_t index_ = 0, offset_;
};

// A text as a finding quotes it: in single quotes, cut short after 40 characters, a line end shown
// as a blank.
std::string quoted(const std::string& text);

// The checks, each over the whole script. Those of syntax come first: they mark the by-products.
void checkSyntax(LintScript& script);
void checkCommands(LintScript& script);
void checkReferences(LintScript& script);
// The dry run through the setup program's interpreter: AddFile patterns that find nothing and
// 64-bit programs added as shared files (when options.checkFiles), [NAME] references to variables
// that nothing sets, and the caption's width.
void checkFilesAndVariables(LintScript& script, const LintOptions& options);
// Whether the caption that the dry run ended with fits the screen (lint_caption.cpp).
void checkCaptionWidth(LintScript& script, const SetupState& endState);

}  // namespace quillset
