// The process guard against the real process list of the NT family.
#include <windows.h>

#include <gtest/gtest.h>

#include "process_guard.h"
#include "process_names.h"

namespace quillset {
namespace {

BOOL CALLBACK countUpTo(DWORD, WORD, LPSTR, LPARAM user) {
    int* remaining = reinterpret_cast<int*>(user);
    return --*remaining > 0;
}

TEST(ProcessGuardTest, FindsThisProgramByItsFileNameOnly) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string fullPath = path;
    const std::string fileName = recordedProcessName(path);  // lower case, no directory
    EXPECT_TRUE(IsProcessRunning(fileName)) << fileName;
    EXPECT_FALSE(IsProcessRunning(fileName.substr(0, fileName.rfind('.'))));
    EXPECT_FALSE(IsProcessRunning(recordedProcessName("C:\\nowhere\\no-such-program.exe")));
    std::string withDirectory = fullPath;
    lowerCaseAscii(withDirectory);
    EXPECT_FALSE(IsProcessRunning(withDirectory));
}

TEST(ProcessGuardTest, CallbackCanStopTheWalk) {
    int remaining = 1;
    EXPECT_TRUE(EnumerateProcesses(countUpTo, reinterpret_cast<LPARAM>(&remaining)));
    EXPECT_EQ(remaining, 0);  // called once, then stopped
}

}  // namespace
}  // namespace quillset
