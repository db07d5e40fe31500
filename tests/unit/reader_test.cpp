#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "cp1252.h"
#include "reader_case_check.h"
#include "script_reader.h"

namespace quillset {
namespace {

namespace fs = std::filesystem;

struct RecordedMessage {
    std::string caption, text;
    int count = 0;
};

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() /
                     ("quillset-reader-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                      "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    std::string writeFile(const std::string& bytes) {
        const fs::path path = directory_ / "SetupScript.ini";
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    SetupScript makeReader() {
        return SetupScript(isCp1252AlphaNumeric, [this](const std::string& caption, const std::string& text) {
            message_.caption = caption;
            message_.text = text;
            ++message_.count;
        });
    }

    fs::path directory_;
    RecordedMessage message_;
};

TEST_F(ReaderTest, FindsTheStatementsOfEveryCase) {
    for (const ReaderCase& c : readerCases()) {
        SCOPED_TRACE(c.name);
        SetupScript script = makeReader();
        ASSERT_EQ(script.read(writeFile(c.fileBytes)), 0);
        expectStatementsOf(script, c);
    }
    EXPECT_EQ(message_.count, 0);
}

TEST_F(ReaderTest, UnreadableFileShowsTheFatalMessageAndAddsNothing) {
    for (const std::string& path : {(directory_ / "missing.ini").string(), directory_.string()}) {
        SCOPED_TRACE(path);
        message_ = {};
        SetupScript script = makeReader();
        EXPECT_EQ(script.read(path), -1);
        EXPECT_EQ(script.statementCount(), 0);
        EXPECT_EQ(message_.count, 1);
        EXPECT_EQ(message_.caption, "Fatal error");
        EXPECT_EQ(message_.text,
                  "Could not open 'SetupScript.INI' in setup directory. Setup cannot be continued.");
    }
}

TEST_F(ReaderTest, RecordsTheLineOfEachCommand) {
    SetupScript script = makeReader();
    ASSERT_EQ(script.read(writeFile("A()\r\n// B()\r\n  C(\"x\r\ny\")\r\rD()\nE()")), 0);
    std::vector<std::pair<std::string, int>> lines;
    for (const ScriptStatement& s : script.statements()) lines.emplace_back(s.command, s.line);
    // A lone CR is no line end; the LF inside C's argument is.
    EXPECT_EQ(lines, (std::vector<std::pair<std::string, int>>{{"A", 1}, {"C", 3}, {"D", 4}, {"E", 5}}));
}

TEST(TextModeTest, ConvertsLineEndsAsTheRuntimeDoes) {
    EXPECT_EQ(toTextMode("a\r\nb"), "a\nb");
    EXPECT_EQ(toTextMode("a\rb\r"), "a\rb\r");
    EXPECT_EQ(toTextMode("a\r\r\nb"), "a\r\nb");
    EXPECT_EQ(toTextMode("a\x1a\r\nb"), "a");
    EXPECT_EQ(toTextMode(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp1252Test, NameCharactersAreLettersAndDigitsOnly) {
    for (unsigned char c : std::initializer_list<unsigned char>{'a', 'Z', '0', '9', 0xC0u, 0xC4u, 0xD6u, 0xD8u, 0xDFu, 0xE9u, 0xFFu, 0x8Au, 0x9Fu})
        EXPECT_TRUE(isCp1252AlphaNumeric(c)) << static_cast<int>(c);
    for (unsigned char c : std::initializer_list<unsigned char>{' ', '_', '-', '.', '(', '"', '/', ';', 0x00u, 0x80u, 0xA7u, 0xD7u, 0xF7u, 0xA0u, 0xBFu})
        EXPECT_FALSE(isCp1252AlphaNumeric(c)) << static_cast<int>(c);
}

}  // namespace
}  // namespace quillset
