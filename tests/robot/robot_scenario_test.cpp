// The robot's portable parts: splitting scenario lines, checking steps, and the PNG encoder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "png_writer.h"
#include "resource_ids.h"
#include "scenario_parser.h"

namespace quillset::robot {
namespace {

struct SplitCase {
    const char* line;
    std::vector<std::string> words;
    const char* error;  // empty when the line splits
};

TEST(RobotScenario, SplitsWordsAndUnquotes) {
    const SplitCase cases[] = {
        {"click 1017", {"click", "1017"}, ""},
        {"  text\t1001   \"two  words\" ", {"text", "1001", "two  words"}, ""},
        {"text 1 \"\"", {"text", "1", ""}, ""},
        {"text 1 \"say \"\"hi\"\"\"", {"text", "1", "say \"hi\""}, ""},
        {"text 1 \"a\\nb\\r\"", {"text", "1", "a\nb\r"}, ""},
        {"text 1 \"C:\\Program Files\\\\new\"", {"text", "1", "C:\\Program Files\\new"}, ""},
        {"type 1 C:\\new", {"type", "1", "C:\\new"}, ""},  // unquoted words are literal
        {"window \"#32770\" #32770", {"window", "#32770", "#32770"}, ""},
        {"text 1 \"open", {}, "unterminated quote"},
        {"text 1 \"a\"b", {}, "text glued to a closing quote"},
        {"text 1 a\"b\"", {}, "quote inside an unquoted word"},
    };
    for (const SplitCase& c : cases) {
        std::vector<std::string> words;
        std::string error;
        const bool split = splitWords(c.line, words, error);
        EXPECT_EQ(split, std::strlen(c.error) == 0) << c.line;
        if (split) EXPECT_EQ(words, c.words) << c.line;
        else EXPECT_EQ(error, c.error) << c.line;
    }
}

TEST(RobotScenario, QuotedWordsReadBackUnchanged) {
    for (const std::string text : {"", "plain", "say \"hi\"", "two\nlines\r\n", "C:\\new\\\\x\\", "a\\nb", "\\\\server"}) {
        std::vector<std::string> words;
        std::string error;
        ASSERT_TRUE(splitWords("text 1 " + quoteWord(text), words, error)) << quoteWord(text);
        EXPECT_EQ(words.at(2), text) << quoteWord(text);
    }
    EXPECT_EQ(quoteWord("C:\\Program Files\\new"), "\"C:\\Program Files\\\\new\"");
}

TEST(RobotScenario, ReadsStepsWithTheirLines) {
    const Scenario scenario = parseScenario(
        "# a comment\r\n"
        "\n"
        "start Setup.exe /s \"x y\"\r\n"
        "   # an indented comment\n"
        "  window \"Welcome to Tarnwick 1.0\"  \n"
        "pixel 1 2 3 4 5\n"
        "exit -6");
    ASSERT_EQ(scenario.error, "");
    ASSERT_EQ(scenario.steps.size(), 4u);
    EXPECT_EQ(scenario.steps[0].line, 3);
    EXPECT_EQ(scenario.steps[0].name, "start");
    EXPECT_EQ(scenario.steps[0].args, (std::vector<std::string>{"Setup.exe", "/s", "x y"}));
    EXPECT_EQ(scenario.steps[1].line, 5);
    EXPECT_EQ(scenario.steps[1].source, "window \"Welcome to Tarnwick 1.0\"");
    EXPECT_EQ(scenario.steps[3].args, (std::vector<std::string>{"-6"}));
}

TEST(RobotScenario, RefusesStepsItCannotRun) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"click 1\nklick 2", "line 2: unknown step \"klick\""},
        {"start", "line 1: start takes 1 or more argument(s), not 0"},
        {"close now", "line 1: close takes 0 argument(s), not 1"},
        {"pixel 1 2 3 4", "line 1: pixel takes 5 to 6 argument(s), not 4"},
        {"pixel 1 2 3 4 5 -1", "line 1: not a value from 0 to 255: \"-1\""},
        {"pixel x 2 3 4 5", "line 1: not an integer: \"x\""},
        {"text Edit:0 \"\"", "line 1: not a control (ID, IDC_ name, Class:N or @Text): \"Edit:0\""},
        {"checked 65536", "line 1: not a control (ID, IDC_ name, Class:N or @Text): \"65536\""},
        {"start Setup.exe\nclick IDC_NEXTT", "line 2: resource_ids.h names no control or dialog template \"IDC_NEXTT\""},
        {"window * #32770 IDD_WIZARD", "line 1: resource_ids.h names no control or dialog template \"IDD_WIZARD\""},
        {"click IDD_COPY", "line 1: \"IDD_COPY\" is a dialog template, not a control (only window steps name templates)"},
        {"key enter", "line 1: unknown key: \"enter\""},
        {"message a b yes", "line 1: unknown answer: \"yes\""},
        {"timeout 1.2.3", "line 1: not a number of seconds: \"1.2.3\""},
        {"exit 99999999999", "line 1: not an integer: \"99999999999\""},
    };
    for (const auto& c : cases) EXPECT_EQ(parseScenario(c.text).error, c.error) << c.text;
}

