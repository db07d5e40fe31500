// The page journal: what the program under test recorded of each of its dialogs as they opened
// and closed, written from inside it by qsrun's hook (page_journal_hook.cpp). The walk looks at
// the screen, which can miss a page that comes and goes between two looks (the copy page of a
// small medium); the journal misses none, so such a page is still reported with its template,
// title and controls. Portable: the record format, its writer's escaping and its reader.
//
// One record per dialog event, written with one WriteFile so records never interleave:
//   PAGE <tab> opened|closed <tab> HANDLE (hex) <tab> TITLE
//   CONTROL <tab> ID <tab> CLASS <tab> STYLE (hex) <tab> CHECK (-1, 0, 1) <tab> TEXT
//   ROW <tab> CELL <tab> CELL ...          (a list view's row, after its control)
//   END
// Texts escape backslash, tab, carriage return and line feed as \\ \t \r \n. A record without
// its END (the program was killed while writing) is not read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillset::qsrun {

struct JournalControl {
    int id = 0;
    std::string className;
    std::uint32_t style = 0;
    int checked = -1;
    std::string text;
    std::vector<std::vector<std::string>> rows;  // list views: each row's cells
};

struct JournalPage {
    bool closed = false;  // false: the dialog had just opened
    std::uint64_t handle = 0;
    std::string title;
    std::vector<JournalControl> controls;
};

std::string escapeJournalText(const std::string& text);
// The whole records of `text`, in order.
std::vector<JournalPage> readPageJournal(const std::string& text);

// What a control is, from its class and style, as the report names it: "text", "edit", "list",
// "progress", "check box", "option button", "group box", "push button", or the class itself.
std::string controlKindOf(const std::string& className, std::uint32_t style);

}  // namespace quillset::qsrun
