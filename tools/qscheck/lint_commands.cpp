// The checks against the interpreter's command set: commands it skips, and argument counts that
// stop it.
#include "lint_script.h"

namespace quillset {
namespace {

std::vector<std::string> commandNames() {
    std::vector<std::string> names;
    for (const CommandSignature& command : knownCommands()) names.push_back(command.name);
    return names;
}

std::string argumentsText(std::size_t count) {
    if (count == 0) return "no arguments";
    return std::to_string(count) + (count == 1 ? " argument" : " arguments");
}

}  // namespace

void checkCommands(LintScript& script) {
    const std::vector<std::string> names = commandNames();
    for (std::size_t s = 0; s < script.statements().size(); ++s) {
        const ScriptStatement& statement = script.statements()[s];
        const std::size_t start = script.parts(s).start;
        if (const CommandSignature* known = script.command(s)) {
            if (known->argumentCount != statement.arguments.size())
                script.error(start, "argument-count",
                             quoted(statement.command) + " takes " + argumentsText(known->argumentCount) + ", not " +
                                 std::to_string(statement.arguments.size()) +
                                 ": Setup.exe stops here with its syntax error (exit code 2)");
            continue;
        }
        // Words without parentheses, one after the other on a line, are one slip: told once.
        const bool bare = script.parts(s).listOpens.empty();
        if (bare && s > 0 && script.parts(s - 1).listOpens.empty() && script.command(s - 1) == nullptr &&
            script.lineAt(script.parts(s - 1).start) == script.lineAt(start)) {
            script.markByProduct(s);
            continue;
        }
        std::string hint = didYouMean(statement.command, names);
        if (hint.empty() && bare) hint = " (a comment starts with '//')";
        script.warn(s, start, "unknown-command",
                    "unknown command " + quoted(statement.command) + ": Setup.exe skips it" + hint);
    }
}

}  // namespace quillset
