// The installation pieces that reach the system directly: shortcut files, short path forms, a
// shared file in use, the installer's leftover temporary files, the measuring of sources and the
// Uninstall entry's values in the registry. What
// the engine decides over them is tested natively (tests/unit/install_file_test.cpp).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "find_files.h"
#include "folder_short_names.h"
#include "locked_file.h"
#include "path_forms.h"
#include "short_path_cache.h"
#include "shortcut.h"
#include "source_sizes.h"
#include "uninstall_registration.h"
#include "win32_install_platform.h"
#include "win_test_files.h"

namespace quillset {
namespace {

class ShortcutTest : public ::testing::Test {
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(ShortcutTest, SavesUnderTheAnsiNameWithTargetAndDescription) {
    const std::string directory = tempDirectory(), target = directory.substr(0, directory.size() - 1);
    // Code page 1252: 0xE9 is e acute, 0x80 the euro sign (U+20AC; U+0080 would not read back as 0x80).
    for (const std::string name : {"Quillset Demo", "Quillset Caf\xE9", "Quillset \x80 Rates"}) {
        const std::string linkPath = directory + name + ".lnk";
        EXPECT_EQ(makeShortcut(target, linkPath, name), S_OK) << name;
        EXPECT_NE(GetFileAttributesA(linkPath.c_str()), INVALID_FILE_ATTRIBUTES) << name;
        std::string readTarget, description;
        EXPECT_TRUE(readShortcut(linkPath, readTarget, description)) << name;
        EXPECT_EQ(std::make_pair(readTarget, description), std::make_pair(target, name));
        EXPECT_TRUE(DeleteFileA(linkPath.c_str())) << name;
    }
}

TEST_F(ShortcutTest, LinkPathOfMaxPathOrMoreIsRefused) {
    const std::string start = tempDirectory() + "quillset long link ";
    const auto linkPath = [&](std::size_t size) { return start + std::string(size - start.size() - 4, 'x') + ".lnk"; };
    // 259 characters still fit with the terminating zero.
    EXPECT_EQ(makeShortcut("C:\\windows\\notepad.exe", linkPath(MAX_PATH - 1), "fits"), S_OK);
    EXPECT_TRUE(DeleteFileA(linkPath(MAX_PATH - 1).c_str()));
    for (const std::size_t length : {MAX_PATH, 300})
        EXPECT_EQ(makeShortcut("C:\\windows\\notepad.exe", linkPath(length), "too long"), E_INVALIDARG) << length;
    // Nothing was made, not even under a cut name.
    WIN32_FIND_DATAA found;
    EXPECT_EQ(FindFirstFileA((start + "*").c_str(), &found), INVALID_HANDLE_VALUE) << found.cFileName;
}

// A folder of 1,100 files named file-00000.dat to file-01099.dat, each holding its own name: under
// Wine some twenty pairs of them share a short name (file-00118.dat and file-01002.dat are both
// FILE~IHD.DAT), and opened by it one of a pair answers, whichever the folder's own order puts
// first (not the order of a listing). The short forms taken from the listing and from one look-up
// per installed file must be what shortPathOf gives, and every short form must open its own file.
class ShortPathCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = tempDirectory() + "quillset-short-names-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
        for (int number = 0; number < 1100; ++number) {
            char name[32];
            wsprintfA(name, "file-%05d.dat", number);
            names.push_back(name);
        }
    }
    void TearDown() override {
        for (const std::string& folder : made) {
            for (const std::string& name : names) DeleteFileA((folder + "\\" + name).c_str());
            RemoveDirectoryA(folder.c_str());
        }
        RemoveDirectoryA(root.c_str());
    }
    std::string folder(const std::string& name) {
        made.push_back(root + "\\" + name);
        return made.back();
    }
    static void makeFile(const std::string& path) {
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
        const std::string name = path.substr(path.rfind('\\') + 1);
        DWORD written = 0;
        WriteFile(file, name.data(), static_cast<DWORD>(name.size()), &written, nullptr);
        CloseHandle(file);
    }
    // What the file a path opens holds: the name of the file it is.
    static std::string openedFile(const std::string& path) {
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return "(cannot open " + path + ")";
        char text[64];
        DWORD got = 0;
        ReadFile(file, text, sizeof text, &got, nullptr);
        CloseHandle(file);
        return std::string(text, got);
    }

