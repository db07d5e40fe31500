// The script reader over arbitrary file bytes, as Setup.exe reads SetupScript.ini from a medium.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cp1252.h"
#include "script_reader.h"

using namespace quillset;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = toTextMode(std::string(reinterpret_cast<const char*>(data), size));
    SetupScript script(isCp1252AlphaNumeric, nullptr);
    script.tokenize(text);

    // What the interpreter and qscheck rely on: every command is a non-empty run of name
    // characters, and line numbers never go backwards nor past the text's last line.
    int lastLine = 1;
    for (const ScriptStatement& statement : script.statements()) {
        if (statement.command.empty() || statement.line < lastLine) std::abort();
        for (char c : statement.command)
            if (!isCp1252AlphaNumeric(static_cast<unsigned char>(c))) std::abort();
        lastLine = statement.line;
    }
    std::size_t lines = 1;
    for (char c : text) lines += c == '\n';
    if (static_cast<std::size_t>(lastLine) > lines) std::abort();

    // qscheck lint points at the reader's marks: the same statements, one start mark at each
    // command's first character, one argument mark at a quote for each argument.
    SetupScript marked(isCp1252AlphaNumeric, nullptr);
    const std::vector<ScriptStatement>& statements = script.statements();
    std::size_t starts = 0, quotes = 0, argumentCount = 0;
    marked.tokenize(text, [&](ReaderMark mark, std::size_t offset) {
        if (offset >= text.size()) std::abort();
        if (mark == ReaderMark::commandStarted &&
            (starts == statements.size() || text[offset] != statements[starts++].command[0]))
            std::abort();
        if (mark == ReaderMark::argumentOpened && (text[offset] != '"' || starts == 0)) std::abort();
        quotes += mark == ReaderMark::argumentOpened;
    });
    if (marked.statementCount() != script.statementCount() || starts != statements.size()) std::abort();
    for (const ScriptStatement& statement : statements) argumentCount += statement.arguments.size();
    if (quotes != argumentCount) std::abort();

    std::string command;
    std::vector<std::string> arguments;
    if (script.getStatement(script.statementCount(), command, arguments) != -1) std::abort();
    return 0;
}
