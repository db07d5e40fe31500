// Statements kept to take effect later: ShowMessage (unless NOW), SetNextDynamicState and
// CheckButton. Each is parsed once, when the interpreter runs it, into a record of its own kind;
// the pages act on the parsed fields, and the words as written stay for reports (qscheck plan).
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace quillset {

// ShowMessage's fourth argument.
enum class MessageTrigger {
    now,            // "NOW": shown while the script runs, never stored
    controlAction,  // "COMMAND": shown each time the user operates the named control
    never,          // any other word: stored, never shown
};
MessageTrigger messageTrigger(const std::string& word);

// SetNextDynamicState's second argument.
enum class DynamicStateKind {
    control,   // "CONTROL": the state of a control decides
    variable,  // "VARIABLE": accepted, decides nothing
    unknown,   // any other word: decides nothing
};
DynamicStateKind dynamicStateKind(const std::string& word);

// SetNextDynamicState's fourth argument.
enum class DynamicComparison {
    checkState,  // "VALUE": the check state equals the number
    text,        // "TEXT": the text equals the expected text exactly
    unknown,     // any other word: decides nothing
};
DynamicComparison dynamicComparison(const std::string& word);

// A ShowMessage kept for a control's action.
struct StoredMessage {
    std::string text, caption;  // variables substituted when the statement ran
    std::string controlName;
    std::string triggerWord;    // as written
    MessageTrigger trigger = MessageTrigger::never;
};

// A SetNextDynamicState: while `pageName` is open, Next is enabled only while the controls named
// `controlName` show what is expected.
struct DynamicState {
    std::string pageName;
    std::string kindWord;  // as written
    DynamicStateKind kind = DynamicStateKind::unknown;
    std::string controlName;
    std::string comparisonWord;  // as written
    DynamicComparison comparison = DynamicComparison::unknown;
    std::string expected;        // as written: the text, or the check state's number
    int expectedCheckState = 0;  // the number, for VALUE
};

// A CheckButton: the controls of this name are checked when they are made.
struct CheckedButton {
    std::string controlName;
};

using StoredStatement = std::variant<StoredMessage, DynamicState, CheckedButton>;

// The records from their statements' arguments (ShowMessage's text and caption already
// substituted); the argument counts are the interpreter's to have checked.
StoredMessage storedMessage(const std::vector<std::string>& arguments);
DynamicState dynamicState(const std::vector<std::string>& arguments);

// The statement as the script wrote it: its command and its arguments.
const char* storedCommand(const StoredStatement& statement);
std::vector<std::string> storedArguments(const StoredStatement& statement);

}  // namespace quillset
