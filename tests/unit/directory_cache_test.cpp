#include <gtest/gtest.h>

#include "directory_cache.h"
#include "wildcard_match.h"

namespace quillset {
namespace {

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
