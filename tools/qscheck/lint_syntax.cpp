// The checks of how a script is written: what makes the reader cut statements other than the author
// meant. They work on the marks the reader leaves (where each '(', ')' and quote lies) and look at
// the text around them; they never cut the text themselves.
#include <algorithm>
#include <cctype>

#include "lint_script.h"

namespace quillset {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The end of a parenthesised text that the reader does not read as an argument list: the first ')'
// outside quotes, or the end of the text.
std::size_t endOfIgnoredList(const std::string& text, std::size_t open) {
    bool inQuote = false;
    for (std::size_t i = open + 1; i < text.size(); ++i) {
        if (text[i] == '"') inQuote = !inQuote;  // a doubled quote toggles twice
        else if (text[i] == ')' && !inQuote) return i;
    }
    return text.size();
}

// Marks the statements that begin within [from, to) after `statement` as by-products.
void markStatementsWithin(LintScript& script, std::size_t statement, std::size_t from, std::size_t to) {
    for (std::size_t t = statement + 1; t < script.statements().size(); ++t) {
        const std::size_t start = script.parts(t).start;
        if (start >= to) break;
        if (start > from) script.markByProduct(t);
    }
}

void checkGlued(LintScript& script, std::size_t s) {
    const std::string& text = script.text();
    const StatementParts& parts = script.parts(s);
    bool glued = false;
    for (std::size_t close : parts.listCloses) {
        if (!script.isNameCharacter(close + 1)) continue;
        script.warn(s, close + 1, "glued-statements",
                    "nothing separates this from the ')' before it: Setup.exe reads one statement, " +
                        quoted(script.statements()[s].command) + "; end a statement with ';' or a line break");
        glued = true;
    }
    for (std::size_t i = 1; i < parts.listOpens.size(); ++i) {
        const std::size_t open = parts.listOpens[i];
        if (text[open - 1] != ')') continue;
        script.warn(s, open, "glued-statements",
                    "'(' directly after ')' adds its arguments to the same statement " +
                        quoted(script.statements()[s].command));
        glued = true;
    }
    // The glued name is no command anyone wrote: a warning that it is unknown would say nothing more.
    if (glued) script.markByProduct(s);
}

void checkBlankBeforeParenthesis(LintScript& script, std::size_t s) {
    const std::string& text = script.text();
    const StatementParts& parts = script.parts(s);
    if (!parts.listOpens.empty()) return;
    const std::size_t nameEnd = parts.start + script.statements()[s].command.size();
    std::size_t open = nameEnd;
    while (open < text.size() && isBlank(text[open])) ++open;
    if (open == nameEnd || open >= text.size() || text[open] != '(') return;
    const std::size_t close = endOfIgnoredList(text, open);
    bool empty = true;
    for (std::size_t i = open + 1; i < close; ++i) empty = empty && isBlank(text[i]);
    if (empty) return;  // "Name ()" reads as "Name()"
    script.warn(s, nameEnd, "blank-before-parenthesis",
                "a blank before '(': Setup.exe reads " + quoted(script.statements()[s].command) +
                    " without arguments, and the words in the quotes as statements of their own");
    markStatementsWithin(script, s, open, close);
}

bool isNumber(const std::string& text) {
    std::size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

// Unquoted words inside an argument list: the reader drops them, so the argument is missing.
void checkUnquoted(LintScript& script, std::size_t s) {
    const std::string& text = script.text();
    const std::vector<std::size_t>& ignored = script.parts(s).ignored;
    int commentLine = 0;
    for (std::size_t i = 0; i < ignored.size();) {
        const char c = text[ignored[i]];
        if (isBlank(c) || c == ',') {
            ++i;
            continue;
        }
        // A run of characters that stand next to each other and are no separators.
        std::size_t end = i + 1;
        while (end < ignored.size() && ignored[end] == ignored[end - 1] + 1 && !isBlank(text[ignored[end]]) &&
               text[ignored[end]] != ',')
            ++end;
        const std::size_t start = ignored[i];
        const std::string word = text.substr(start, ignored[end - 1] + 1 - start);
        i = end;
        // Between arguments, a "//" line drops its words like any other, and harmlessly.
        if (word.compare(0, 2, "//") == 0) commentLine = script.lineAt(start);
        if (commentLine == script.lineAt(start)) continue;
        if (isNumber(word))
            script.warn(s, start, "unquoted-argument",
                        "unquoted number " + word + " is no argument (Setup.exe ignores it); write \"" + word + "\"");
        else
            script.warn(s, start, "unquoted-argument",
                        "unquoted text " + quoted(word) + " is no argument (Setup.exe ignores it)");
    }
}

// The "//" that the reader passed over inside the argument lists of a statement: a comment to the
// author, to the reader two characters like any other. Asked for offsets in increasing order, each
// answer goes on from where the one before stopped: a statement of thousands of quotes (a quote
// missing early in a large script) costs its length once.
class CommentsBefore {
public:
    CommentsBefore(const LintScript& script, std::size_t s) : script_(script), ignored_(script.parts(s).ignored) {}

    // The first "//" on the line of `offset`, before it, or npos.
    std::size_t at(std::size_t offset) {
        const std::string& text = script_.text();
        for (; next_ + 1 < ignored_.size() && ignored_[next_ + 1] < offset; ++next_) {
            const std::size_t at = ignored_[next_];
            if (ignored_[next_ + 1] != at + 1 || text[at] != '/' || text[at + 1] != '/') continue;
            const int line = script_.lineAt(at);
            if (line != lastLine_) {
                lastLine_ = line;
                firstOnLastLine_ = at;
            }
        }
        return lastLine_ == script_.lineAt(offset) ? firstOnLastLine_ : std::string::npos;
    }

private:
    const LintScript& script_;
    const std::vector<std::size_t>& ignored_;
    std::size_t next_ = 0;                              // the first ignored character not yet looked at
    int lastLine_ = 0;                                  // the line of the last "//" found
    std::size_t firstOnLastLine_ = std::string::npos;  // the first "//" found on that line
};

// A "//" comment inside an argument list drops its words harmlessly, but not its quotes (which
// make an argument) nor its ')' (which ends the list: the arguments after it become statements).
void checkCommentInArguments(LintScript& script, std::size_t s) {
    const std::string& text = script.text();
    const StatementParts& parts = script.parts(s);
    struct Slip {
        std::size_t comment;
        bool quote, close;
    };
    std::vector<Slip> slips;  // one per comment, in text order
    std::vector<std::size_t> acted = parts.argumentQuotes;
    acted.insert(acted.end(), parts.listCloses.begin(), parts.listCloses.end());
    std::sort(acted.begin(), acted.end());
    CommentsBefore comments(script, s);
    for (std::size_t at : acted) {
        const std::size_t comment = comments.at(at);
        if (comment == std::string::npos) continue;
        if (slips.empty() || slips.back().comment != comment) slips.push_back({comment, false, false});
        if (text[at] == '"') {
            slips.back().quote = true;
            continue;
        }
        slips.back().close = true;
        // What the reader makes of the rest, up to the ')' the author meant, is told here.
        const std::size_t lineEnd = std::min(text.find('\n', at), text.size());
        markStatementsWithin(script, s, at, lineEnd < text.size() ? endOfIgnoredList(text, lineEnd) : lineEnd);
    }
    const std::string command = quoted(script.statements()[s].command);
    for (const Slip& slip : slips) {
        const std::string what = slip.quote && slip.close
                                     ? "the '\"' in this comment opens an argument of " + command + ", and its ')' ends the list"
                                 : slip.quote ? "the '\"' in this comment opens an argument of " + command
                                              : "the ')' in this comment ends the argument list of " + command;
        script.warn(s, slip.comment, "comment-in-arguments",
                    what + ": inside parentheses Setup.exe reads '//' as no comment" +
                        (slip.close ? ", and the arguments after it as statements" : "") +
                        "; put the comment after the statement");
    }
}

// After a statement, on its line: "//" directly after ')' or words that are no statement.
void checkTextAfter(LintScript& script, std::size_t s) {
    const std::string& text = script.text();
    const StatementParts& parts = script.parts(s);
    if (parts.listCloses.empty()) return;
    const std::size_t close = parts.listCloses.back();
    if (CommentsBefore(script, s).at(close) != std::string::npos) return;  // the ')' of a comment: told there
    const int line = script.lineAt(close);
    const std::size_t lineEnd = std::min(text.find('\n', close), text.size());
    const bool gluedComment = text.compare(close + 1, 2, "//") == 0;
    for (std::size_t t = s + 1; t < script.statements().size(); ++t) {
        const StatementParts& next = script.parts(t);
        if (script.lineAt(next.start) != line) break;
        if (!gluedComment && (!next.listOpens.empty() || script.command(t) != nullptr)) break;
        if (!gluedComment || t == s + 1)
            script.warn(s, gluedComment ? close + 1 : next.start, "text-after-statement",
                        gluedComment ? "'//' directly after ')' starts no comment: Setup.exe reads the words after "
                                       "it as statements; put ';' or a blank before it"
                                     : "text after the statement is no comment: Setup.exe reads " +
                                           quoted(text.substr(next.start, lineEnd - next.start)) +
                                           " as statements; start a comment with '//'");
        script.markByProduct(t);
        if (!gluedComment) {
            markStatementsWithin(script, t, next.start, lineEnd);
            break;
        }
    }
}

}  // namespace

void checkSyntax(LintScript& script) {
    for (std::size_t s = 0; s < script.statements().size(); ++s) {
        checkGlued(script, s);
        checkBlankBeforeParenthesis(script, s);
        checkUnquoted(script, s);
        checkCommentInArguments(script, s);
        checkTextAfter(script, s);
    }
}

}  // namespace quillset
