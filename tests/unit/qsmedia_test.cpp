// qsmedia's decisions: how files fill disks, what a description may say, and that the script it
// writes reads back, through the setup program's own reader, as the AddFile arguments meant.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <tuple>

#include "cp1252.h"
#include "builtin_variables.h"
#include "disk_layout.h"
#include "interpreter.h"
#include "media_description.h"
#include "medium_contents.h"
#include "recording_host.h"
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

// A tree as deep as a Node package's, whose upper folders hold only folders, in a required and in
// an optional section: laid out without a word, and the script, run by the setup program's
// interpreter, installs each file into its own folder (Setup.exe makes every missing level). A
// shared 64-bit DLL is warned about, a shared 32-bit one is not.
TEST(QsmediaContents, LaysOutDeepTreesAndWarnsAboutSharedSixtyFourBitPrograms) {
    namespace fs = std::filesystem;
    const fs::path tree = fs::temp_directory_path() / ("qsmedia-deep-" + std::to_string(std::random_device{}()));
    fs::remove_all(tree);
    const auto write = [&](const std::string& path, const std::string& bytes) {
        fs::create_directories((tree / path).parent_path());
        std::ofstream(tree / path, std::ios::binary) << bytes;
    };
    const auto pe = [](char machineLow, char machineHigh) {
        std::string bytes(0x40, '\0');
        bytes[0] = 'M', bytes[1] = 'Z', bytes[0x3C] = 0x40;
        return bytes + "PE" + std::string(2, '\0') + machineLow + machineHigh;
    };
    for (const char* file : {"app/lib/deps/winpty/bin/x.dll", "app/lib/deps/winpty/bin/y.exe", "app/readme.txt",
                             "tools/a/b/c/d/e.txt"})
        write(file, file);
    write("app/lib64.dll", pe('\x64', '\x86'));
    write("app/lib32.dll", pe('\x4C', '\x01'));

    MediaDescription d;
    std::vector<DescriptionError> errors;
    ASSERT_TRUE(parseMediaDescription("app = Deep\nsection \"Main\" required = app\nshared = app/lib64.dll\n"
                                      "shared = app/lib32.dll\nsection \"Tools\" = tools -> extras\n"
                                      "version = 1.2 beta\nurl = https://deep.test/?a=1\nicon = tools/a/b/c/d/e.txt,2\n",
                                      d, errors));
    std::vector<MediumEntry> entries;
    std::vector<Problem> problems;
    EXPECT_TRUE(collectMediumContents(d, "m.txt", tree.u8string(), 100, PeHeader{}, entries, problems));
    fs::remove_all(tree);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].where, "m.txt:3");
    EXPECT_FALSE(problems[0].error);
    EXPECT_EQ(problems[0].message.find("shared file app/lib64.dll is a 64-bit program (x86_64)"), 0u) << problems[0].message;

    std::vector<std::uint64_t> sizes;
    for (const MediumEntry& entry : entries) sizes.push_back(entry.size);
    std::vector<Piece> pieces;
    ASSERT_TRUE(layOutDisks(sizes, 0, 0, pieces));
    SetupScript script(isCp1252AlphaNumeric, nullptr);
    script.tokenize(toTextMode(writeSetupScript(d, "m.txt", entries, pieces)));
    // The medium as the setup program finds it in M: each file under its medium path.
    RecordingHost host([&](const std::string& pattern) {
        std::vector<FoundFile> found;
        for (const MediumEntry& entry : entries) {
            const std::string path = "M\\" + entry.mediumPath, folder = path.substr(0, path.rfind('\\') + 1);
            if (path == pattern || folder + "*.*" == pattern) found.push_back({path.substr(folder.size()), false});
        }
        return found;
    });
    SetupState state;
    setSetupPaths(state, "M", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32");
    EXPECT_EQ(runStatements(script, state, host).outcome, RunOutcome::runCompleted);
    std::map<std::string, std::string> installed;
    for (const InstallFileEntry& file : state.files)
        installed[file.sourcePath] = file.shared ? "shared" : file.destinationPath;
    const std::map<std::string, std::string> expected = {
        {"M\\QSUninstall.exe", "[DP]\\QSUninstall.exe"},
        {"M\\app\\lib\\deps\\winpty\\bin\\x.dll", "[DP]\\lib\\deps\\winpty\\bin\\x.dll"},
        {"M\\app\\lib\\deps\\winpty\\bin\\y.exe", "[DP]\\lib\\deps\\winpty\\bin\\y.exe"},
        {"M\\app\\readme.txt", "[DP]\\readme.txt"},
        {"M\\app\\lib64.dll", "shared"},
        {"M\\app\\lib32.dll", "shared"},
        {"M\\tools\\a\\b\\c\\d\\e.txt", "[DP]\\extras\\a\\b\\c\\d\\e.txt"},
    };
    EXPECT_EQ(installed, expected);
    // The Uninstall entry's variables; the icon below the installation folder, wherever that is.
    EXPECT_EQ(state.variables["APPVERSION"], "1.2 beta");
    EXPECT_EQ(state.variables["APPURL"], "https://deep.test/?a=1");
    EXPECT_EQ(state.variables["APPICON"], "extras\\a\\b\\c\\d\\e.txt,2");
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
