#include <gtest/gtest.h>

#include "cp1252.h"
#include "json_output.h"

namespace quillset {
namespace {

TEST(JsonOutputTest, EscapesAndConvertsToUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "\"plain\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"C:\\Program Files\\", "\"C:\\\\Program Files\\\\\""},
        {"a\nb\rc\td", "\"a\\nb\\rc\\td\""},
        {std::string("\0\x01\x1f\x7f", 4), "\"\\u0000\\u0001\\u001f\\u007f\""},
        {"\xE9t\xE9", "\"\xC3\xA9t\xC3\xA9\""},         // é
        {"\x80", "\"\xE2\x82\xAC\""},                  // euro sign
        {"\x81\x9D", "\"\\u0081\\u009d\""},             // unassigned bytes read as C1 controls
        {"\xA0\xFF", "\"\xC2\xA0\xC3\xBF\""},
        {"/", "\"/\""},
    };
    for (const auto& [text, json] : cases) EXPECT_EQ(jsonString(text), json) << json;
}

// Names the native file system gives in UTF-8 are held in code page 1252 and come out as they were;
// what code page 1252 lacks, or what is no UTF-8, is '?'.
TEST(JsonOutputTest, Utf8NamesReadIntoCodePage1252ComeOutAsTheyWere) {
    const std::pair<std::string, std::string> cases[] = {
        {"Caf\xC3\xA9.txt", "\"Caf\xC3\xA9.txt\""},            // é
        {"\xE2\x82\xAC\xC5\xA0", "\"\xE2\x82\xAC\xC5\xA0\""},      // euro sign, S caron (bytes 0x80, 0x8A)
        {"\xC5\x81\xC3\xB3" "d\xC5\xBA", "\"?\xC3\xB3" "d?\""},      // L stroke, o acute, d, z acute
        {"a\xE9" "b\xC3", "\"a?b?\""},                              // code page 1252 bytes, a cut sequence
    };
    for (const auto& [name, json] : cases) EXPECT_EQ(jsonString(utf8ToCp1252(name)), json) << json;
}

TEST(JsonOutputTest, StatementLine) {
    EXPECT_EQ(statementJson(ScriptStatement{"AddFile", {"[SP]\\*.*", ""}, 12}),
              "{\"line\":12,\"command\":\"AddFile\",\"arguments\":[\"[SP]\\\\*.*\",\"\"]}");
    EXPECT_EQ(statementJson(ScriptStatement{"ShowWelcome", {}, 1}),
              "{\"line\":1,\"command\":\"ShowWelcome\",\"arguments\":[]}");
}

}  // namespace
}  // namespace quillset
