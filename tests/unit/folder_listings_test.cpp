#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "folder_listings.h"

namespace quillset {
namespace {

// A folder as the platform lists it with "*", short names as Wine makes them.
const std::vector<FoundFile> kFolder = {
    {".", true},
    {"..", true},
    {"longname.html", false, "LONG~131.HTM"},
    {"readme", false},
    {"README.TXT", false},
    {"a.b.c", false, "A_B~~54C.C"},
    {"Data-0000.bin", false, "DATA~FZX.BIN"},
    {"data-0000x.bin", false, "DATA~K2Q.BIN"},
    {"x.txt.bak", false, "X_TXT~AB.BAK"},
    {".txt", false, "TXT~0C1"},
    {"sub dir", true, "SUBDIR~1"},
};

std::vector<std::string> namesFound(const std::string& mask) {
    std::vector<std::string> names;
    for (const FoundFile& entry : kFolder)
        if (listingMatches(mask, entry)) names.push_back(entry.name);
    return names;
}

using Names = std::vector<std::string>;

// What the listing answers for each form of mask: the long or the short name matches, letters in
// either case, in the folder's order.
TEST(FolderListingsTest, MatchesTheMasksItAnswersAsThePlatformsSearch) {
    struct Case {
        std::string mask;
        Names found;
    };
    const Case cases[] = {
        {"*", {".", "..", "longname.html", "readme", "README.TXT", "a.b.c", "Data-0000.bin", "data-0000x.bin",
               "x.txt.bak", ".txt", "sub dir"}},
        {"*.*", {".", "..", "longname.html", "readme", "README.TXT", "a.b.c", "Data-0000.bin", "data-0000x.bin",
                 "x.txt.bak", ".txt", "sub dir"}},
        {"readme.txt", {"README.TXT"}},
        {"DATA~FZX.BIN", {"Data-0000.bin"}},      // by its short name
        {"subdir~1", {"sub dir"}},
        {"missing.txt", {}},
        {"data-0000.*", {"Data-0000.bin"}},       // not data-0000x.bin
        {"readme.*", {"readme", "README.TXT"}},   // the name itself too
        {"a.b.*", {"a.b.c"}},
        {"*.htm", {"longname.html"}},             // through its short name
        {"*.TXT", {"README.TXT", ".txt"}},        // the last extension only
        {"*.bak", {"x.txt.bak"}},
        {"*.c", {"a.b.c"}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(listingAnswers(c.mask)) << c.mask;
        EXPECT_EQ(namesFound(c.mask), c.found) << c.mask;
    }
}

// Masks whose meaning differs between platforms, or that the platform reads as something else,
// are searched for as they are.
TEST(FolderListingsTest, LeavesEveryOtherMaskToThePlatform) {
    for (const std::string mask : {"", "a?.txt", "*.t*", "*x*", "data*", "*.", "readme.", "readme ", "a*.*",
                                   "*.b.c", "C:a.txt", "sub/a.txt", "*.*.*", "\xE4.txt", "a\tb"})
        EXPECT_FALSE(listingAnswers(mask)) << mask;
}

// One listing per folder, taken with "*" the first time; other masks and folders with wildcards
// are searched for; after forget() the folder is listed again.
TEST(FolderListingsTest, ListsEachFolderOnceUntilItForgets) {
    std::vector<std::string> searches;
    FolderListings listings([&](const std::string& pattern) {
        searches.push_back(pattern);
        return pattern == "M:\\files\\*" ? kFolder : std::vector<FoundFile>{{"asked.txt", false}};
    });
    const auto names = [](const std::vector<FoundFile>& found) {
        Names result;
        for (const FoundFile& entry : found) result.push_back(entry.name);
        return result;
    };
    EXPECT_EQ(names(listings.find("M:\\files\\readme.*")), (Names{"readme", "README.TXT"}));
    EXPECT_EQ(names(listings.find("M:\\files\\*.htm")), (Names{"longname.html"}));
    EXPECT_EQ(listings.find("M:\\files\\*.htm")[0].shortName, "LONG~131.HTM");
    EXPECT_EQ(names(listings.find("M:\\files\\a?.txt")), (Names{"asked.txt"}));
    EXPECT_EQ(names(listings.find("M:\\fil*\\a.txt")), (Names{"asked.txt"}));
    EXPECT_EQ(searches, (Names{"M:\\files\\*", "M:\\files\\a?.txt", "M:\\fil*\\a.txt"}));
    listings.forget();
    EXPECT_EQ(names(listings.find("M:\\files\\readme.txt")), (Names{"README.TXT"}));
    EXPECT_EQ(searches.back(), "M:\\files\\*");
    EXPECT_EQ(names(listings.find("M:\\files\\data~fzx.bin")), (Names{"Data-0000.bin"}));
    EXPECT_EQ(names(listings.find("M:\\files\\sub dir")), (Names{"sub dir"}));
    EXPECT_TRUE(listings.find("M:\\files\\data-0000").empty());
    EXPECT_EQ(searches.size(), 4u);
}

}  // namespace
}  // namespace quillset
