#include <gtest/gtest.h>

#include "directory_cache.h"
#include "wildcard_match.h"

namespace quillset {
namespace {

TEST(WildcardMatchTest, FollowsTheWindowsFileSearch) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.*", "readme.txt", true},   {"*.*", "README", true},        {"*.*", ".hidden", true},
        {"*", "a.b.c", true},          {"*.txt", "README.TXT", true},  {"*.txt", "a.b.txt", true},
        {"*.txt", "readme", false},    {"*.txt", "readme.txt.bak", false},
        {"*.TXT", "notes.txt", true},  {"readme.*", "readme", true},   {"readme.*", "readme.md", true},
        {"read?e.txt", "readme.txt", true},                            {"read?e.txt", "reade.txt", false},
        {"a?.txt", "a.txt", true},     {"a??", "a", true},             {"a?", "abc", false},
        {"*.", "makefile", true},      {"*.", "make.file", false},     {"data.bin", "DATA.BIN", true},
        {"data.bin", "data.bin2", false},                              {"*.dll", "dll", false},
        {"\xC4*.txt", "\xE4nderung.txt", true},                        {"*a*b", "xaxxb", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesWindowsWildcard(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
}

// Patterns that made a retry-every-split matcher take seconds (or overflow the stack), with the
// results that matcher gave where it finished.
TEST(WildcardMatchTest, ManyStarsCostNothing) {
    const std::string a30(30, 'a'), stars(200000, '*');
    struct Case {
        std::string pattern, name;
        bool matches;
    };
    const Case cases[] = {
        {"*************?r*", std::string(14, 'a'), false},
        {"*************?r*", std::string(13, 'a') + "r", true},
        {"********b", a30, false},
        {"**********b", a30, false},
        {"**********b", a30 + "b", true},
        {"*.*.*.*.*.*.*?x", "a.b.c.d.e.f.g.h.i.j.k.l.m.n.o", false},
        {stars, "abc", true},
        {stars + "b", "abc", false},
        {stars + ".c", "ab.c", true},
        {std::string(200000, '?'), "abc", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesWindowsWildcard(c.pattern, c.name), c.matches) << c.pattern.substr(0, 20) << " vs " << c.name;
}

// The cache answers every pattern exactly as matching each name of a fresh listing would: names
// that differ only in case (both kept, in listing order), accented capitals, a final full stop,
// and directories among the files. Each directory is listed once.
TEST(DirectoryCacheTest, FindsWhatAFreshListingFinds) {
    const std::vector<FoundFile> listing = {
        {".", true},          {"..", true},          {"Readme.TXT", false}, {"b.dll", false},
        {"readme.txt", false}, {"\xC4nderung.txt", false}, {"sub", true}, {"makefile", false},
        {"x.y.z", false},     {".hidden", false},
    };
    int listed = 0;
    DirectoryCache cache([&](const std::string& directory) {
        ++listed;
        return directory == "data/" ? listing : std::vector<FoundFile>{};
    });
    const char* const patterns[] = {
        "readme.txt", "README.TXT", "\xE4nderung.TXT", "sub", "SUB", "makefile", "makefile.", "x.y.z",
        "X.Y.Z",      "x.y",        "nothing",         "",    "*.*", "*.txt",    "?????.txt", "*.",
        ".hidden",    "b.dll.",     "..",
    };
    for (const char* pattern : patterns) {
        std::vector<std::string> expected, found;
        for (const FoundFile& entry : listing)
            if (matchesWindowsWildcard(pattern, entry.name)) expected.push_back(entry.name);
        for (const FoundFile& entry : cache.find("data/", pattern)) found.push_back(entry.name);
        EXPECT_EQ(found, expected) << "pattern " << pattern;
    }
    EXPECT_EQ(cache.find("data/", "sub").at(0).isDirectory, true);
    EXPECT_TRUE(cache.find("other/", "*.*").empty());
    EXPECT_EQ(listed, 2);
}

}  // namespace
}  // namespace quillset
