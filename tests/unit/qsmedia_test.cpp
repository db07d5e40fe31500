// qsmedia's decisions: how files fill disks, what a description may say, and that the script it
// writes reads back, through the setup program's own reader, as the AddFile arguments meant.
#include <gtest/gtest.h>

#include <tuple>

#include "cp1252.h"
#include "disk_layout.h"
#include "media_description.h"
#include "medium_contents.h"
#include "script_reader.h"
#include "script_writer.h"

namespace quillset {
namespace {

struct LayoutCase {
    const char* name;
    std::vector<std::uint64_t> sizes;
    std::uint64_t diskSize, firstDiskUsed;
    std::vector<Piece> expected;  // file, disk, offset, length, part, lastPart
};

// A file three disks' worth after the setup program, split and installed from the disks in order:
// the end-to-end test qsmedia_disks.
TEST(QsmediaLayout, FillsDisksInOrderAndSplitsOnlyFilesLargerThanADisk) {
    const LayoutCase cases[] = {
        {"no disk size: one disk", {5, 500}, 0, 90, {{0, 1, 0, 5, 0, false}, {1, 1, 0, 500, 0, false}}},
        {"fits the room left", {40, 60}, 100, 0, {{0, 1, 0, 40, 0, false}, {1, 1, 0, 60, 0, false}}},
        {"fits a disk, not the room: next disk", {30, 80, 10}, 100, 0,
         {{0, 1, 0, 30, 0, false}, {1, 2, 0, 80, 0, false}, {2, 2, 0, 10, 0, false}}},
        {"split from a full disk starts the next", {100, 150}, 100, 0,
         {{0, 1, 0, 100, 0, false}, {1, 2, 0, 100, 1, false}, {1, 3, 100, 50, 2, true}}},
        {"an empty file fits a full disk", {100, 0}, 100, 0, {{0, 1, 0, 100, 0, false}, {1, 1, 0, 0, 0, false}}},
    };
    for (const LayoutCase& c : cases) {
        std::vector<Piece> pieces;
        ASSERT_TRUE(layOutDisks(c.sizes, c.diskSize, c.firstDiskUsed, pieces)) << c.name;
        ASSERT_EQ(pieces.size(), c.expected.size()) << c.name;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const Piece &p = pieces[i], &e = c.expected[i];
            EXPECT_EQ(std::tie(p.file, p.disk, p.offset, p.length, p.part, p.lastPart),
                      std::tie(e.file, e.disk, e.offset, e.length, e.part, e.lastPart))
                << c.name << ", piece " << i;
        }
    }
    std::vector<Piece> pieces;
    EXPECT_FALSE(layOutDisks({1}, 100, 100, pieces)) << "no room beside the setup program";
}

TEST(QsmediaDescription, ReportsEachProblemWithItsLine) {
    const struct {
        const char* text;
        int line;
        const char* message;
    } cases[] = {
        {"app = A\nshared = x.dll\n", 2, "belongs to a section"},
        {"app = A\nsection \"S\" = p\nsection \"S\" = q\n", 3, "a second section"},
        {"app = A\nsection S = p\n", 2, "needs a name in double quotes"},
        {"app = A\nsection \"S\" sometimes = p\n", 2, "required or optional"},
        {"app = A\nsection \"S\" = ../outside\n", 2, "inside the tree"},
        {"app = A\nsection \"S\" = p\ndisk-size = 1.44X\n", 3, "disk-size"},
        {"app = A\nsection \"S\" = p\nbackground = 1 2 3\n", 3, "six numbers"},
        {"app = A\nsection \"S\" = p\ncolour = red\n", 3, "unknown setting"},
        {"app = A\nsection \"S\" = p\nkey without value\n", 3, "KEY = VALUE"},
        {"app = A \xE2\x82\xAC\xE4\xB8\x80\nsection \"S\" = p\n", 1, "code page"},
        {"# no app\nsection \"S\" = p\n", 0, "no app"},
        {"app = A\nsection \"S\" = p\nicon = /etc/x.ico,1\n", 3, "icon wants a file of the tree"},
    };
    for (const auto& c : cases) {
        MediaDescription d;
        std::vector<DescriptionError> errors;
        EXPECT_FALSE(parseMediaDescription(c.text, d, errors)) << c.text;
        ASSERT_FALSE(errors.empty()) << c.text;
        EXPECT_EQ(errors[0].line, c.line) << c.text;
        EXPECT_NE(errors[0].message.find(c.message), std::string::npos) << c.text << ": " << errors[0].message;
    }
    EXPECT_EQ(parseDiskSize("1440K"), 1474560u);
    EXPECT_EQ(parseDiskSize("1.5M"), 1572864u);
}

using Args = std::vector<std::string>;

// The script's AddFile arguments as the setup program's reader reads them, and its texts by name.
std::vector<Args> readBack(const std::string& text, std::vector<ScriptStatement>* all = nullptr) {
    SetupScript script(isCp1252AlphaNumeric, [](const std::string&, const std::string&) {});
    script.tokenize(toTextMode(text));
    std::vector<Args> addFiles;
    for (const ScriptStatement& s : script.statements()) {
        if (s.command == "AddFile") addFiles.push_back(s.arguments);
        if (all != nullptr) all->push_back(s);
    }
    return addFiles;
}

TEST(QsmediaScript, ReadsBackAsTheSetupProgramReadsIt) {
    MediaDescription d;
    std::vector<DescriptionError> errors;
    ASSERT_TRUE(parseMediaDescription("app = Say \"Hi\" \xC3\xA9\nwelcome = one\nwelcome = two\ndisk-size = 100\n"
                                      "section \"Main\" required = app -> bin\nshortcut \"Go = now\" = app/big.dat\n",
                                      d, errors));
    const std::vector<MediumEntry> entries = {{"app/big.dat", "app\\big.dat", 250, "Main", "bin", false, "Go = now", "", 0},
                                              {"app/a.txt", "app\\a.txt", 1, "Main", "bin", false, "", "", 0},
                                              {"app/b.txt", "app\\b.txt", 1, "Main", "bin", false, "", "", 0}};
    std::vector<Piece> pieces;
    ASSERT_TRUE(layOutDisks({250, 1, 1}, 100, 50, pieces));
    const std::string text = writeSetupScript(d, "m.txt", entries, pieces);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "CR LF line ends";

    std::vector<ScriptStatement> statements;
    const std::vector<Args> addFiles = readBack(text, &statements);
    for (const ScriptStatement& s : statements) {
        if (s.command == "SetAppName") {
            EXPECT_EQ(s.arguments, std::vector<std::string>{"Say \"Hi\" \xE9"});
        }
        if (s.command == "SetVariable") {
            EXPECT_EQ(s.arguments[1], "one\ntwo");
        }
    }
    const std::vector<Args> expected = {
        {"[SP]\\app\\big.dat.001", "[DP]\\bin\\big.dat", "Main", "0", "1", "1", "0", "0", "0", ""},
        {"[SP]\\..\\DISK2\\app\\big.dat.002", "[DP]\\bin\\big.dat", "Main", "0", "2", "1", "0", "0", "0", ""},
        {"[SP]\\..\\DISK3\\app\\big.dat.003", "[DP]\\bin\\big.dat", "Main", "0", "3", "1", "1", "0", "1", "Go = now"},
        {"[SP]\\..\\DISK4\\app\\*.*", "[DP]\\bin\\", "Main", "0", "4", "0", "0", "0", "0", ""},
    };
    EXPECT_EQ(addFiles, expected);
}

// A compressed file is named on the medium by its compressed name and installed under its own,
// also when it is split; a folder that holds one is not installed by a pattern.
TEST(QsmediaScript, InstallsCompressedFilesUnderTheirOwnNames) {
    MediaDescription d;
    std::vector<DescriptionError> errors;
    ASSERT_TRUE(parseMediaDescription("app = A\ndisk-size = 200\nsection \"Main\" required = app\n", d, errors));
    const std::vector<MediumEntry> entries = {{"app/a.txt", "app\\a.txt", 100, "Main", "", false, "", "app\\a.tx_", 40},
                                              {"app/b.bin", "app\\b.bin", 10, "Main", "", false, "", "", 0},
                                              {"app/big.dat", "app\\big.dat", 500, "Main", "", false, "", "app\\big.da_", 250}};
    std::vector<std::uint64_t> sizes;
    for (const MediumEntry& entry : entries) sizes.push_back(storedSize(entry));
    std::vector<Piece> pieces;
    ASSERT_TRUE(layOutDisks(sizes, 200, 50, pieces));
    const std::vector<Args> expected = {
        {"[SP]\\app\\a.tx_", "[DP]\\a.txt", "Main", "0", "1", "0", "0", "0", "0", ""},
        {"[SP]\\app\\b.bin", "[DP]\\", "Main", "0", "1", "0", "0", "0", "0", ""},
        {"[SP]\\app\\big.da_.001", "[DP]\\big.dat", "Main", "0", "1", "1", "0", "0", "0", ""},
        {"[SP]\\..\\DISK2\\app\\big.da_.002", "[DP]\\big.dat", "Main", "0", "2", "1", "1", "0", "0", ""},
    };
    EXPECT_EQ(readBack(writeSetupScript(d, "m.txt", entries, pieces)), expected);
}

// Setup.exe paints the caption only when its window is painted again, which SetBackground does:
// the script sets the colours after the caption, Setup.exe's own ones when the description has none.
TEST(QsmediaScript, SetsTheColoursAfterTheCaption) {
    for (const std::string& background : {std::string(), std::string("background = 1 2 3 4 5 6\n")}) {
        MediaDescription d;
        std::vector<DescriptionError> errors;
        ASSERT_TRUE(parseMediaDescription("app = A\nsection \"Main\" required = app\n" + background, d, errors));
        std::vector<ScriptStatement> statements;
        readBack(writeSetupScript(d, "m.txt", {}, {}), &statements);
        std::vector<std::string> order;
        for (const ScriptStatement& s : statements) {
            if (s.command != "SetCaption" && s.command != "SetBackground") continue;
            std::string text = s.command;
            for (const std::string& argument : s.arguments) text += " " + argument;
            order.push_back(text);
        }
        const std::vector<std::string> expected = {"SetCaption [APPNAME] Setup",
                                                   background.empty() ? "SetBackground 0 0 255 0 0 0" : "SetBackground 1 2 3 4 5 6"};
        EXPECT_EQ(order, expected) << background;
    }
}

}  // namespace
}  // namespace quillset
