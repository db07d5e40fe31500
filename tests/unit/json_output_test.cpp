#include <gtest/gtest.h>

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

TEST(JsonOutputTest, StatementLine) {
    EXPECT_EQ(statementJson(ScriptStatement{"AddFile", {"[SP]\\*.*", ""}, 12}),
              "{\"line\":12,\"command\":\"AddFile\",\"arguments\":[\"[SP]\\\\*.*\",\"\"]}");
    EXPECT_EQ(statementJson(ScriptStatement{"ShowWelcome", {}, 1}),
              "{\"line\":1,\"command\":\"ShowWelcome\",\"arguments\":[]}");
}

}  // namespace
}  // namespace quillset
