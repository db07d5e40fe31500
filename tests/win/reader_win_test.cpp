// The reader under Windows: the same cases as the native tests, with the platform's own
// name-character rule, read from real files through the Windows C runtime.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cp1252.h"
#include "reader_case_check.h"
#include "script_reader.h"
#include "windows_name_character.h"

namespace quillset {
namespace {


std::string temporaryScriptPath() {
    char directory[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof directory, directory);
    EXPECT_GT(length, 0u);
    return std::string(directory) + "quillset-reader-" + std::to_string(GetCurrentProcessId()) + ".ini";
}

TEST(WindowsReaderTest, CodePageTableAgreesWithIsCharAlphaNumeric) {
    ASSERT_EQ(GetACP(), 1252u) << "the Wine prefix must use the Western code page";
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(isCp1252AlphaNumeric(static_cast<unsigned char>(c)), isWindowsNameCharacter(static_cast<unsigned char>(c)))
            << "byte 0x" << std::hex << c;
}

TEST(WindowsReaderTest, FindsTheStatementsOfEveryCase) {
    const std::string path = temporaryScriptPath();
    for (const ReaderCase& c : readerCases()) {
        SCOPED_TRACE(c.name);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(c.fileBytes.data(), 1, c.fileBytes.size(), file);
        std::fclose(file);

        int messages = 0;
        SetupScript script(isWindowsNameCharacter, [&](const std::string&, const std::string&) { ++messages; });
        ASSERT_EQ(script.read(path), 0);
        EXPECT_EQ(messages, 0);
        expectStatementsOf(script, c);
    }
    DeleteFileA(path.c_str());
}

TEST(WindowsReaderTest, UnopenableFileIsReported) {
    char directory[MAX_PATH + 1];
    GetTempPathA(sizeof directory, directory);
    for (const std::string& path : {std::string(directory) + "no-such-script.ini", std::string(directory)}) {
        std::string caption;
        SetupScript script(isWindowsNameCharacter, [&](const std::string& c, const std::string&) { caption = c; });
        EXPECT_EQ(script.read(path), -1) << path;
        EXPECT_EQ(caption, "Fatal error");
    }
}

}  // namespace
}  // namespace quillset
