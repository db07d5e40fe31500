// The destination page's free space, both ways the system offers.
#include <windows.h>

#include <gtest/gtest.h>

#include "free_disk_space.h"

namespace quillset {
namespace {

TEST(FreeDiskSpaceTest, BothWaysAgreeAndUnknownDrivesGiveNothing) {
    // The older cluster count gives the same figure, beyond 4 GiB too (Wine's drive C: lies on
    // the build machine's disk, far larger than that).
    const std::uint64_t extended = GetFreeDiskSpace("C:\\Programs\\App\\");
    const std::uint64_t clusters = GetFreeDiskSpace("C:\\Programs\\App\\", false);
    ASSERT_GT(extended, 0u);
    EXPECT_NEAR(static_cast<double>(clusters), static_cast<double>(extended), static_cast<double>(extended) / 100);
    for (const char* path : {"C:", "", "\\\\server\\share\\app", "Q:\\nowhere"})
        for (bool extendedCall : {true, false}) EXPECT_EQ(GetFreeDiskSpace(path, extendedCall), 0u) << path;
}

}  // namespace
}  // namespace quillset
