#include <gtest/gtest.h>

#include "path_text.h"

namespace quillset {
namespace {

TEST(PathTextTest, SplitsAtTheLastBackslash) {
    struct Case {
        const char* path;
        const char* fileName;
        const char* folder;
        const char* folderPrefix;
    };
    const Case cases[] = {
        {"", "", "", ""},
        {"setup.ini", "setup.ini", "", ""},
        {"C:\\App\\setup.ini", "setup.ini", "C:\\App", "C:\\App\\"},
        {"C:\\App\\", "", "C:\\App", "C:\\App\\"},          // a trailing backslash: no name
        {"C:\\", "", "C:", "C:\\"},                          // the drive's root
        {"C:\\setup.ini", "setup.ini", "C:", "C:\\"},
        {"C:setup.ini", "C:setup.ini", "", ""},              // only a backslash separates
        {"\\\\server\\share\\x.dll", "x.dll", "\\\\server\\share", "\\\\server\\share\\"},
        {"\\\\server", "server", "\\", "\\\\"},
        {"C:\\App\\\\x.dll", "x.dll", "C:\\App\\", "C:\\App\\\\"},  // doubled: the last one splits
        {"C:\\App/sub/x.dll", "App/sub/x.dll", "C:", "C:\\"},      // '/' is part of the name
        {"..\\media\\*.*", "*.*", "..\\media", "..\\media\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fileNameOf(c.path), c.fileName) << c.path;
        EXPECT_EQ(folderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(folderPrefixOf(c.path), c.folderPrefix) << c.path;
    }
}

}  // namespace
}  // namespace quillset
