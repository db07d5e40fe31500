#include <gtest/gtest.h>

#include "folder_short_names.h"

namespace quillset {
namespace {

// A listing as Wine gives it: the short names of file-00118.dat and file-01002.dat are both
// FILE~IHD.DAT; names that are valid short names have none of their own.
TEST(FolderShortNamesTest, TrustsOnlyShortNamesNoOtherEntryAnswersTo) {
    FolderShortNames names;
    names.add(".", "");
    names.add("..", "");
    names.add("readme.txt", "");
    names.add("file-00118.dat", "FILE~IHD.DAT");
    names.add("file-01002.dat", "FILE~IHD.DAT");
    names.add("LongFileName.text", "LONGF~AB.TEX");
    names.add("Program Files", "PROGR~XY");           // a folder's counts too
    names.add("PROGR~XY", "");                        // a file named as another entry's short name
    names.add("Caf\xE9 Menu.txt", "CAF\xC9~QW1.TXT");
    names.add("caf\xE9~qw1.txt", "");                 // the same letters, one of them in the other case
    names.add("Same Case.txt", "same case.txt");      // a short name that is the name itself
    struct Case {
        const char* name;
        const char* form;  // empty: the platform must be asked
    };
    const Case cases[] = {
        {"readme.txt", "readme.txt"},
        {"file-00118.dat", ""},
        {"file-01002.dat", ""},
        {"LongFileName.text", "LONGF~AB.TEX"},
        {"longfilename.text", ""},  // not listed under that spelling
        {"Program Files", ""},
        {"PROGR~XY", "PROGR~XY"},
        {"Caf\xE9 Menu.txt", ""},
        {"Same Case.txt", "same case.txt"},
        {"missing.txt", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(names.shortFormOf(c.name), c.form) << c.name;
    EXPECT_EQ(names.listedShortName("file-01002.dat"), "FILE~IHD.DAT");
    EXPECT_EQ(names.listedShortName("readme.txt"), "");
}

// An entry listed again (a file installed over another, or a new file) replaces what was listed:
// a short name that only the replaced entry shared becomes the file's own again.
TEST(FolderShortNamesTest, AnEntryAddedAgainReplacesItsShortName) {
    FolderShortNames names;
    names.add("data-one.bin", "DATA~AAA.BIN");
    names.add("data-two.bin", "DATA~AAA.BIN");
    EXPECT_EQ(names.shortFormOf("data-one.bin"), "");
    names.add("data-two.bin", "DATA~BBB.BIN");
    EXPECT_EQ(names.shortFormOf("data-one.bin"), "DATA~AAA.BIN");
    EXPECT_EQ(names.shortFormOf("data-two.bin"), "DATA~BBB.BIN");
    names.add("data-three.bin", "DATA~BBB.BIN");
    EXPECT_EQ(names.shortFormOf("data-two.bin"), "");
    EXPECT_EQ(names.shortFormOf("data-three.bin"), "");
}

TEST(FolderShortNamesTest, WholeFolderPatterns) {
    for (const char* pattern : {"*", "*.*", "D:\\Setup\\Data\\*.*", "D:\\Setup\\Data\\*", "\\*"})
        EXPECT_TRUE(listsWholeFolder(pattern)) << pattern;
    for (const char* pattern : {"*.dll", "D:\\Setup\\Data\\a.txt", "D:\\Setup\\*\\a.txt", "D:\\Setup\\Data\\", "", "*.*.*", "?*"})
        EXPECT_FALSE(listsWholeFolder(pattern)) << pattern;
}

}  // namespace
}  // namespace quillset
