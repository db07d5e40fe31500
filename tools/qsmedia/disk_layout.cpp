#include "disk_layout.h"

namespace quillset {

bool layOutDisks(const std::vector<std::uint64_t>& sizes, std::uint64_t diskSize, std::uint64_t firstDiskUsed,
                 std::vector<Piece>& pieces) {
    pieces.clear();
    if (diskSize != 0 && firstDiskUsed >= diskSize) return false;
    int disk = 1;
    std::uint64_t used = firstDiskUsed;
    for (std::size_t file = 0; file < sizes.size(); ++file) {
        const std::uint64_t size = sizes[file];
        if (diskSize == 0 || size <= diskSize - used) {
            pieces.push_back({file, disk, 0, size, 0, false});
            used += size;
            continue;
        }
        if (size <= diskSize) {
            pieces.push_back({file, ++disk, 0, size, 0, false});
            used = size;
            continue;
        }
        int part = 0;
        for (std::uint64_t offset = 0; offset < size;) {
            if (used == diskSize) {
                ++disk;
                used = 0;
            }
            const std::uint64_t length = size - offset < diskSize - used ? size - offset : diskSize - used;
            pieces.push_back({file, disk, offset, length, ++part, offset + length == size});
            offset += length;
            used += length;
        }
    }
    return true;
}

}  // namespace quillset
