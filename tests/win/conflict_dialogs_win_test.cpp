// The version reader against version resources of our own fixtures, and the file conflict dialogs
// shown for real and answered by a driver thread (the overwrite question: by the end-to-end tests).
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "conflict_dialogs.h"
#include "dialog_driver.h"
#include "resource_ids.h"
#include "version_info.h"
#include "win_test_files.h"

namespace quillset {
namespace {

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
        ASSERT_TRUE(readVersionInfo(besideProgram(c.file), info)) << c.file;
        EXPECT_EQ(info.hasTranslation, c.hasTranslation) << c.file;
        EXPECT_EQ(info.languageName, c.name) << c.file;
        EXPECT_EQ(info.language, c.language) << c.file;
        EXPECT_EQ(info.codePage, c.codePage) << c.file;
        EXPECT_EQ(info.fileVersionHigh, c.high) << c.file;
        EXPECT_EQ(info.fileVersionLow, c.low) << c.file;
    }
}

TEST(ConflictDialogsTest, LanguageConflictShowsBothFilesAndReturnsTheButton) {
    const std::string english = besideProgram("versioned_en.dll");
    struct Case {
        int button;
        ConflictAnswer expected;
        std::string destination;
        const char *destinationLanguage, *destinationCodePage;
    };
    for (const Case& c : {
             Case{IDC_CONFLICT_YES, ConflictAnswer::yes, besideProgram("versioned_de.dll"), "German", "1252"},
             Case{IDC_CONFLICT_NO, ConflictAnswer::no, unversionedFile(), "", ""},
             Case{IDC_CONFLICT_INSTALL_ALL, ConflictAnswer::all, besideProgram("versioned_untranslated.dll"), "", ""},
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
        EXPECT_EQ(seen.texts, (std::map<int, std::string>{{IDC_CONFLICT_SOURCE_FILE, english},
                                                          {IDC_CONFLICT_SOURCE_LANGUAGE, "English"},
                                                          {IDC_CONFLICT_SOURCE_CODEPAGE, "1252"},
                                                          {IDC_CONFLICT_DEST_FILE, c.destination},
                                                          {IDC_CONFLICT_DEST_LANGUAGE, c.destinationLanguage},
                                                          {IDC_CONFLICT_DEST_CODEPAGE, c.destinationCodePage}}));
    }
}

TEST(ConflictDialogsTest, DialogThatCannotBeShownAnswersNotShown) {
    // A module without the templates, and an owner that is no longer a window.
    const HMODULE fixtureModule = LoadLibraryA(besideProgram("versioned_en.dll").c_str());
    ASSERT_NE(fixtureModule, nullptr);
    const HWND gone = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    const std::string path = besideProgram("versioned_en.dll");
    EXPECT_EQ(askOverwrite(fixtureModule, nullptr, path), ConflictAnswer::notShown);
    EXPECT_EQ(askLanguageConflict(fixtureModule, nullptr, path, path), ConflictAnswer::notShown);
    EXPECT_EQ(askOverwrite(GetModuleHandleA(nullptr), gone, path), ConflictAnswer::notShown);
    EXPECT_EQ(askLanguageConflict(GetModuleHandleA(nullptr), gone, path, path), ConflictAnswer::notShown);
    FreeLibrary(fixtureModule);
}

}  // namespace
}  // namespace quillset
