// The size each declared file will have once installed, for the sections page's size column.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "setup_state.h"

namespace quillset {

// Measures file entries, one opening of the sections page at a time, in script order.
class SourceSizes {
public:
    explicit SourceSizes(SetupState& state) : state_(state) {}

    // The uncompressed size of the entry's source (a compressed source counts with its expanded
    // size), 0 when it cannot be examined. A split file counts once, at its last part: every part
    // is appended to the file's join file (which may ask for a disk) and the joined file is
    // measured and removed; earlier parts count 0.
    std::uint32_t FileEntryUncompressedSize(std::size_t index);

    // The user confirmed quitting at a disk prompt; later entries are no longer measured.
    bool quitRequested() const { return quitRequested_; }

private:
    SetupState& state_;
    std::set<std::string> startedJoinFiles_;  // join files emptied before their first part
    bool quitRequested_ = false;
};

// The expanded size of a file as the platform's installer would write it, 0 when it cannot be
// examined.
std::uint32_t uncompressedSize(const std::string& path);

}  // namespace quillset
