// How the files of a medium are spread over disks of a given size.
//
// The files are placed in the order given. Disk 1 starts with the bytes that the setup program,
// the uninstaller and the script take. A file goes whole on the current disk when it fits in the
// room left; a file that fits on an empty disk but not in that room starts the next disk; a file
// larger than a disk is split: its first part fills the room left on the current disk, the middle
// parts fill whole disks, and the last part starts the disk that later files go on. Sizes are
// file bytes; the file system's own overhead is not counted.
#pragma once

#include <cstdint>
#include <vector>

namespace quillset {

// One piece of a file on one disk: the whole file, or one part of a split file.
struct Piece {
    std::size_t file = 0;  // index into the sizes given
    int disk = 1;
    std::uint64_t offset = 0, length = 0;
    int part = 0;          // 1, 2, ... for the parts of a split file; 0 for a whole file
    bool lastPart = false;
};

// The pieces of every file, file after file. diskSize 0 means one disk without limit. Returns
// false when the setup program's files (firstDiskUsed) leave disk 1 no room.
bool layOutDisks(const std::vector<std::uint64_t>& sizes, std::uint64_t diskSize, std::uint64_t firstDiskUsed,
                 std::vector<Piece>& pieces);

}  // namespace quillset
