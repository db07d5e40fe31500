#include <gtest/gtest.h>


#include "variables.h"

namespace quillset {
namespace {

// True when `text` is `prefix`, then one or more `fill` characters, then one of `tails`.
bool isFilledUpTo(const std::string& text, const std::string& prefix, char fill,
                  std::initializer_list<std::string> tails) {
    if (text.compare(0, prefix.size(), prefix) != 0) return false;
    const std::size_t end = text.find_first_not_of(fill, prefix.size());
    if (end == std::string::npos || end == prefix.size()) return false;
    for (const std::string& tail : tails)
        if (text.compare(end, std::string::npos, tail) == 0) return true;
    return false;
}

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
        {"no references", {}, "no references"},
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
    EXPECT_EQ(table.entries().count("NOSUCH"), 1u);
}

TEST(SubstituteVariablesTest, SelfReferenceEndsWithEveryReplacementKept) {
    VariableTable table;
    table.set("DP", "x[DP]");
    std::string text = "[DP]y";
    table.substituteVariables(text);
    // Each replacement added one "x"; the reference left at the bound is still whole.
    EXPECT_TRUE(isFilledUpTo(text, "", 'x', {"[DP]y"})) << text.substr(0, 40);
    EXPECT_EQ(text.size(), std::size_t{VariableTable::kMaxReplacements} + 5);
}

TEST(SubstituteVariablesTest, GrowingSelfReferenceStopsAtTheLengthBound) {
    VariableTable table;
    table.set("A", std::string(5000, 'a') + "[B]");
    table.set("B", "[A]");
    std::string text = "<[A]>";
    table.substituteVariables(text);
    EXPECT_LE(text.size(), VariableTable::kMaxSubstitutedLength);
    EXPECT_GT(text.size(), VariableTable::kMaxSubstitutedLength - 5010);
    EXPECT_TRUE(isFilledUpTo(text, "<", 'a', {"[A]>", "[B]>"})) << text.substr(0, 40);
}

TEST(SubstituteVariablesTest, ManyPlainReferencesAreAllReplaced) {
    VariableTable table;
    table.set("A", "1");
    std::string text;
    for (int i = 0; i < 5000; ++i) text += "[A]";
    table.substituteVariables(text);
    EXPECT_EQ(text, std::string(5000, '1'));
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
