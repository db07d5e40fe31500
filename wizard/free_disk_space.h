// The free space of a path's drive, as the destination page shows it.
#pragma once

#include <cstdint>
#include <string>

namespace quillset {

// Bytes available to the caller on the drive whose root is the path's first three characters; 0
// for a shorter path and on every failure. Uses GetDiskFreeSpaceExA where the system has it and
// the older cluster count otherwise (the first Windows 95), or always when `extendedCall` is false.
std::uint64_t GetFreeDiskSpace(const std::string& path, bool extendedCall = true);

}  // namespace quillset
