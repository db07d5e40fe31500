// The reader under Windows: the platform's own name-character rule, and files that cannot be read
// through the Windows C runtime.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "cp1252.h"
#include "script_reader.h"
#include "windows_name_character.h"

namespace quillset {
namespace {

TEST(WindowsReaderTest, CodePageTableAgreesWithIsCharAlphaNumeric) {
    ASSERT_EQ(GetACP(), 1252u) << "the Wine prefix must use the Western code page";
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(isCp1252AlphaNumeric(static_cast<unsigned char>(c)), isWindowsNameCharacter(static_cast<unsigned char>(c)))
            << "byte 0x" << std::hex << c;
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