TEST(RobotScenario, ReadsControlsNumbersAndNames) {
    ControlRef ref;
    ASSERT_TRUE(parseControlRef("1017", ref));
    EXPECT_EQ(ref.kind, ControlRef::Kind::Id);
    EXPECT_EQ(ref.id, 1017);
    ASSERT_TRUE(parseControlRef("SysListView32:2", ref));
    EXPECT_EQ(ref.kind, ControlRef::Kind::ClassIndex);
    EXPECT_EQ(ref.className, "SysListView32");
    EXPECT_EQ(ref.index, 2);
    ASSERT_TRUE(parseControlRef("@Install: all", ref));
    EXPECT_EQ(ref.kind, ControlRef::Kind::Text);
    EXPECT_EQ(ref.text, "Install: all");
    EXPECT_FALSE(parseControlRef(":3", ref));
    EXPECT_FALSE(parseControlRef("-1", ref));

    unsigned long ms = 0;
    ASSERT_TRUE(parseSeconds("0.25", ms));
    EXPECT_EQ(ms, 250u);
    ASSERT_TRUE(parseSeconds("10", ms));
    EXPECT_EQ(ms, 10000u);
    EXPECT_FALSE(parseSeconds("86401", ms));
    EXPECT_FALSE(parseSeconds(".", ms));

    int value = 0;
    ASSERT_TRUE(parseInt("-2147483648", value));
    EXPECT_EQ(value, -2147483647 - 1);
    EXPECT_FALSE(parseInt("2147483648", value));
    EXPECT_FALSE(parseInt("+1", value));
    ASSERT_TRUE(parseAnswer("NO", value));
    EXPECT_EQ(value, 7);  // IDNO
    ASSERT_TRUE(parseKey("DOWN", value));
    EXPECT_EQ(value, 0x28);  // VK_DOWN
}

// The names of resource_ids.h stand for the values Setup.exe is built with; a template stands for
// every control it holds in setup.rc, in template order, without the ID-less labels.
TEST(RobotScenario, ResolvesResourceNames) {
    const struct {
        const char* word;
        ControlRef::Kind kind;
        int id;
        std::vector<int> templateIds;
    } cases[] = {
        {"IDC_NEXT", ControlRef::Kind::Id, IDC_NEXT, {}},
        {"IDD_COPY", ControlRef::Kind::Template, 0,
         {IDC_CANCEL, IDC_COPY_SECTION_LABEL, IDC_COPY_FILE_PROGRESS, IDC_COPY_SECTION_NAME,
          IDC_COPY_SECTION_PROGRESS, IDC_COPY_FILE_NAME}},
    };
    for (const auto& c : cases) {
        ControlRef ref;
        ASSERT_TRUE(parseControlRef(c.word, ref)) << c.word;
        EXPECT_EQ(ref.kind, c.kind) << c.word;
        EXPECT_EQ(ref.id, c.id) << c.word;
        EXPECT_EQ(ref.templateIds, c.templateIds) << c.word;
    }
    const Scenario scenario = parseScenario("window \"\" #32770 IDD_COPY\nclick IDC_CANCEL");
    EXPECT_EQ(scenario.error, "");
}

