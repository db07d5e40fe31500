#include "free_disk_space.h"

#include <windows.h>

#include "page_choices.h"
#include "system_library.h"

namespace quillset {

std::uint64_t GetFreeDiskSpace(const std::string& path, bool extendedCall) {
    if (path.size() < 3) return 0;
    const std::string root = diskRootOf(path);
    using FreeSpaceEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    const auto freeSpaceEx = kernelFunction<FreeSpaceEx>("GetDiskFreeSpaceExA");
    if (extendedCall && freeSpaceEx != nullptr) {
        ULARGE_INTEGER available{}, total{}, free{};
        return freeSpaceEx(root.c_str(), &available, &total, &free) ? available.QuadPart : 0;
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) return 0;
    // In 64 bits: a product of 32-bit counts passes 4 GiB on any larger disk.
    return std::uint64_t{freeClusters} * sectorsPerCluster * bytesPerSector;
}

}  // namespace quillset
