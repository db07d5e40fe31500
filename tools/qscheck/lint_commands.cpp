// The checks against the interpreter's command set: commands it skips, and argument counts that
// stop it.
#include <algorithm>

#include "lint_script.h"
#include "process_names.h"

namespace quillset {
namespace {

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

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

std::string closeMatch(const std::string& name, const std::vector<std::string>& candidates) {
    const std::string lower = lowerCaseAscii(name);
    std::string best;
    std::size_t bestDistance = 3;
    for (const std::string& candidate : candidates) {
        const std::size_t distance = editDistance(lower, lowerCaseAscii(candidate));
        // Two edits are a typing slip in a long name, a different word in a short one.
        if (distance < bestDistance && distance * 3 < name.size()) {
            best = candidate;
            bestDistance = distance;
        }
        if (distance == 0) break;
    }
    return best;
}

std::string didYouMean(const std::string& name, const std::vector<std::string>& candidates) {
    const std::string match = closeMatch(name, candidates);
    return match.empty() ? "" : "; did you mean " + quoted(match) + "?";
}

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
