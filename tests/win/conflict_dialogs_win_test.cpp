// The version reader against version resources of our own fixtures, and the two file conflict
// dialogs shown for real and answered by a driver thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conflict_dialogs.h"
#include "dialog_driver.h"
#include "resource_ids.h"
#include "version_info.h"

namespace quillset {
namespace {

// The directory of this test program, where the fixture libraries are built, with a backslash.
std::string programDirectory() {
    std::vector<char> path(MAX_PATH);
    while (GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size())) >= path.size() - 1)
        path.resize(path.size() * 2);
    std::string directory = path.data();
    return directory.substr(0, directory.rfind('\\') + 1);
}

std::string fixture(const char* name) { return programDirectory() + name; }

// A file that exists and has no version resource; removed when the test ends.
class PlainFile {
public:
    PlainFile() {
        char directory[MAX_PATH + 1] = "";
        GetTempPathA(sizeof directory, directory);
        path_ = std::string(directory) + "quillset-no-version.txt";
        const HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, "plain text", 10, &written, nullptr);
        CloseHandle(file);
    }
    ~PlainFile() { DeleteFileA(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

TEST(VersionInfoTest, ReadsLanguageCodePageAndFileVersion) {
    struct Case {
        const char* file;
        bool hasTranslation;
        const char* name;
        WORD language, codePage;
        DWORD high, low;
    };
    for (const Case& c : {
             Case{"versioned_en.dll", true, "English", 0x0409, 1252, 0x00010002, 0x00030004},
             Case{"versioned_de.dll", true, "German", 0x0407, 1252, 0x00050006, 0x00070008},
             // Language neutral: named by no language, not by the user's.
             Case{"versioned_neutral.dll", true, "", 0x0000, 1200, 0x00010000, 0},
             Case{"versioned_untranslated.dll", false, "", 0, 0, 0x00020000, 1},
         }) {
        VersionInfo info;
        ASSERT_TRUE(readVersionInfo(fixture(c.file), info)) << c.file;
        EXPECT_EQ(info.hasTranslation, c.hasTranslation) << c.file;
        EXPECT_EQ(info.languageName, c.name) << c.file;
        EXPECT_EQ(info.language, c.language) << c.file;
        EXPECT_EQ(info.codePage, c.codePage) << c.file;
        EXPECT_EQ(info.fileVersionHigh, c.high) << c.file;
        EXPECT_EQ(info.fileVersionLow, c.low) << c.file;
    }
}

TEST(ConflictDialogsTest, LanguageConflictShowsBothFilesAndReturnsTheButton) {
    const PlainFile plain;
    const std::string english = fixture("versioned_en.dll");
    struct Case {
        int button, expected;
        std::string destination;
        const char *destinationLanguage, *destinationCodePage;
    };
    for (const Case& c : {
             Case{IDC_CONFLICT_YES, 1, fixture("versioned_de.dll"), "German", "1252"},
             Case{IDC_CONFLICT_NO, 0, plain.path(), "", ""},
             Case{IDC_CONFLICT_INSTALL_ALL, 2, fixture("versioned_untranslated.dll"), "", ""},
         }) {
        DialogDriver driver({IDC_CONFLICT_DEST_FILE, IDC_CONFLICT_DEST_LANGUAGE, IDC_CONFLICT_DEST_CODEPAGE,
                             IDC_CONFLICT_SOURCE_FILE, IDC_CONFLICT_SOURCE_LANGUAGE, IDC_CONFLICT_SOURCE_CODEPAGE},
                            c.button);
        EXPECT_EQ(askLanguageConflict(GetModuleHandleA(nullptr), nullptr, english, c.destination), c.expected)
            << c.button;
        const DialogDriver::Seen seen = driver.seen();
        ASSERT_TRUE(seen.found) << c.button;
        EXPECT_EQ(seen.caption, "Different languages/codepages");
        EXPECT_TRUE(seen.openAfterCancel) << c.button;
        EXPECT_TRUE(seen.closedByClick) << c.button;
        EXPECT_EQ(seen.texts.at(IDC_CONFLICT_SOURCE_FILE), english);
        EXPECT_EQ(seen.texts.at(IDC_CONFLICT_SOURCE_LANGUAGE), "English");
        EXPECT_EQ(seen.texts.at(IDC_CONFLICT_SOURCE_CODEPAGE), "1252");
        EXPECT_EQ(seen.texts.at(IDC_CONFLICT_DEST_FILE), c.destination);
        EXPECT_EQ(seen.texts.at(IDC_CONFLICT_DEST_LANGUAGE), c.destinationLanguage) << c.destination;
        EXPECT_EQ(seen.texts.at(IDC_CONFLICT_DEST_CODEPAGE), c.destinationCodePage) << c.destination;
    }
}

TEST(ConflictDialogsTest, OverwriteShowsThePathAndReturnsTheButton) {
    const std::string path = "C:\\Program Files\\Quillset Demo\\QuillDemo.exe";
    for (const auto& c : {std::pair<int, int>{IDC_OVERWRITE_YES, 1}, {IDC_OVERWRITE_NO, 0}, {IDC_OVERWRITE_ALL, 2}}) {
        DialogDriver driver({IDC_OVERWRITE_PATH}, c.first);
        EXPECT_EQ(askOverwrite(GetModuleHandleA(nullptr), nullptr, path), c.second) << c.first;
        const DialogDriver::Seen seen = driver.seen();
        ASSERT_TRUE(seen.found) << c.first;
        EXPECT_EQ(seen.caption, "Overwrite file");
        EXPECT_EQ(seen.texts.at(IDC_OVERWRITE_PATH), path);
        EXPECT_TRUE(seen.openAfterCancel) << c.first;
        EXPECT_TRUE(seen.closedByClick) << c.first;
    }
}

TEST(ConflictDialogsTest, DialogThatCannotBeShownReturnsMinusOne) {
    // A module without the templates, and an owner that is no longer a window.
    const HMODULE fixtureModule = LoadLibraryA(fixture("versioned_en.dll").c_str());
    ASSERT_NE(fixtureModule, nullptr);
    const HWND gone = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    const std::string path = fixture("versioned_en.dll");
    EXPECT_EQ(askOverwrite(fixtureModule, nullptr, path), -1);
    EXPECT_EQ(askLanguageConflict(fixtureModule, nullptr, path, path), -1);
    EXPECT_EQ(askOverwrite(GetModuleHandleA(nullptr), gone, path), -1);
    EXPECT_EQ(askLanguageConflict(GetModuleHandleA(nullptr), gone, path, path), -1);
    FreeLibrary(fixtureModule);
}

}  // namespace
}  // namespace quillset