    std::string root;
    std::vector<std::string> names, made;
};

TEST_F(ShortPathCacheTest, SourcesTakeTheListingsShortNamesOnlyWhereTheyAreTheirOwn) {
    const std::string source = folder("Source Folder");
    ASSERT_TRUE(CreateDirectoryA(source.c_str(), nullptr));
    for (const std::string& name : names) makeFile(source + "\\" + name);
    FolderShortNames listed;
    for (const FoundFile& found : findFilesWin32(source + "\\*.*")) listed.add(found.name, found.shortName);

    ShortPathCache fromScript, fromOwnListing;
    std::size_t shortForms = 0;  // the check keeps no more than the names that share one long
    for (const std::string& name : names) {
        const std::string path = source + "\\" + name, expected = shortPathOf(path);
        EXPECT_EQ(openedFile(expected), name) << expected;
        shortForms += expected != path;
        EXPECT_EQ(fromScript.sourcePathOf(path, listed.shortFormOf(name)), expected);
        EXPECT_EQ(fromOwnListing.sourcePathOf(path, ""), expected);
    }
    EXPECT_GT(shortForms, names.size() * 9 / 10);
    // A source that is gone has no short form: the disk is asked for under the long name.
    const std::string gone = source + "\\" + names[7];
    ASSERT_TRUE(DeleteFileA(gone.c_str()));
    EXPECT_EQ(fromScript.sourcePathOf(gone, listed.shortFormOf(names[7])), gone);
}

// Each installed file is looked up, or its source's short name is tried; a wrong guess (another
// file's short name) must not be taken.
TEST_F(ShortPathCacheTest, InstalledFilesWithTheFolderMadeDuringTheRun) {
    const std::string source = folder("Source Folder"), destination = folder("Installed Folder");
    ASSERT_TRUE(CreateDirectoryA(source.c_str(), nullptr));
    for (const std::string& name : names) makeFile(source + "\\" + name);
    std::vector<std::string> sourceShortNames;
    for (const std::string& name : names) {
        const std::string shortPath = shortPathOf(source + "\\" + name);
        sourceShortNames.push_back(shortPath.substr(shortPath.rfind('\\') + 1));
    }
    ShortPathCache lookedUp, guessed, wronglyGuessed;
    const std::string first = destination + "\\" + names[0];
    EXPECT_EQ(lookedUp.installedPathOf(first, ""), first);  // neither folder nor file there yet
    EXPECT_EQ(guessed.installedPathOf(first, sourceShortNames[0]), first);
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    for (std::size_t index = 0; index < names.size(); ++index) {
        const std::string path = destination + "\\" + names[index];
        makeFile(path);
        const std::string expected = shortPathOf(path);
        EXPECT_EQ(openedFile(expected), names[index]) << expected;
        EXPECT_EQ(lookedUp.installedPathOf(path, ""), expected);
        EXPECT_EQ(guessed.installedPathOf(path, sourceShortNames[index]), expected);
        EXPECT_EQ(wronglyGuessed.installedPathOf(path, sourceShortNames[index == 0 ? 0 : index - 1]), expected);
    }
}

// A shared file in use is replaced at the next restart only when both files carry a version
// resource and the new one is not older (the copy in use is version 5.6): a source without one is
// reported back unscheduled, an older one (1.2) needs nothing.
TEST(LockedFileTest, UnversionedSourceIsNotScheduledAndAnOlderOneNotNeeded) {
    const std::string directory = tempDirectory() + "quillset-in-use";
    CreateDirectoryA(directory.c_str(), nullptr);
    const std::string destination = directory + "\\shared.dll";
    ASSERT_TRUE(CopyFileA(besideProgram("versioned_de.dll").c_str(), destination.c_str(), FALSE));
    EXPECT_EQ(replaceLockedFile(unversionedFile(), destination, "shared.dll"), LockedFileResult::notScheduled);
    EXPECT_EQ(replaceLockedFile(besideProgram("versioned_en.dll"), destination, "versioned_en.dll"),
              LockedFileResult::handled);
    DeleteFileA(destination.c_str());
    RemoveDirectoryA(directory.c_str());
}

// The platform's installer that runs out of space: like Wine's, it leaves its temporary copy in
// the destination directory and does not name it.
std::string outOfSpaceDirectory;

DWORD APIENTRY installOutOfSpace(DWORD, LPSTR, LPSTR, LPSTR, LPSTR, LPSTR, LPSTR, PUINT) {
    char temporary[MAX_PATH] = "";
    GetTempFileNameA(outOfSpaceDirectory.c_str(), "ver", 0, temporary);
    return VIF_OUTOFSPACE;
}

// Its temporary copy goes; a "ver*.tmp" that was there long before, and is no copy of this run,
// stays.
TEST(Win32InstallPlatformTest, TemporaryCopyTheInstallerDoesNotNameIsRemoved) {
    outOfSpaceDirectory = tempDirectory() + "quillset-out-of-space";
    CreateDirectoryA(outOfSpaceDirectory.c_str(), nullptr);
    const std::string older = outOfSpaceDirectory + "\\ver0001.tmp";
    const HANDLE file = CreateFileA(older.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME hourAgo;
    GetSystemTimeAsFileTime(&hourAgo);
    ULARGE_INTEGER ticks{{hourAgo.dwLowDateTime, hourAgo.dwHighDateTime}};
    ticks.QuadPart -= 3600ull * 10000000;
    hourAgo.dwLowDateTime = ticks.LowPart;
    hourAgo.dwHighDateTime = ticks.HighPart;
    SetFileTime(file, &hourAgo, &hourAgo, &hourAgo);
    CloseHandle(file);

    const std::string source = unversionedFile();
    const std::string sourceDirectory = source.substr(0, source.rfind('\\') + 1);
    Win32InstallPlatform platform({versionFindFile, installOutOfSpace});
    EXPECT_EQ(platform.installFile(true, source.substr(sourceDirectory.size()), "installed.txt", sourceDirectory,
                                   outOfSpaceDirectory, ""),
              static_cast<std::uint32_t>(VIF_OUTOFSPACE));
    platform.discardTemporaryCopies();

    std::vector<std::string> left;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((outOfSpaceDirectory + "\\*.tmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do left.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(left, std::vector<std::string>{"ver0001.tmp"});
    for (const std::string& name : left) DeleteFileA((outOfSpaceDirectory + "\\" + name).c_str());
    RemoveDirectoryA(outOfSpaceDirectory.c_str());
}

// A source whose reading never ends (a medium that stopped answering): here a pipe nobody writes
// to. Closing the page must not wait for it longer than the bounded time.
TEST(SourceSizeThreadTest, StoppingDoesNotWaitForASourceThatHangs) {
    const std::string pipe = "\\\\.\\pipe\\quillset-silent-source";
    const HANDLE server = CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE, 1,
                                           4096, 4096, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    OVERLAPPED connection{};
    connection.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const bool connected = ConnectNamedPipe(server, &connection) == FALSE && GetLastError() == ERROR_PIPE_CONNECTED;

    auto sizes = std::make_unique<SourceSizeThread>(std::vector<std::string>{pipe}, nullptr, WM_APP);
    // The measuring thread has opened the source once the pipe is connected; it then waits for data.
    ASSERT_TRUE(connected || WaitForSingleObject(connection.hEvent, 30000) == WAIT_OBJECT_0)
        << "the measuring never opened the source";
    const HANDLE stopper = CreateThread(
        nullptr, 0, [](void* held) -> DWORD {
            static_cast<std::unique_ptr<SourceSizeThread>*>(held)->reset();
            return 0;
        },
        &sizes, 0, nullptr);
    ASSERT_NE(stopper, nullptr);
    EXPECT_EQ(WaitForSingleObject(stopper, 60000), WAIT_OBJECT_0) << "stopping waited for the hanging source";
    // Only now the source answers (closed), so that the measuring thread ends.
    CloseHandle(server);
    WaitForSingleObject(stopper, INFINITE);
    CloseHandle(stopper);
    CloseHandle(connection.hEvent);
}

// The entry over one an earlier installation left: the values whose variables are now unset are
// removed from the registry (the values a run writes are the end-to-end test entry_values'). A run
// without APPNAME writes nothing into the Uninstall key itself.
TEST(UninstallRegistrationTest, RemovesWhatIsNoLongerSet) {
    const std::string root = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    const std::string keyPath = uninstallKeyPath("QS Entry Win Test");
    const std::string destination = tempDirectory() + "qs entry win test\\";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const char* stale : {"Publisher", "URLInfoAbout", "DisplayIcon"})
        RegSetValueExA(key, stale, 0, REG_SZ, reinterpret_cast<const BYTE*>("old"), 4);
    RegCloseKey(key);
    const auto valueCount = [](const std::string& path) {
        HKEY opened = nullptr;
        DWORD values = 0;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return -1;
        RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                         nullptr);
        RegCloseKey(opened);
        return static_cast<int>(values);
    };
    const int rootValues = valueCount(root);

    UninstallLog log;  // no sink: the lines go nowhere, the entry is written all the same
    VariableTable variables;
    variables.set("APPNAME", "QS Entry Win Test");
    variables.set("DP", destination);
    variables.set("APPVERSION", "1.0");
    EXPECT_TRUE(RegisterUninstallEntry(log, destination + "Uninstall.log", variables, UninstallEntryRun{}));
    const auto text = [&](const char* name) {
        char data[600] = "";
        DWORD size = sizeof data;
        return RegGetValueA(HKEY_LOCAL_MACHINE, keyPath.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) == ERROR_SUCCESS
                   ? std::string(data)
                   : std::string("(none)");
    };
    EXPECT_EQ(text("DisplayVersion"), "1.0");
    for (const char* gone : {"Publisher", "URLInfoAbout", "DisplayIcon"}) EXPECT_EQ(text(gone), "(none)") << gone;

    variables.set("APPNAME", "");
    EXPECT_FALSE(RegisterUninstallEntry(log, destination + "Uninstall.log", variables, UninstallEntryRun{}));
    EXPECT_EQ(valueCount(root), rootValues);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath.c_str());
}

}  // namespace
}  // namespace quillset
