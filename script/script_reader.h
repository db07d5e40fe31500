// The setup script reader: cuts SetupScript.ini into statements (a command name and its quoted
// arguments). It gives the statements no meaning; the interpreter asks for them by index.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quillset {

// One parsed statement. `command` holds name characters only and is never empty.
struct ScriptStatement {
    std::string command;
    std::vector<std::string> arguments;
    int line = 0;  // 1-based line of the command's first character (lines end at LF)
};

// Decides what counts as a name character. The Windows build hands in IsCharAlphaNumericA so that
// the user's code page decides; tools and tests use the code page 1252 table.
using NameCharacterTest = std::function<bool(unsigned char)>;

// Shows a fatal message to the user: the Windows build opens a message box, tools print it.
using FatalMessageSink = std::function<void(const std::string& caption, const std::string& text)>;

// Where the reader found the parts of a statement, for tools that point at them (qscheck lint).
enum class ReaderMark {
    commandStarted,  // the first character of a command name
    listOpened,      // a '(' that opens an argument list
    listClosed,      // the ')' that closes it
    argumentOpened,  // the '"' that opens an argument
    ignored,         // any other character inside an argument list, outside quotes (the reader drops it)
};

// Receives each mark with the offset of its character in the text handed to `tokenize`.
using ReaderMarkSink = std::function<void(ReaderMark mark, std::size_t offset)>;

// Receives each statement as soon as it is complete. It may move the statement's texts away; the
// reader reuses the object for the next statement.
using StatementSink = std::function<void(ScriptStatement& statement)>;

class SetupScript {
public:
    SetupScript(NameCharacterTest isNameCharacter, FatalMessageSink reportFatal);
    virtual ~SetupScript() = default;

    // Reads and tokenizes the whole file. Returns 0, or -1 after reporting the file as unreadable.
    int read(const std::string& path);

    // Tokenizes text that is already in memory, in text-mode form (line ends are single LFs).
    // `read` ends here; tests and tools use it directly.
    void tokenize(const std::string& text);

    // The same, telling `marks` where each part of each statement lies. The statements are the same.
    void tokenize(const std::string& text, const ReaderMarkSink& marks);

    // Reads the file as `read` does, but hands every statement to `onStatement` (when the next one
    // begins, or at the end of the text) instead of keeping it: for tools that print a large script
    // statement by statement. Returns 0, or -1 after reporting the file as unreadable.
    int readEach(const std::string& path, const StatementSink& onStatement);

    int statementCount() const;

    // Copies statement `index` out. Returns 0, or -1 (and gives nothing) for an index out of range.
    int getStatement(int index, std::string& command, std::vector<std::string>& arguments) const;

    const std::vector<ScriptStatement>& statements() const { return statements_; }

private:
    void keep(ScriptStatement& statement);

    NameCharacterTest isNameCharacter_;
    FatalMessageSink reportFatal_;
    std::vector<ScriptStatement> statements_;
};

// Turns raw file bytes into the text the tokenizer reads, as a C runtime reading in text mode does:
// CR LF becomes LF, a lone CR stays, and a Ctrl-Z (0x1A) byte ends the text.
std::string toTextMode(const std::string& bytes);

// A statement written so that the reader reads it back as it is: each argument quoted, quotes in
// it doubled, ended by ";" and a line end.
std::string statementText(const std::string& command, const std::vector<std::string>& arguments);

}  // namespace quillset
