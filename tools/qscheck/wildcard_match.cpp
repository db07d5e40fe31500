#include "wildcard_match.h"

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

std::vector<int> tokenize(const std::string& pattern) {
    std::vector<int> tokens;
    if (pattern == "*.*") return {kAnyRun};
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (c == '*')
            tokens.push_back(next == '.' ? kDosStar : kAnyRun);
        else if (c == '?')
            tokens.push_back(kDosQm);
        else if (c == '.' && (next == '*' || next == '?' || next == '\0'))
            tokens.push_back(kDosDot);
        else
            tokens.push_back(foldCase(static_cast<unsigned char>(c)));
    }
    return tokens;
}

bool matchFrom(const std::vector<int>& p, std::size_t pi, const std::string& name, std::size_t ni) {
    const std::size_t lastDot = name.rfind('.');
    while (pi < p.size()) {
        const int token = p[pi];
        const bool atEnd = ni >= name.size();
        switch (token) {
            case kAnyRun:
                for (std::size_t k = ni; k <= name.size(); ++k)
                    if (matchFrom(p, pi + 1, name, k)) return true;
                return false;
            case kDosStar: {
                // Any run that stops short of the name's last full stop (or runs to the end when
                // no full stop is left).
                const std::size_t limit = lastDot != std::string::npos && lastDot >= ni ? lastDot : name.size();
                for (std::size_t k = ni; k <= limit; ++k)
                    if (matchFrom(p, pi + 1, name, k)) return true;
                return false;
            }
            case kDosQm:
                if (atEnd || name[ni] == '.') {
                    while (pi < p.size() && p[pi] == kDosQm) ++pi;  // the rest of the ?-run matches nothing
                    continue;
                }
                ++pi, ++ni;
                continue;
            case kDosDot:
                if (atEnd) { ++pi; continue; }
                if (name[ni] != '.') return false;
                ++pi, ++ni;
                continue;
            default:
                if (atEnd || foldCase(static_cast<unsigned char>(name[ni])) != token) return false;
                ++pi, ++ni;
                continue;
        }
    }
    return ni >= name.size();
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

bool matchesWindowsWildcard(const std::string& pattern, const std::string& name) {
    return matchFrom(tokenize(pattern), 0, name, 0);
}

}  // namespace quillset
