#include "section_list.h"

#include <unordered_map>

namespace quillset {

SectionList::SectionList(std::vector<InstallSection>& sections) : sections_(sections) {
    for (const InstallSection& section : sections)
        rows_.push_back(SectionRow{section.mustInstall != 0 || section.selected, false});
    if (!rows_.empty()) focus(0);
}

int SectionList::focusedRow() const {
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (rows_[row].focused) return static_cast<int>(row);
    return -1;
}

void SectionList::focus(int row) {
    for (SectionRow& each : rows_) each.focused = false;
    rows_[static_cast<std::size_t>(row)].focused = true;
}

void SectionList::choose(int row, bool install) {
    rows_[static_cast<std::size_t>(row)].selected = install;
    sections_[static_cast<std::size_t>(row)].selected = install;
}

int SectionList::pressArrow(ArrowKey key) {
    if (rows_.empty()) return -1;
    int row = focusedRow();
    if (row < 0 || key == ArrowKey::down) ++row;
    else if (key == ArrowKey::up) --row;
    const int last = static_cast<int>(rows_.size()) - 1;
    row = row < 0 ? 0 : row > last ? last : row;
    focus(row);
    return row;
}

int SectionList::pressSpace() {
    const int row = focusedRow();
    if (row < 0) return -1;
    choose(row, !(rows_[static_cast<std::size_t>(row)].selected && isOptional(row)));
    focus(row);
    return row;
}

int SectionList::click(int row) {
    const bool onRow = row >= 0 && row < static_cast<int>(rows_.size());
    bool optionalDeselected = false;
    if (onRow) {
        if (rows_[static_cast<std::size_t>(row)].selected && isOptional(row)) {
            choose(row, false);
            rows_[static_cast<std::size_t>(row)].focused = false;
            optionalDeselected = true;
        } else {
            choose(row, true);
            focus(row);
        }
    }
    for (int must = 0; must < static_cast<int>(rows_.size()); ++must) {
        if (isOptional(must)) continue;
        rows_[static_cast<std::size_t>(must)].selected = true;
        if (optionalDeselected) focus(must);
    }
    return onRow ? row : -1;
}

int SectionList::setInstallBox(bool checked) {
    const int row = focusedRow();
    if (row < 0) return -1;
    choose(row, checked);
    focus(row);
    return -1;  // the details already show the box as the user left it
}

std::vector<std::int32_t> sectionSizes(const std::vector<InstallSection>& sections,
                                       const std::vector<InstallFileEntry>& files,
                                       const std::function<std::uint32_t(std::size_t entry)>& measure) {
    std::unordered_map<std::string, std::uint32_t> totals;
    for (const InstallSection& section : sections) totals.emplace(section.name, 0);
    for (std::size_t entry = 0; entry < files.size(); ++entry) {
        auto total = totals.find(files[entry].sectionName);
        if (total != totals.end()) total->second += measure(entry);  // wraps, as the column does
    }
    std::vector<std::int32_t> sizes;
    for (const InstallSection& section : sections) sizes.push_back(static_cast<std::int32_t>(totals[section.name]));
    return sizes;
}

}  // namespace quillset
