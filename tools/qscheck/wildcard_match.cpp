#include "wildcard_match.h"

#include <utility>
#include <vector>

namespace quillset {

namespace {

// The pattern is first rewritten into the file system's extended wildcards, then matched.
enum Token : int {
    kAnyRun = 0x100,    // *  any characters
    kDosStar = 0x101,   // *  before `.`: any characters up to the name's last full stop
    kDosQm = 0x102,     // ?  one character, or none at a full stop or the end
    kDosDot = 0x103,    // .  before a wildcard or at the end: a full stop, or the end of the name
};

int foldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;  // accented capitals of code page 1252
    return c;
}

// A run of stars matches what its widest member matches: `*` any run, `*` before `.` any run that
// stops short of the name's last full stop. So a run becomes one token, and a pattern of many
// stars costs no more than a pattern of one.
void appendStar(std::vector<int>& tokens, int star) {
    if (!tokens.empty() && (tokens.back() == kAnyRun || tokens.back() == kDosStar)) {
        if (star == kAnyRun) tokens.back() = kAnyRun;
        return;
    }
    tokens.push_back(star);
}

std::vector<int> tokenize(const std::string& pattern) {
    std::vector<int> tokens;
    if (pattern == "*.*") return {kAnyRun};
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (c == '*')
            appendStar(tokens, next == '.' ? kDosStar : kAnyRun);
        else if (c == '?')
            tokens.push_back(kDosQm);
        else if (c == '.' && (next == '*' || next == '?' || next == '\0'))
            tokens.push_back(kDosDot);
        else
            tokens.push_back(foldCase(static_cast<unsigned char>(c)));
    }
    return tokens;
}

// Whether the tokens match the name, by dynamic programming over (token, name position) from the
// ends backwards: one row per name position, so time is tokens x name length and memory two rows,
// whatever the stars. (Trying every split for every star, the obvious recursion, takes exponential
// time on patterns such as `*************?r*` and overflows the stack on long ones.)
bool matchTokens(const std::vector<int>& p, const std::string& name) {
    const std::size_t tokenCount = p.size();
    const std::size_t length = name.size();
    const std::size_t lastDot = name.rfind('.');

    // Where the run of `?` that starts at each token ends: at a full stop or the end of the name
    // the rest of the run matches nothing.
    std::vector<std::size_t> afterQuestionRun(tokenCount + 1, tokenCount);
    for (std::size_t pi = tokenCount; pi-- > 0;)
        afterQuestionRun[pi] = p[pi] == kDosQm ? afterQuestionRun[pi + 1] : pi;

    // next[pi]: tokens from pi match name from ni + 1; row[pi]: they match from ni.
    std::vector<char> next(tokenCount + 1, 0), row(tokenCount + 1, 0);
    for (std::size_t ni = length + 1; ni-- > 0;) {
        const bool atEnd = ni == length;
        row[tokenCount] = atEnd;
        for (std::size_t pi = tokenCount; pi-- > 0;) {
            const int token = p[pi];
            bool matches;
            switch (token) {
                case kAnyRun: matches = row[pi + 1] || (!atEnd && next[pi]); break;
                case kDosStar: matches = row[pi + 1] || (!atEnd && ni != lastDot && next[pi]); break;
                case kDosQm:
                    matches = atEnd || name[ni] == '.' ? row[afterQuestionRun[pi]] != 0 : next[pi + 1] != 0;
                    break;
                case kDosDot: matches = atEnd ? row[pi + 1] : name[ni] == '.' && next[pi + 1]; break;
                default:
                    matches = !atEnd && foldCase(static_cast<unsigned char>(name[ni])) == token && next[pi + 1];
                    break;
            }
            row[pi] = matches;
        }
        std::swap(next, row);
    }
    return next[0] != 0;
}

}  // namespace

bool windowsNameLess(const std::string& a, const std::string& b) {
    // NTFS orders names by their upper-case forms, so `_` comes after the letters.
    const auto upper = [](char c) {
        const int folded = foldCase(static_cast<unsigned char>(c));
        return (folded >= 'a' && folded <= 'z') || (folded >= 0xE0 && folded <= 0xFE && folded != 0xF7) ? folded - 32
                                                                                                      : folded;
    };
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const int ca = upper(a[i]);
        const int cb = upper(b[i]);
        if (ca != cb) return ca < cb;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

bool isLiteralPattern(const std::string& pattern) {
    return pattern.find_first_of("*?") == std::string::npos && (pattern.empty() || pattern.back() != '.');
}

std::string foldedName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) c = static_cast<char>(foldCase(static_cast<unsigned char>(c)));
    return folded;
}

bool matchesWindowsWildcard(const std::string& pattern, const std::string& name) {
    return matchTokens(tokenize(pattern), name);
}

}  // namespace quillset
