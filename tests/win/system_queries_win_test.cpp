// What the program asks of Windows itself: the name-character rule of the code page, the process
// list, the free disk space, the libraries of the system folder and the file search. (Finding a forbidden process by its name, under NT and Windows 98,
// and a script that cannot be opened: the end-to-end tests.)
#include <windows.h>

#include <gtest/gtest.h>

#include "cp1252.h"
#include "find_files.h"
#include "folder_listings.h"
#include "free_disk_space.h"
#include "process_guard.h"
#include "system_directories.h"
#include "system_library.h"
#include "windows_name_character.h"
#include "win_test_files.h"

namespace quillset {
namespace {

// Every mask the folder's listing answers finds what the platform's own search finds, short names
// included; in a folder with names that each form could confuse.
TEST(FolderListingsTest, AnswersAsThePlatformsSearch) {
    const std::string folder = tempDirectory() + "qs listings win test\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "sub dir").c_str(), nullptr);
    const char* const names[] = {"longname.html", "readme", "README.TXT.bak", "a.b.c", "Data-0000.bin", "data-0000x.bin",
                                 "x.txt.bak", "notes.txt", "short.htm", "data-0000"};
    for (const char* name : names) CloseHandle(CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    FolderListings listings(findFilesWin32);
    for (const std::string mask : {"*", "*.*", "readme", "notes.TXT", "NOTES.TXT", "data-0000", "data-0000.*", "readme.*",
                                   "a.b.*", "*.htm", "*.txt", "*.bak", "*.c", "missing.*", "sub dir", "short.htm"}) {
        ASSERT_TRUE(listingAnswers(mask)) << mask;
        std::vector<std::string> expected, listed;
        for (const FoundFile& entry : findFilesWin32(folder + mask)) expected.push_back(entry.name + "|" + entry.shortName);
        for (const FoundFile& entry : listings.find(folder + mask)) listed.push_back(entry.name + "|" + entry.shortName);
        EXPECT_EQ(listed, expected) << mask;
    }
    // Each entry's short name, to find it by: the listing must find it so, as the search does.
    for (const FoundFile& entry : findFilesWin32(folder + "*")) {
        if (entry.shortName.empty()) continue;
        ASSERT_EQ(listings.find(folder + entry.shortName).size(), 1u) << entry.shortName;
        EXPECT_EQ(listings.find(folder + entry.shortName)[0].name, entry.name);
    }
    for (const char* name : names) DeleteFileA((folder + name).c_str());
    RemoveDirectoryA((folder + "sub dir").c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(WindowsReaderTest, CodePageTableAgreesWithIsCharAlphaNumeric) {
    ASSERT_EQ(GetACP(), 1252u) << "the Wine prefix must use the Western code page";
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(isCp1252AlphaNumeric(static_cast<unsigned char>(c)), isWindowsNameCharacter(static_cast<unsigned char>(c)))
            << "byte 0x" << std::hex << c;
}

BOOL CALLBACK countUpTo(DWORD, WORD, LPSTR, LPARAM user) {
    int* remaining = reinterpret_cast<int*>(user);
    return --*remaining > 0;
}

TEST(ProcessGuardTest, CallbackCanStopTheWalk) {
    int remaining = 1;
    EXPECT_TRUE(EnumerateProcesses(countUpTo, reinterpret_cast<LPARAM>(&remaining)));
    EXPECT_EQ(remaining, 0);  // called once, then stopped
}

// The destination page's free space, both ways the system offers.
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

// Every library the programs load by name comes from the system folder, whatever lies elsewhere;
// a library or function the system lacks is nothing, not a failure.
TEST(SystemLibraryTest, LibrariesComeFromTheSystemFolderOnly) {
    const std::string system = systemDirectory();
    for (const char* name : {"version.dll", "setupapi.dll", "comctl32.dll", "psapi.dll", "kernel32.dll"}) {
        HMODULE library = systemLibrary(name);
        ASSERT_NE(library, nullptr) << name;
        char path[MAX_PATH] = "";
        GetModuleFileNameA(library, path, MAX_PATH);
        EXPECT_EQ(lstrcmpiA(path, (system + "\\" + name).c_str()), 0) << name << " came from " << path;
        FreeLibrary(library);
    }
    EXPECT_EQ(systemLibrary("quillset-no-such-library.dll"), nullptr);

    using VersionSize = DWORD(APIENTRY*)(LPCSTR, LPDWORD);
    const SystemFunction<VersionSize> present("version.dll", "GetFileVersionInfoSizeA");
    const SystemFunction<VersionSize> absent("version.dll", "QuillsetNoSuchFunction");
    const SystemFunction<VersionSize> noLibrary("quillset-no-such-library.dll", "GetFileVersionInfoSizeA");
    ASSERT_NE(present.get(), nullptr);
    EXPECT_EQ(present.get(), present.get());
    DWORD ignored = 0;
    EXPECT_GT(present.get()((system + "\\kernel32.dll").c_str(), &ignored), 0u);
    EXPECT_EQ(absent.get(), nullptr);
    EXPECT_EQ(noLibrary.get(), nullptr);
}

}  // namespace
}  // namespace quillset
