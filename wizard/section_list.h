// The rules of the sections page's list, without a window: which rows are selected (the section
// will be installed) and which row is focused (its details are shown), and how keys, clicks and
// the install check box change them. The page applies the rows to its list view after each event.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "setup_state.h"

namespace quillset {

struct SectionRow {
    bool selected = false;  // the section will be installed
    bool focused = false;   // the row whose details are shown; at most one row is focused
};

enum class ArrowKey { left, up, right, down };

// One row per section, in declaration order. Each change of a row's selection is written at once
// into its section's `selected` flag.
class SectionList {
public:
    // Must-install rows start selected, optional rows as their `selected` flag says (so a second
    // opening shows what will be installed); row 0 is focused.
    explicit SectionList(std::vector<InstallSection>& sections);

    const std::vector<SectionRow>& rows() const { return rows_; }
    // The first focused row, or -1.
    int focusedRow() const;

    // Each event returns the row whose details the page shows now, or -1 for none to show.
    // Arrows move the focus (up and down by one, clamped to the rows; with no focused row the key
    // counts as down), never the selection.
    int pressArrow(ArrowKey key);
    // Space toggles the focused row; a must-install row is never deselected.
    int pressSpace();
    // A click on row `row` (or -1: below the rows) toggles that row like Space; afterwards every
    // must-install row is selected again, and when an optional row was deselected the focus
    // passes to them (the last keeps it).
    int click(int row);
    // The install check box of the focused row's details.
    int setInstallBox(bool checked);

private:
    bool isOptional(int row) const { return sections_[static_cast<std::size_t>(row)].mustInstall == 0; }
    void focus(int row);
    void choose(int row, bool install);

    std::vector<InstallSection>& sections_;
    std::vector<SectionRow> rows_;
};

// The size column: for every section, the sum of its files' sizes, wrapped to a 32-bit signed
// number as the list shows it. Each file entry whose section is declared is measured once, in
// script order (split files are joined part by part in that order); files of undeclared sections
// are never measured.
std::vector<std::int32_t> sectionSizes(const std::vector<InstallSection>& sections,
                                       const std::vector<InstallFileEntry>& files,
                                       const std::function<std::uint32_t(std::size_t entry)>& measure);

}  // namespace quillset
