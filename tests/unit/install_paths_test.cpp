#include <gtest/gtest.h>

#include "install_paths.h"

namespace quillset {
namespace {

TEST(InstallPathsTest, CollapseDoubleBackslashes) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Program Files\\Demo\\\\readme.txt", "C:\\Program Files\\Demo\\readme.txt"},
        // A network or device path keeps its leading pair; the rest collapses as anywhere.
        {"\\\\server\\share\\x", "\\\\server\\share\\x"},
        {"\\\\server\\share\\App\\\\x.dll", "\\\\server\\share\\App\\x.dll"},
        {"\\\\?\\C:\\App\\\\x", "\\\\?\\C:\\App\\x"},
        {"a\\\\\\b", "a\\\\b"},          // three become two
        {"a\\\\\\\\b", "a\\\\b"},        // four become two
        {"a\\\\\\\\\\b", "a\\\\\\b"},    // five become three
        {"trailing\\\\", "trailing\\"},
        {"single\\slash", "single\\slash"},
        {"", ""},
    };
    for (auto [path, expected] : cases) {
        collapseDoubleBackslashes(path);
        EXPECT_EQ(path, expected);
    }
}

TEST(InstallPathsTest, JoinPathUsesOneBackslash) {
    const std::tuple<std::string, std::string> cases[] = {
        {"C:\\App", "C:\\App\\QSUninstall.exe"},
        {"C:\\App\\", "C:\\App\\QSUninstall.exe"},
        {"C:\\App\\\\", "C:\\App\\QSUninstall.exe"},
        {"C:\\", "C:\\QSUninstall.exe"},
        {"\\\\server\\share\\App", "\\\\server\\share\\App\\QSUninstall.exe"},
    };
    for (const auto& [folder, expected] : cases) EXPECT_EQ(joinPath(folder, "QSUninstall.exe"), expected) << folder;
}

TEST(InstallPathsTest, DirectoryLevels) {
    using Levels = std::vector<std::string>;
    const std::pair<std::string, Levels> cases[] = {
        {"C:\\A\\B\\", {"C:\\A", "C:\\A\\B"}},
        {"C:\\A\\B", {"C:\\A", "C:\\A\\B"}},
        {"C:\\\\A\\\\B\\\\", {"C:\\\\A", "C:\\\\A\\\\B"}},  // doubled: no empty level, no trailing pair
        {"\\A\\B", {"\\A", "\\A\\B"}},
        {"A\\B\\", {"A", "A\\B"}},
        {"\\\\server\\share\\A\\B", {"\\\\server\\share\\A", "\\\\server\\share\\A\\B"}},
        {"\\\\server\\share\\", {}},
        {"\\\\server\\share", {}},
        {"C:", {}},
        {"C:\\", {}},
        {"", {}},
    };
    for (const auto& [directory, expected] : cases) EXPECT_EQ(directoryLevels(directory), expected) << directory;
}

TEST(InstallPathsTest, ShortenForRename) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\WINDOWS\\SYSTEM\\controlpanel.ocx", "C:\\WINDOWS\\SYSTEM\\contro~1"},
        {"C:\\WINDOWS\\TEMP\\MFC.DLL", "C:\\WINDOWS\\TEMP\\MFC"},
        {"C:\\My.Dir\\file.dll", "C:\\My"},                             // a dot in a directory cuts there
        {"C:\\Program Files\\controlpanel", "C:\\Program Files\\contro~1"},  // no dot
        {"C:\\A\\exactly8.dll", "C:\\A\\exactly8"},
        {"C:\\A\\ninechars", "C:\\A\\ninech~1"},
        {"controlpanel.ocx", "contro~1"},                                    // no backslash
    };
    for (auto [path, expected] : cases) {
        shortenForRename(path);
        EXPECT_EQ(path, expected);
    }
}

// The short form names the file in use whenever it is one; the guess from the long path only where
// the platform gave none (the long path came back, or nothing).
TEST(InstallPathsTest, WininitRenameTarget) {
    struct Case {
        std::string destination, shortForm, expected;
    };
    const Case cases[] = {
        {"C:\\WINDOWS\\SYSTEM\\controlpanel.ocx", "C:\\WINDOWS\\SYSTEM\\CONTRO~1.OCX", "C:\\WINDOWS\\SYSTEM\\CONTRO~1.OCX"},
        {"C:\\windows\\system32\\inuse_sc.dll", "C:\\windows\\system32\\inuse_sc.dll", "C:\\windows\\system32\\inuse_sc.dll"},
        {"C:\\My.Dir\\file.dll", "C:\\MY~1.DIR\\FILE.DLL", "C:\\MY~1.DIR\\FILE.DLL"},
        {"C:\\Shared Files\\controlpanel.ocx", "C:\\SHAR~X2Q\\CONT~A1B.OCX", "C:\\SHAR~X2Q\\CONT~A1B.OCX"},  // Wine's
        // No short form: the long path came back, or nothing.
        {"C:\\WINDOWS\\SYSTEM\\controlpanel.ocx", "C:\\WINDOWS\\SYSTEM\\controlpanel.ocx", "C:\\WINDOWS\\SYSTEM\\contro~1.dll"},
        {"C:\\WINDOWS\\SYSTEM\\controlpanel.ocx", "", "C:\\WINDOWS\\SYSTEM\\contro~1.dll"},
        {"C:\\Shared Files\\a.ocx", "C:\\Shared Files\\a.ocx", "C:\\Shared Files\\a.dll"},  // a blank
        {"C:\\A\\lib.dll.old", "C:\\A\\lib.dll.old", "C:\\A\\lib.dll"},                     // two dots
        {"C:\\A\\lib.data", "C:\\A\\lib.data", "C:\\A\\lib.dll"},                           // a long extension
        {"C:\\A\\a=b.ocx", "C:\\A\\a=b.ocx", "C:\\A\\a=b.dll"},                             // "=" would end the key
        {"\\\\server\\share\\x.ocx", "\\\\server\\share\\x.ocx", "\\\\server\\share\\x.dll"},  // no drive
        {"C:\\A\\\\x.ocx", "C:\\A\\\\x.ocx", "C:\\A\\\\x.dll"},                             // an empty part
    };
    for (const Case& c : cases) EXPECT_EQ(wininitRenameTarget(c.destination, c.shortForm), c.expected) << c.shortForm;
}

}  // namespace
}  // namespace quillset
