#include <gtest/gtest.h>

#include "cp1252.h"
#include "process_names.h"
#include "script_number.h"

namespace quillset {
namespace {

TEST(ProcessNamesTest, RecordsBareLowerCaseNamesAndFindsThem) {
    SetupState state(isCp1252AlphaNumeric, nullptr);
    recordProcessName(state, "C:\\WINDOWS\\SYSTEM32\\NOTEPAD.EXE");
    recordProcessName(state, "");
    recordProcessName(state, nullptr);
    recordProcessName(state, "KRNL386.EXE");
    EXPECT_EQ(state.runningProcessNames,
              (std::vector<std::string>{"notepad.exe", "", "", "krnl386.exe"}));
    std::string name = "NOTEPAD.EXE";
    EXPECT_TRUE(isRecordedProcess(state, name));
    EXPECT_EQ(name, "notepad.exe");
    for (std::string missing : {"notepad", "C:\\WINDOWS\\SYSTEM32\\notepad.exe", "krnl386"})
        EXPECT_FALSE(isRecordedProcess(state, missing)) << missing;
    std::string empty;
    EXPECT_TRUE(isRecordedProcess(state, empty));  // an unreadable process has an empty name
}

TEST(ProcessNamesTest, AProcessPastFiveHundredTwelveIsStillFound) {
    SetupState state(isCp1252AlphaNumeric, nullptr);
    for (int i = 0; i < 600; ++i) recordProcessName(state, ("C:\\p\\proc" + std::to_string(i) + ".exe").c_str());
    std::string last = "PROC599.EXE";
    EXPECT_TRUE(isRecordedProcess(state, last));
    EXPECT_EQ(state.runningProcessNames.size(), 600u);
    clearProcessNames(state);
    EXPECT_FALSE(isRecordedProcess(state, last));
}

TEST(ScriptNumberTest, ConvertsAsAtoi) {
    const std::pair<const char*, int> cases[] = {
        {"65", 65},         {" \t-12", -12},     {"+7x", 7},          {"x7", 0},
        {"", 0},            {"- 5", 0},          {"0012", 12},        {"3.9", 3},
        {"2147483647", 2147483647},              {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1},        {"-99999999999999999999", -2147483647 - 1},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(scriptNumber(text), value) << text;
}

}  // namespace
}  // namespace quillset
