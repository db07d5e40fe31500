#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ini_file.h"

namespace quillset {
namespace {

namespace fs = std::filesystem;

using Entries = std::vector<std::pair<std::string, std::string>>;
using Model = std::vector<std::pair<std::string, Entries>>;

// The model in its own order.
Model modelOf(const IniFile& ini) {
    Model model;
    for (const auto& [name, section] : ini.sections())
        model.emplace_back(name, Entries(section.entries.begin(), section.entries.end()));
    return model;
}

TEST(IniFileTest, ReadsTheModel) {
    const std::string longValue(5000, 'x');
    const std::pair<std::string, Model> cases[] = {
        // sections as byte strings, keys shorter first
        {"[b]\nk=1\n[B]\nk=2\n[a]\nk=3\n", {{"B", {{"k", "2"}}}, {"a", {{"k", "3"}}}, {"b", {{"k", "1"}}}}},
        {"[s]\nC:\\B\\LONGER.dll=1\nC:\\A.dll=2\nbb=3\nab=4\n",
         {{"s", {{"ab", "4"}, {"bb", "3"}, {"C:\\A.dll", "2"}, {"C:\\B\\LONGER.dll", "1"}}}}},
        // comments and text after ";" dropped, nothing trimmed, CR cuts the line
        {"[s] ; c\n; k=0\n k = v ;note\nx;=y\n", {{"s", {{" k ", " v "}}}}},
        {"[s]\r\nk=v\rjunk=1\r\n", {{"s", {{"k", "v"}}}}},
        // lines before the first header and lines without "=" are not read
        {"k=v\n[s]\nj\nj=w", {{"s", {{"j", "w"}}}}},
        // a later value replaces an earlier one; a name seen before continues its section
        {"[s]\na=1\n[t]\nb=2\n[s]\na=3\nc=4\n", {{"s", {{"a", "3"}, {"c", "4"}}}, {"t", {{"b", "2"}}}}},
        // "[" before "=" makes a header, "=" before "[" an entry
        {"a[s]=c\nk=[v]\n", {{"s", {{"k", "[v]"}}}}},
        // a header without "]" ends the section before it and starts none
        {"[s]\na=1\n[broken\nb=2\n[t=u\nc=3\n[t]\nd=4\n", {{"s", {{"a", "1"}}}, {"t", {{"d", "4"}}}}},
        // a long line is one line: its tail is neither a header nor an entry of its own
        {"[s]\nk=" + longValue + "\n", {{"s", {{"k", longValue}}}}},
        {"[s]\nk=" + longValue + "[t]\n", {{"s", {{"k", longValue + "[t]"}}}}},
    };
    for (const auto& [text, expected] : cases) {
        IniFile ini;
        ini.loadText(text);
        EXPECT_EQ(modelOf(ini), expected) << text.substr(0, 60);
    }
}

// A foreign Wininit.ini, our entry closing its rename section and a second NUL entry added beside
// another program's: the end-to-end tests in_use98 and uninstall98.
TEST(IniFileTest, ChangesOnlyItsEntryInAnExistingFile) {
    struct Case {
        std::string before, section, key, after;
    };
    const Case cases[] = {
        // the key's line is replaced with its own line end; of several, the last, which a reader
        // ends up with
        {"[rename]\nK=old\nL=1\n", "rename", "K", "[rename]\nK=V\nL=1\n"},
        {"[rename]\r\nK=a\r\nK=b\r\nL=c", "rename", "K", "[rename]\r\nK=a\r\nK=V\r\nL=c"},
        {"[rename]\nK=a\n[x]\n[rename]\nK=b", "rename", "K", "[rename]\nK=a\n[x]\n[rename]\nK=V"},
        // a key only in a comment, in another case or outside the section is not ours
        {"K=old\n[rename]\n;K=old\nk=old\n", "rename", "K", "K=old\n[rename]\n;K=old\nk=old\nK=V\r\n"},
        // a missing last line end is added before our line
        {"[rename]\nNUL=C:\\x", "rename", "K", "[rename]\nNUL=C:\\x\r\nK=V\r\n"},
        {"[rename]\nA=1\r", "rename", "K", "[rename]\nA=1\r\nK=V\r\n"},
        {"[other]\nz=1", "rename", "K", "[other]\nz=1\r\n[rename]\r\nK=V\r\n"},
        // the section's last block takes the entry, before the blank lines that end it
        {"[rename]\nA=1\n[x]\ny=2\n[rename]\nB=1\n \n\n[z]\n", "rename", "K",
         "[rename]\nA=1\n[x]\ny=2\n[rename]\nB=1\nK=V\r\n \n\n[z]\n"},
        // never below a header without "]", nor under one
        {"[rename]\nA=1\n[renam\nB=2\n", "rename", "K", "[rename]\nA=1\nK=V\r\n[renam\nB=2\n"},
        {"[rename\nA=1\n", "rename", "K", "[rename\nA=1\n[rename]\r\nK=V\r\n"},
    };
    for (const auto& c : cases) {
        IniFile ini;
        ini.loadText(c.before);
        EXPECT_EQ(ini.saveText(), c.before);
        ini.setEntry(c.section, c.key, "V");
        EXPECT_EQ(ini.saveText(), c.after) << c.before;
        EXPECT_EQ(ini.sections().at(c.section).entries.at(c.key), "V");
        // The file says what the model says.
        IniFile reread;
        reread.loadText(ini.saveText());
        EXPECT_EQ(modelOf(reread), modelOf(ini)) << c.before;
    }
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(IniFileTest, LoadsAndSavesFiles) {
    const fs::path directory = fs::temp_directory_path() / ("quillset-ini-" + std::to_string(std::random_device()()));
    fs::create_directories(directory);
    const std::string path = (directory / "Wininit.ini").string();

    IniFile ini;
    // A missing file gives an empty model; an empty one is written from scratch.
    EXPECT_EQ(ini.load((directory / "missing.ini").string()), IniLoadResult::cannotRead);
    EXPECT_TRUE(ini.sections().empty());
    EXPECT_EQ(ini.load(directory.string()), IniLoadResult::cannotRead);
    EXPECT_EQ(ini.load(""), IniLoadResult::noPath);
    ini.setEntry("rename", "KEY", "VALUE");
    EXPECT_EQ(ini.saveText(), "[rename]\r\nKEY=VALUE\r\n\r\n");
    std::ofstream(path, std::ios::binary | std::ios::trunc).close();
    ASSERT_EQ(ini.load(path), IniLoadResult::loaded);
    ini.setEntry("rename", "C:\\B\\LONGER.dll", "2");
    ini.setEntry("rename", "C:\\A.dll", "1");
    ini.setEntry("Boot", "a", "b");
    ASSERT_TRUE(ini.save(path));
    EXPECT_EQ(readFile(path), "[Boot]\r\na=b\r\n\r\n[rename]\r\nC:\\A.dll=1\r\nC:\\B\\LONGER.dll=2\r\n\r\n");

    EXPECT_FALSE(ini.save((directory / "no-such-dir" / "x.ini").string()));
    EXPECT_FALSE(ini.save(""));
    fs::remove_all(directory);
}

}  // namespace
}  // namespace quillset