// Reads back what encodePng wrote: the chunks with their CRCs, the stored deflate blocks and
// the Adler-32, giving the filtered rows. Fails the test on any inconsistency.
std::vector<std::uint8_t> decodeStoredPng(const std::vector<std::uint8_t>& png, std::uint32_t& width,
                                          std::uint32_t& height) {
    const auto be32 = [&](std::size_t at) {
        return std::uint32_t{png.at(at)} << 24 | std::uint32_t{png.at(at + 1)} << 16 |
               std::uint32_t{png.at(at + 2)} << 8 | std::uint32_t{png.at(at + 3)};
    };
    const std::vector<std::uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
    std::vector<std::uint8_t> zlib;
    std::vector<std::string> types;
    for (std::size_t at = 8; at < png.size();) {
        const std::uint32_t length = be32(at);
        const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        EXPECT_EQ(crc32(png.data() + at + 4, length + 4), be32(at + 8 + length)) << type;
        if (type == "IHDR") {
            width = be32(at + 8);
            height = be32(at + 12);
            EXPECT_EQ(png.at(at + 16), 8);  // bit depth
            EXPECT_EQ(png.at(at + 17), 2);  // RGB
        }
        if (type == "IDAT") zlib.insert(zlib.end(), png.begin() + static_cast<std::ptrdiff_t>(at + 8),
                                        png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
        types.push_back(type);
        at += 12 + length;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ((zlib.at(0) * 256 + zlib.at(1)) % 31, 0);  // the zlib header's check bits
    std::vector<std::uint8_t> raw;
    std::size_t at = 2;
    bool last = false;
    while (!last) {
        last = (zlib.at(at) & 1) != 0;
        EXPECT_EQ(zlib.at(at) & 6, 0);  // stored block
        const unsigned length = zlib.at(at + 1) | zlib.at(at + 2) << 8;
        EXPECT_EQ(length ^ 0xFFFFu, unsigned(zlib.at(at + 3) | zlib.at(at + 4) << 8));
        raw.insert(raw.end(), zlib.begin() + static_cast<std::ptrdiff_t>(at + 5),
                   zlib.begin() + static_cast<std::ptrdiff_t>(at + 5 + length));
        at += 5 + length;
    }
    const std::uint32_t adler = std::uint32_t{zlib.at(at)} << 24 | std::uint32_t{zlib.at(at + 1)} << 16 |
                                std::uint32_t{zlib.at(at + 2)} << 8 | zlib.at(at + 3);
    EXPECT_EQ(adler, adler32(raw.data(), raw.size()));
    EXPECT_EQ(at + 4, zlib.size());
    return raw;
}

TEST(RobotPng, ChecksumsMatchTheirStandards) {
    const std::string digits = "123456789";
    EXPECT_EQ(crc32(reinterpret_cast<const std::uint8_t*>(digits.data()), digits.size()), 0xCBF43926u);
    const std::string word = "Wikipedia";
    EXPECT_EQ(adler32(reinterpret_cast<const std::uint8_t*>(word.data()), word.size()), 0x11E60398u);
    const std::uint8_t iend[] = {'I', 'E', 'N', 'D'};
    EXPECT_EQ(crc32(iend, 4), 0xAE426082u);
}

TEST(RobotPng, StoresEveryPixelRowByRow) {
    // 2 x 2 fits one block; 200 x 120 (72,120 bytes of rows) needs two.
    for (const auto& size : {std::pair<int, int>{2, 2}, std::pair<int, int>{200, 120}}) {
        const int w = size.first;
        const int h = size.second;
        std::vector<std::uint8_t> rgb;
        for (int i = 0; i < w * h * 3; ++i) rgb.push_back(static_cast<std::uint8_t>(i * 7 + i / 3));
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        const std::vector<std::uint8_t> raw = decodeStoredPng(encodePng(w, h, rgb), width, height);
        EXPECT_EQ(width, static_cast<std::uint32_t>(w));
        EXPECT_EQ(height, static_cast<std::uint32_t>(h));
        std::vector<std::uint8_t> expected;
        for (int y = 0; y < h; ++y) {
            expected.push_back(0);  // filter: none
            expected.insert(expected.end(), rgb.begin() + y * w * 3, rgb.begin() + (y + 1) * w * 3);
        }
        EXPECT_EQ(raw, expected) << w << "x" << h;
    }
}

}  // namespace
}  // namespace quillset::robot
