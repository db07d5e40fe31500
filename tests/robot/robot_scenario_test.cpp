// The robot's portable parts: splitting scenario lines, checking steps, and the PNG encoder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "png_writer.h"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>
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

// Reads a PNG back with stb_image, an independent decoder: the pixels must come back unchanged.
std::vector<std::uint8_t> decodePng(const std::vector<std::uint8_t>& png, int& width, int& height) {
    int channels = 0;
    unsigned char* pixels =
        stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width, &height, &channels, 3);
    if (pixels == nullptr) return {};
    std::vector<std::uint8_t> rgb(pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    stbi_image_free(pixels);
    return rgb;
}

TEST(RobotPng, EveryPixelComesBack) {
    for (const auto& size : {std::pair<int, int>{1, 1}, std::pair<int, int>{2, 2}, std::pair<int, int>{200, 120}}) {
        std::vector<std::uint8_t> rgb;
        for (int i = 0; i < size.first * size.second * 3; ++i) rgb.push_back(static_cast<std::uint8_t>(i * 7 + i / 3));
        int width = 0;
        int height = 0;
        EXPECT_EQ(decodePng(encodePng(size.first, size.second, rgb), width, height), rgb) << size.first << "x" << size.second;
        EXPECT_EQ(width, size.first);
        EXPECT_EQ(height, size.second);
    }
    EXPECT_TRUE(encodePng(0, 10, {}).empty());
    EXPECT_TRUE(encodePng(4, 4, std::vector<std::uint8_t>(47)).empty());  // one byte short of 4 x 4 pixels
}

// A screen as the wizard paints it: a vertical gradient, a grey page with black text-like marks.
// Stored uncompressed it is 2.3 MB; a report holds one per page.
TEST(RobotPng, AScreenIsCompressed) {
    const int width = 1024;
    const int height = 768;
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool page = x > 200 && x < 800 && y > 200 && y < 600;
            const bool mark = page && (x / 3 + y / 7) % 5 == 0 && (y / 12) % 2 == 0;
            const std::uint8_t grey = mark ? 0 : 192;
            rgb.insert(rgb.end(), {page ? grey : std::uint8_t(0), page ? grey : std::uint8_t(0),
                                   page ? grey : static_cast<std::uint8_t>(255 - y / 3)});
        }
    const std::vector<std::uint8_t> png = encodePng(width, height, rgb);
    EXPECT_LT(png.size(), 100u * 1024u);
    int decodedWidth = 0;
    int decodedHeight = 0;
    EXPECT_EQ(decodePng(png, decodedWidth, decodedHeight), rgb);
}

}  // namespace
}  // namespace quillset::robot
