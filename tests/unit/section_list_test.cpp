#include <gtest/gtest.h>

#include <sstream>

#include "page_choices.h"
#include "section_list.h"

namespace quillset {
namespace {

// Sections from a pattern: 'M' must-install, 'o' optional, 'O' optional with `selected` set.
std::vector<InstallSection> sectionsFrom(const std::string& pattern) {
    std::vector<InstallSection> sections;
    for (char kind : pattern) {
        InstallSection section;
        section.name = std::string(1, static_cast<char>('A' + sections.size()));
        section.mustInstall = kind == 'M';
        section.selected = kind == 'O';
        sections.push_back(section);
    }
    return sections;
}

// Rows as one character each: '-' nothing, 's' selected, 'f' focused, 'F' both.
std::string rowsText(const SectionList& list) {
    std::string text;
    for (const SectionRow& row : list.rows()) text += row.selected ? (row.focused ? 'F' : 's') : (row.focused ? 'f' : '-');
    return text;
}

std::string flagsText(const std::vector<InstallSection>& sections) {
    std::string text;
    for (const InstallSection& section : sections) text += section.selected ? '1' : '0';
    return text;
}

// Runs events ("up down left right space click:N box:0|1") and returns the details rows they
// named, separated by blanks.
std::string run(SectionList& list, const std::string& events) {
    std::istringstream words(events);
    std::string event, details;
    while (words >> event) {
        int shown = -1;
        if (event == "up") shown = list.pressArrow(ArrowKey::up);
        else if (event == "down") shown = list.pressArrow(ArrowKey::down);
        else if (event == "left") shown = list.pressArrow(ArrowKey::left);
        else if (event == "right") shown = list.pressArrow(ArrowKey::right);
        else if (event == "space") shown = list.pressSpace();
        else if (event.rfind("click:", 0) == 0) shown = list.click(std::stoi(event.substr(6)));
        else if (event.rfind("box:", 0) == 0) shown = list.setInstallBox(event[4] == '1');
        else ADD_FAILURE() << "unknown event " << event;
        details += (details.empty() ? "" : " ") + std::to_string(shown);
    }
    return details;
}

TEST(SectionListTest, KeysClicksAndTheInstallBox) {
    struct Case {
        const char* sections;
        const char* events;
        const char* rows;     // afterwards
        const char* flags;    // the sections' `selected` afterwards
        const char* details;  // rows shown per event (-1: none)
    } cases[] = {
        // Opening: must-install rows chosen, optional rows as their flag says, row 0 focused.
        {"MoMO", "", "F-ss", "0001", ""},
        {"", "", "", "", ""},
        {"Mo", "down", "sf", "00", "1"},
        {"Mo", "down down down", "sf", "00", "1 1 1"},
        {"Mo", "up left right", "F-", "00", "0 0 0"},
        // Space toggles an optional row and keeps the focus on it; a must-install row stays chosen.
        {"Mo", "down space", "sF", "01", "1 1"},
        {"Mo", "down space space", "sf", "00", "1 1 1"},
        {"Mo", "space space", "F-", "10", "0 0"},
        // Clicks: choose; a second click leaves the row and the focus goes to the last must-install.
        {"MoM", "click:1", "sFs", "010", "1"},
        {"MoM", "click:1 click:1", "s-F", "000", "1 1"},
        {"o", "click:0 click:0", "-", "0", "0 0"},
        {"MoM", "click:2", "s-F", "001", "2"},
        {"Mo", "down click:-1", "sf", "00", "1 -1"},
        // The install box works on the focused row.
        {"Mo", "down box:1", "sF", "01", "1 -1"},
        {"Mo", "down box:1 box:0", "sf", "00", "1 -1 -1"},
        // Nothing to work on.
        {"", "down space click:0 box:1", "", "", "-1 -1 -1 -1"},
        {"o", "click:0 click:0 space box:1", "-", "0", "0 0 -1 -1"},
    };
    for (const Case& c : cases) {
        std::vector<InstallSection> sections = sectionsFrom(c.sections);
        SectionList list(sections);
        const std::string details = run(list, c.events);
        SCOPED_TRACE(std::string(c.sections) + ": " + c.events);
        EXPECT_EQ(rowsText(list), c.rows);
        EXPECT_EQ(flagsText(sections), c.flags);
        EXPECT_EQ(details, c.details);
    }
}

TEST(SectionListTest, SizesSumEachFileOnceInScriptOrder) {
    std::vector<InstallSection> sections = sectionsFrom("Moo");
    sections[2].name = "a";  // names are compared exactly
    std::vector<InstallFileEntry> files(6);
    const char* owners[] = {"A", "B", "undeclared", "A", "a", "B"};
    for (std::size_t i = 0; i < files.size(); ++i) files[i].sectionName = owners[i];
    const std::uint32_t sizes[] = {10, 0x7FFFFFFF, 1000, 5, 7, 2};
    std::vector<std::size_t> measured;
    const std::vector<std::int32_t> totals = sectionSizes(sections, files, [&](std::size_t entry) {
        measured.push_back(entry);
        return sizes[entry];
    });
    // B passes 2147483647 and shows wrapped, as a 32-bit column does.
    EXPECT_EQ(totals, (std::vector<std::int32_t>{15, -2147483647, 7}));
    EXPECT_EQ(measured, (std::vector<std::size_t>{0, 1, 3, 4, 5}));
}

TEST(PageChoicesTest, NewGroupPathsAreNeverUndeterminedOrCut) {
    const std::string programs = "C:\\Start Menu\\Programs";
    EXPECT_EQ(newGroupPath(programs, "Demo"), programs + "\\Demo\\");
    EXPECT_EQ(newGroupPath(programs, ""), programs + "\\\\");
    EXPECT_EQ(newGroupPath("", "Demo"), "");  // never a path from an unknown folder
    const std::string fits(kLongestPath - programs.size() - 2, 'g');
    EXPECT_EQ(newGroupPath(programs, fits).size(), kLongestPath);
    EXPECT_EQ(newGroupPath(programs, fits + "g"), "");  // never cut into another folder
}

}  // namespace
}  // namespace quillset
