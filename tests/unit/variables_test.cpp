#include <gtest/gtest.h>

#include "variables.h"

namespace quillset {
namespace {

struct SubstitutionCase {
    const char* text;
    std::vector<std::pair<std::string, std::string>> variables;
    const char* expected;
};

TEST(SubstituteVariablesTest, ReplacesReferences) {
    const SubstitutionCase cases[] = {
        {"[APPNAME] Setup", {{"APPNAME", "Demo"}}, "Demo Setup"},
        {"[NOSUCH]x", {}, "x"},
        {"a[]b", {}, "ab"},
        {"a]b[c]", {{"c", "1"}}, "a]b1"},
        {"[open", {}, "[open"},
        {"x[A]y[", {{"A", "1"}}, "x1y["},
        {"[A[B]", {{"A[B", "v"}, {"B", "no"}}, "v"},
        {"[appname]|[APPNAME]", {{"APPNAME", "Demo"}, {"appname", "low"}}, "low|Demo"},
        {"[DP]x", {{"A", "1"}, {"DP", "C:\\[A]\\"}}, "C:\\1\\x"},
        {"[L]X]", {{"L", "["}, {"X", "joined"}}, "joined"},
        {"[L][R]", {{"L", "["}, {"[R", "ok"}}, "ok"},
        {"[A B]!", {{"A B", "blank names work"}}, "blank names work!"},
    };
    for (const SubstitutionCase& c : cases) {
        SCOPED_TRACE(c.text);
        VariableTable table;
        for (const auto& [name, value] : c.variables) table.set(name, value);
        std::string text = c.text;
        table.substituteVariables(text);
        EXPECT_EQ(text, c.expected);
    }
}

TEST(SubstituteVariablesTest, ReadingAVariableCreatesIt) {
    VariableTable table;
    table.set("A", "1");
    std::string text = "[NOSUCH]x[]";
    table.substituteVariables(text);
    EXPECT_EQ(table.size(), 3u);  // A, NOSUCH and the empty name
}

TEST(SubstituteVariablesTest, SelfReferenceEndsWithEveryReplacementKept) {
    VariableTable table;
    table.set("DP", "x[DP]");
    std::string text = "[DP]y";
    table.substituteVariables(text);
    // Each replacement added one "x"; the reference left at the bound is still whole.
    EXPECT_EQ(text, std::string(VariableTable::kMaxReplacements, 'x') + "[DP]y");
}

TEST(SubstituteVariablesTest, GrowingSelfReferenceStopsAtTheLengthBound) {
    VariableTable table;
    table.set("A", std::string(5000, 'a') + "[B]");
    table.set("B", "[A]");
    std::string text = "<[A]>";
    table.substituteVariables(text);
    EXPECT_LE(text.size(), VariableTable::kMaxSubstitutedLength);
    EXPECT_GT(text.size(), VariableTable::kMaxSubstitutedLength - 5010);
    // Every replacement made is kept, and the reference left at the bound is still whole.
    const std::string tail = text.substr(text.size() - 4);
    EXPECT_TRUE(tail == "[A]>" || tail == "[B]>") << tail;
    EXPECT_EQ(text.find_first_not_of('a', 1), text.size() - 4);
}

// A few kilobytes of script that double a value and copy it again and again must not fill memory.
TEST(VariableTableTest, NamesAndValuesStayWithinTheTotalLimit) {
    VariableTable table;
    const std::string mebibyte(1u << 20, 'x');
    int made = 0;
    for (int i = 0; i < 40; ++i) made += table.set("V" + std::to_string(i), mebibyte);
    EXPECT_EQ(made, 15);  // 15 MiB and some names fit below 16 MiB
    EXPECT_LE(table.totalSize(), VariableTable::kMaxTotalSize);

    // Past the limit an assignment leaves the old value, and an unknown name is no longer added.
    EXPECT_FALSE(table.set("V0", mebibyte + mebibyte));
    EXPECT_EQ(table["V0"].size(), mebibyte.size());
    const std::size_t count = table.size();
    EXPECT_EQ(table[std::string(2u << 20, 'n')], "");
    EXPECT_EQ(table.size(), count);

    // A value made shorter frees its room again.
    EXPECT_TRUE(table.set("V1", ""));
    EXPECT_TRUE(table.set("V15", mebibyte));
}

}  // namespace
}  // namespace quillset
