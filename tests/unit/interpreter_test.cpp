#include <gtest/gtest.h>

#include <map>

#include "builtin_variables.h"
#include "cp1252.h"
#include "interpreter.h"
#include "recording_host.h"
#include "script_number.h"

namespace quillset {
namespace {

// A directory listing per search pattern, in the order the search returns it.
using Listing = std::map<std::string, std::vector<FoundFile>>;

struct ScriptRun {
    SetupScript script{isCp1252AlphaNumeric, nullptr};
    SetupState state;
    RecordingHost host;
    RunResult result{RunOutcome::runCompleted, SetupExitCode::normal};

    explicit ScriptRun(const std::string& text, Listing listing = {})
        : host([listing](const std::string& pattern) {
              const auto found = listing.find(pattern);
              return found == listing.end() ? std::vector<FoundFile>{} : found->second;
          }) {
        setSetupPaths(state, "D:\\Setup", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32");
        setProgramFilesDir(state, "C:\\Program Files");
        script.tokenize(text);
    }
    ScriptRun& go() {
        result = runStatements(script, state, host);
        return *this;
    }
    std::string var(const std::string& name) { return state.variables[name]; }
    std::vector<std::string> pages() const {
        std::vector<std::string> names;
        for (const HostEvent& e : host.events)
            if (e.kind == HostEvent::Kind::page) names.push_back(e.page);
        return names;
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const HostEvent& e : host.events)
            if (e.kind == HostEvent::Kind::message) texts.push_back(e.caption + "|" + e.text);
        return texts;
    }
};

const std::string kSyntaxError = std::string("Fatal error|") + kSyntaxErrorText;

TEST(InterpreterTest, VariablesFromStatements) {
    struct Case {
        const char* script;
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"SetVariable(\"DP\",\"D:\\Apps\\\");SetAppName(\"Demo\")", "DP", "C:\\Program Files\\Demo\\"},
        {"SetAppName(\"Demo\");SetVariable(\"DP\",\"D:\\Apps\\\")", "DP", "D:\\Apps\\"},
        {"SetAppName(\"Demo\");SetVariable(\"[APPNAME]X\",\"1\")", "DemoX", "1"},
        {"SetVariable(\"A\",\"1\");SetVariable(\"B\",\"[A]\");SetVariable(\"A\",\"2\")", "B", "1"},
        {"setappname(\"Demo\")", "APPNAME", ""},
        {"SetDeveloperName(\"[SP] people\")", "DEVELOPERNAME", "D:\\Setup people"},
        {"SetWelcomeString(\"Hi [WELCOMESTRING_CAP]\",\"T\")", "WELCOMESTRING", "Hi "},  // substituted before set
        {"SetWelcomeString2(\"[APPNAME]!\")", "WELCOMESTRING2", "!"},
        {"SetAppName(\"Demo\");SetCaption(\"[APPNAME] Setup\")", "CAPTION", "Demo Setup"},
        {"SetAppName(\"[SP]\")", "DP", "C:\\Program Files\\D:\\Setup\\"},
    };
    for (const Case& c : cases) {
        ScriptRun run(c.script);
        run.go();
        EXPECT_EQ(run.result.outcome, RunOutcome::runCompleted) << c.script;
        EXPECT_EQ(run.var(c.name), c.expected) << c.script;
    }
}

// An application installed before is upgraded where its entry in the list of programs says it
// lives, while that folder still holds its log; a script that sets DP afterwards still decides.
TEST(InterpreterTest, SetAppNameStartsAtTheEarlierInstallation) {
    const UninstallEntry moved{true, "", "\"D:\\Apps\\Demo\\QSUninstall.exe\""};
    const struct {
        const char* script;
        UninstallEntry entry;
        bool logThere;
        const char* dp;
    } cases[] = {
        {"SetAppName(\"Demo\")", moved, true, "D:\\Apps\\Demo\\"},
        {"SetAppName(\"Demo\")", moved, false, "C:\\Program Files\\Demo\\"},
        {"SetAppName(\"Demo\")", UninstallEntry{}, true, "C:\\Program Files\\Demo\\"},
        {"SetAppName(\"Demo\");SetVariable(\"DP\",\"E:\\Mine\\\")", moved, true, "E:\\Mine\\"},
    };
    for (const auto& c : cases) {
        Listing listing;
        if (c.logThere) listing["D:\\Apps\\Demo\\Uninstall.log"] = {FoundFile("Uninstall.log", false)};
        ScriptRun run(c.script, listing);
        run.host.addUninstallEntry("Demo", c.entry);
        run.go();
        EXPECT_EQ(run.var("DP"), c.dp) << c.script << " log there: " << c.logThere;
    }
}

TEST(InterpreterTest, WrongArgumentCountStopsWithTheSyntaxError) {
    for (const char* script : {"ShowWelcome(\"x\")", "SetAppName()", "SetCaptionSize(65)",
                               "AddFile(\"a\",\"b\")", "SetVariable(\"A\",\"B\",\"C\")"}) {
        ScriptRun run(std::string("SetVariable(\"A\",\"1\");") + script + ";SetVariable(\"B\",\"2\");ShowWelcome()");
        run.go();
        EXPECT_EQ(run.result.outcome, RunOutcome::stopped) << script;
        EXPECT_EQ(run.result.exitCode, SetupExitCode::syntaxError) << script;
        EXPECT_EQ(run.messages(), std::vector<std::string>{kSyntaxError}) << script;
        EXPECT_EQ(run.host.events.back().icon, MessageIcon::Error);
        EXPECT_EQ(run.var("A"), "1");  // what ran before stays
        EXPECT_EQ(run.var("B"), "");   // nothing after runs
        EXPECT_TRUE(run.pages().empty());
    }
}

TEST(InterpreterTest, UnknownCommandsAreSkipped) {
    ScriptRun run("Foo(\"x\");ShowWelcomeShowDest();setappname(\"x\");ShowWelcome()");
    run.go();
    EXPECT_EQ(run.result.outcome, RunOutcome::runCompleted);
    EXPECT_EQ(run.pages(), std::vector<std::string>{"DIALOG_WELCOME"});
    EXPECT_TRUE(run.messages().empty());
}

// Pages in script order, as a user walks them: the end-to-end tests. A page that does not end
// with Next ends the run; a copy page whose run stopped gives the program its exit code.
TEST(InterpreterTest, APageThatDoesNotEndWithNextEndsTheRun) {
    struct Case {
        int pageResult;
        SetupExitCode exitCode;
    };
    for (const Case& c : {Case{PageResult::cancelled, SetupExitCode::normal},
                          Case{PageResult::notShown, SetupExitCode::normal},
                          Case{PageResult::installationStopped, SetupExitCode::installationStopped}}) {
        SCOPED_TRACE(c.pageResult);
        ScriptRun ended("ShowDest();ShowCopy();SetVariable(\"A\",\"1\");ShowProgramGroup()");
        ended.host.setPageResult(Page::Copy, c.pageResult);
        ended.go();
        EXPECT_EQ(ended.result.outcome, RunOutcome::runEndedByPage);
        EXPECT_EQ(ended.result.exitCode, c.exitCode);
        EXPECT_EQ(ended.pages(), (std::vector<std::string>{"DIALOG_DEST", "DIALOG_COPY"}));
        EXPECT_EQ(ended.host.quitCodes, std::vector<int>{9});
        EXPECT_EQ(ended.var("A"), "");
    }
}

TEST(InterpreterTest, ShowMessageNowOrStored) {
    ScriptRun run("SetAppName(\"Demo\");ShowMessage(\"Hello [APPNAME]\",\"T\",\"\",\"NOW\");"
            "ShowMessage(\"Later [APPNAME]\",\"[APPNAME]\",\"[APPNAME]box\",\"now\");"
            "ShowMessage(\"x\",\"y\",\"btn\",\"COMMAND\")");
    run.go();
    EXPECT_EQ(run.messages(), std::vector<std::string>{"T|Hello Demo"});
    EXPECT_EQ(run.host.events.back().icon, MessageIcon::None);
    ASSERT_EQ(run.state.storedStatements.size(), 2u);
    EXPECT_EQ(storedArguments(run.state.storedStatements[0]),
              (std::vector<std::string>{"Later Demo", "Demo", "[APPNAME]box", "now"}));
    // Only the exact word COMMAND makes a button action.
    EXPECT_EQ(std::get<StoredMessage>(run.state.storedStatements[0]).trigger, MessageTrigger::never);
    EXPECT_EQ(std::get<StoredMessage>(run.state.storedStatements[1]).trigger, MessageTrigger::controlAction);
}

TEST(InterpreterTest, DeclaredRecordsKeepTheirTextsAsWritten) {
    ScriptRun run("SetAppName(\"Demo\");CreateSection(\"Main\",\"1\",\"7\",\"[APPNAME] files\");"
            "AddWindow(\"DIALOG_PROGRAMGROUP\",\"icons\",\"CHECKBOX\",\"Icons for [APPNAME]\",\"5\",\"10\",\"20\",\"110\",\"35\");"
            "SetNextDynamicState(\"DIALOG_DEST\",\"VARIABLE\",\"[X]\",\"=\",\"1\");CheckButton(\"icons\")");
    run.go();
    ASSERT_EQ(run.state.sections.size(), 1u);
    EXPECT_EQ(run.state.sections[0].description, "[APPNAME] files");
    ASSERT_EQ(run.state.controls.size(), 1u);
    EXPECT_EQ(run.state.controls[0].text, "Icons for Demo");
    ASSERT_EQ(run.state.storedStatements.size(), 2u);
    EXPECT_EQ(storedArguments(run.state.storedStatements[0])[2], "[X]");
    EXPECT_STREQ(storedCommand(run.state.storedStatements[1]), "CheckButton");
}

TEST(InterpreterTest, AddFileExpandsThePattern) {
    const Listing listing = {
        {"D:\\Setup\\Data\\*.*",
         {{".", true}, {"..", true}, {"a.txt", false}, {"sub", true}, {".hidden", false}, {"b.dll", false}}},
        {"single.txt", {{"single.txt", false}}},
    };
    // The destination gets the found name only when it ends in a backslash.
    const std::pair<std::string, std::string> cases[] = {
        {"[DP]\\", "[DP]\\b.dll"}, {"[DP]", "[DP]"}, {"[DP]readme.txt", "[DP]readme.txt"}, {"", ""}};
    for (const auto& [destination, second] : cases) {
        ScriptRun run("AddFile(\"[SP]\\Data\\*.*\",\"" + destination +
                          "\",\"Main\",\"1\",\"65537\",\"0\",\"2\",\"0\",\"1\",\"Short [APPNAME]\")",
                      listing);
        run.go();
        ASSERT_EQ(run.state.files.size(), 2u) << destination;
        EXPECT_EQ(run.state.files[0].sourcePath, "D:\\Setup\\Data\\a.txt");
        EXPECT_EQ(run.state.files[1].sourcePath, "D:\\Setup\\Data\\b.dll");
        EXPECT_EQ(run.state.files[1].destinationPath, second);
        EXPECT_EQ(run.state.files[1].diskNumber, 1);  // low 16 bits of 65537
        EXPECT_EQ(run.state.files[1].shortcutName, "Short [APPNAME]");  // not substituted
    }
    ScriptRun single("AddFile(\"single.txt\",\"[DP]\\\",\"Main\",\"0\",\"-1\",\"0\",\"0\",\"0\",\"0\",\"\");"
               "AddFile(\"[SP]\\nothing\\*.*\",\"[DP]\\\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\")",
               listing);
    single.go();
    ASSERT_EQ(single.state.files.size(), 1u);
    EXPECT_EQ(single.state.files[0].sourcePath, "single.txt");  // no directory part
    EXPECT_EQ(single.state.files[0].diskNumber, -1);
    EXPECT_EQ(single.host.searchedPatterns,
              (std::vector<std::string>{"single.txt", "D:\\Setup\\nothing\\*.*"}));
    EXPECT_TRUE(single.messages().empty());
}

// A listing of the whole folder tells the files' short names; one that two entries share, or a
// listing of only some files, leaves the question to the installation.
TEST(InterpreterTest, AddFileKeepsTheShortNamesTheListingTells) {
    const std::vector<FoundFile> folder = {{".", true, ""},
                                           {"readme.txt", false, ""},
                                           {"LongFileName.text", false, "LONGF~AB.TEX"},
                                           {"file-00118.dat", false, "FILE~IHD.DAT"},
                                           {"Subfolder-01002", true, "FILE~IHD.DAT"}};
    const Listing listing = {{"D:\\Setup\\Data\\*.*", folder}, {"D:\\Setup\\Data\\*.t*", {folder[1], folder[2]}}};
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"*.*", {"readme.txt", "LONGF~AB.TEX", ""}},
        {"*.t*", {"", ""}},
    };
    for (const auto& [pattern, shortNames] : cases) {
        ScriptRun run(std::string("AddFile(\"[SP]\\Data\\") + pattern + "\",\"[DP]\\\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\")",
                      listing);
        run.go();
        std::vector<std::string> kept;
        for (const InstallFileEntry& entry : run.state.files) kept.push_back(entry.sourceShortName);
        EXPECT_EQ(kept, shortNames) << pattern;
    }
}

TEST(InterpreterTest, ForbidProcess) {
    struct Case {
        const char* name;
        bool found;
        const char* shown;
    };
    const Case cases[] = {
        {"NOTEPAD.EXE", true, "notepad.exe"},
        {"notepad", false, ""},
        {"C:\\WINDOWS\\notepad.exe", false, ""},
        {"\xC4PP.EXE", true, "\xC4pp.exe"},  // only A-Z are lowered
    };
    for (const Case& c : cases) {
        ScriptRun run(std::string("ForbidProcess(\"") + c.name + "\");ShowWelcome()");
        run.host.addRunningProcess("C:\\WINDOWS\\system32\\NOTEPAD.EXE");
        run.host.addRunningProcess("\xC4pp.exe");
        run.go();
        if (c.found) {
            EXPECT_EQ(run.result.outcome, RunOutcome::stopped) << c.name;
            EXPECT_EQ(run.result.exitCode, SetupExitCode::forbiddenProcess);
            EXPECT_EQ(run.messages(), std::vector<std::string>{"Error|This setup demands that " + std::string(c.shown) +
                                                               " does not run. Please close it and try again."});
            EXPECT_TRUE(run.pages().empty());
        } else {
            EXPECT_EQ(run.result.outcome, RunOutcome::runCompleted) << c.name;
            EXPECT_TRUE(run.messages().empty());
        }
    }
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
