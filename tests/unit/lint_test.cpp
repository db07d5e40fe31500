#include <gtest/gtest.h>

#include "close_match.h"
#include "cp1252.h"
#include "lint.h"

namespace quillset {
namespace {

// Each check: a script that triggers it (with the place of the finding) and one that must give no
// finding at all. Files are found for every pattern but those naming "missing"; those naming
// "foreign" find a name that the file search shows with '?' for what code page 1252 lacks.
struct LintCase {
    std::string check, trigger;
    int line, column;
    std::string clean;
    std::string before = "";  // declarations put on a line before both scripts
};

const char* const kBox = "AddWindow(\"DIALOG_WELCOME\",\"box\",\"CHECKBOX\",\"x\",\"0\",\"1\",\"2\",\"3\",\"4\");";
const std::string kSection = "CreateSection(\"Main\",\"1\",\"0\",\"d\");";
std::string addFile(const char* pattern, const char* section = "Main", const char* shortcut = "0", const char* name = "") {
    return std::string("AddFile(\"") + pattern + "\",\"[DP]\\\",\"" + section + "\",\"0\",\"1\",\"0\",\"0\",\"0\",\"" +
           shortcut + "\",\"" + name + "\");";
}

// An AddFile with the shared flag; the dry run finds a file whose header says x86_64 under a
// path naming "x64", i386 under the others (Setup.exe too).
std::string sharedFile(const char* pattern) {
    return std::string("AddFile(\"") + pattern + "\",\"[DP]\\\",\"Main\",\"1\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");";
}
const char* const kLongCaption = "SetCaption(\"Vendor Console Tools 2024 Setup\");";

std::vector<LintCase> cases() {
    const std::string box = kBox, file = kSection + addFile("a.txt");
    return {
        {"unknown-command", "setappname(\"Demo\");", 1, 1, "SetAppName(\"Demo\");"},
        {"argument-count", "SetAppName(\"A\");\nShowWelcome(\"x\");", 2, 1, "ShowWelcome ();"},
        {"glued-statements", "ShowWelcome()ShowDest();", 1, 14, "ShowWelcome();ShowDest;"},
        {"glued-statements", "SetVariable(\"A\")(\"B\");", 1, 17, "SetVariable(\"A\",\"B\");"},
        {"blank-before-parenthesis", "ShowMessage (\"a\",\"b\",\"\",\"NOW\");", 1, 12, "ShowDest ( );"},
        {"unquoted-argument", "SetCaptionSize(65);", 1, 16, "SetWelcomeString(\"a\", // text\n\"b\");"},
        {"comment-in-arguments", "SetWelcomeString(\"a\", // (see above)\n\"b\");", 1, 23,
          "SetWelcomeString(\"a\", // see above\n\"b\");"},
        {"comment-in-arguments", "SetAppName(\"A\", // the \"main\" name\n);", 1, 17, "SetAppName(\"A\"); // the \"main\" name"},
        {"text-after-statement", "ShowCopy()// copy now", 1, 11, "ShowCopy(); // copy now"},
        {"text-after-statement", "ShowCopy() copy now", 1, 12, "ShowCopy() ShowWelcome"},
        {"unset-variable", "SetCaption(\"x [APPNAM]\");", 1, 15,
          "SetAppName(\"A\");SetVariable(\"[APPNAME]X\",\"1\");SetCaption(\"[AX][APPNAME][SP][APPVERSION] [\");"
          "SetWelcomeString(\"[APPURL]\",\"[APPICON]\");"},
        {"missing-files", "AddFile(\"missing\\*.txt\",\"[DP]\\\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");", 1, 9,
          "AddFile(\"[WINPATH]\\missing.dll\",\"[DP]\\\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");", kSection},
        {"file-name-code-page", addFile("foreign\\*.txt"), 1, 9, addFile("a\\*.txt"), kSection},
        {"unknown-section", "AddFile(\"a\",\"b\",\"Mian\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");", 1, 17,
          "AddFile(\"a\",\"b\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");", kSection},
        {"empty-section", kSection, 1, 15, file},
        {"unknown-control", "CheckButton(\"bx\");", 1, 13,
          "CheckButton(\"box\");ShowMessage(\"a\",\"b\",\"box\",\"COMMAND\");"
          "SetNextDynamicState(\"DIALOG_WELCOME\",\"CONTROL\",\"box\",\"TEXT\",\"x\");", box},
        {"unknown-control", "SetNextDynamicState(\"DIALOG_DEST\",\"CONTROL\",\"box\",\"VALUE\",\"1\");", 1, 45,
          "SetNextDynamicState(\"DIALOG_WELCOME\",\"CONTROL\",\"box\",\"VALUE\",\"1\");", box},
        {"unknown-page", "AddWindow(\"DIALOG_WELCOM\",\"b\",\"LABEL\",\"x\",\"0\",\"1\",\"2\",\"3\",\"4\");", 1, 11, kBox},
        {"ineffective-state", "SetNextDynamicState(\"DIALOG_WELCOME\",\"VARIABLE\",\"A\",\"1\",\"\");", 1, 38,
          "SetNextDynamicState(\"DIALOG_WELCOME\",\"CONTROL\",\"box\",\"VALUE\",\"1\");", box},
        {"message-trigger", "ShowMessage(\"a\",\"b\",\"\",\"LATER\");", 1, 24, "ShowMessage(\"a\",\"b\",\"\",\"NOW\");"},
        {"second-copy-page", "ShowCopy();\nShowCopy();", 2, 1, "ShowCopy();ShowWelcome();"},
        {"page-after-copy", "ShowCopy();\nShowDest();", 2, 1, "ShowDest();ShowSections();ShowProgramGroup();ShowCopy();"},
        {"shortcut-name", addFile("a.txt", "Main", "1", "a:b"), 1, 56,
          (addFile("a.txt", "Main", "0", "a:b") + addFile("b.txt", "Main", "1", "Read me")), kSection},
        {"shared-64-bit", sharedFile("x64\\*.dll"), 1, 36, sharedFile("x86\\*.dll") + addFile("x64\\*.dll"), kSection},
        {"caption-too-wide", kLongCaption, 1, 12, kLongCaption + std::string("SetCaptionSize(\"40\");")},
    };
}

std::vector<LintFinding> lint(const std::string& text, const std::string& setupDirectory = "D:\\Medium") {
    LintOptions options;
    options.isNameCharacter = isCp1252AlphaNumeric;
    options.dryRun.setupDirectory = setupDirectory;
    options.checkFiles = true;
    options.findFiles = [](const std::string& pattern) {
        if (pattern.find("missing") != std::string::npos) return std::vector<FoundFile>{};
        return std::vector<FoundFile>{{pattern.find("foreign") != std::string::npos ? "?\xF3" "d?.txt" : "a.txt", false}};
    };
    options.readFile = [](const std::string& path, std::uint64_t offset, std::size_t length) {
        std::string file(0x40, '\0');
        file[0] = 'M', file[1] = 'Z', file[0x3C] = 0x40;
        file += path.find("x64") != std::string::npos ? std::string("PE\0\0\x64\x86", 6) : std::string("PE\0\0\x4C\x01", 6);
        return offset < file.size() ? file.substr(static_cast<std::size_t>(offset), length) : "";
    };
    return lintScript(text, options);
}

std::string describe(const std::vector<LintFinding>& findings) {
    std::string out;
    for (const LintFinding& f : findings) out += lintText("S", {f});
    return out;
}

TEST(LintTest, EachCheckFiresOnItsTriggerAndOnNothingElse) {
    for (const LintCase& c : cases()) {
        const std::string trigger = c.before.empty() ? c.trigger : c.before + "\n" + c.trigger;
        const int line = c.line + (c.before.empty() ? 0 : 1);
        const std::vector<LintFinding> found = lint(trigger);
        bool fired = false;
        // Only what stops Setup.exe is an error.
        const LintSeverity severity = c.check == "argument-count" ? LintSeverity::error : LintSeverity::warning;
        for (const LintFinding& f : found)
            fired = fired || (f.check == c.check && f.line == line && f.column == c.column && f.severity == severity);
        EXPECT_TRUE(fired) << c.check << " at " << line << ":" << c.column << " in " << trigger << "\n" << describe(found);

        const std::string clean = c.before + c.clean;
        EXPECT_EQ(describe(lint(clean)), "") << c.check << " clean: " << clean;
    }
}

TEST(LintTest, SuggestsTheCommandMeantAndTellsASlipOnce) {
    const std::vector<LintFinding> found = lint("SetAppNme(\"A\");\nSetVariable (\"A\",\"B\"); // set A\n");
    EXPECT_EQ(describe(found),
              "S:1:1: warning: unknown command 'SetAppNme': Setup.exe skips it; did you mean 'SetAppName'? "
              "[unknown-command]\n"
              "S:2:1: error: 'SetVariable' takes 2 arguments, not 0: Setup.exe stops here with its syntax error "
              "(exit code 2) [argument-count]\n"
              "S:2:12: warning: a blank before '(': Setup.exe reads 'SetVariable' without arguments, and the words "
              "in the quotes as statements of their own [blank-before-parenthesis]\n");
}

// A ')' in a "//" comment inside the parentheses ends the list: the comment is named as the cause
// beside the error, and what the reader makes of the arguments after it is not told again.
TEST(LintTest, NamesTheCommentThatEndsAnArgumentList) {
    const std::vector<LintFinding> found = lint("AddFile(\"a.txt\", // note (see above)\n"
                                                "  \"[DP]\\\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");\n");
    EXPECT_EQ(describe(found),
              "S:1:1: error: 'AddFile' takes 10 arguments, not 1: Setup.exe stops here with its syntax error (exit "
              "code 2) [argument-count]\n"
              "S:1:18: warning: the ')' in this comment ends the argument list of 'AddFile': inside parentheses "
              "Setup.exe reads '//' as no comment, and the arguments after it as statements; put the comment after "
              "the statement [comment-in-arguments]\n");
}

// A 64-bit Setup.exe on the medium installs shared files into the real system folder.
TEST(LintTest, TakesSixtyFourBitSharedFilesForRightBesideASixtyFourBitSetupProgram) {
    EXPECT_EQ(describe(lint(kSection + sharedFile("x64\\*.dll"), "D:\\x64 Medium")), "");
}

// The caption as the run leaves it, in the font size and at the places it is drawn: the second
// drawing counts only when its colour differs.
TEST(LintTest, MeasuresTheCaptionTheScriptEndsWith) {
    const std::string demo = "SetCaption(\"Quillset Demo Setup\");";  // 848 pixels wide at 65 points
    const struct {
        std::string script;
        bool tooWide;
    } cases[] = {
        {demo, false},
        {demo + "SetCaptionPos(\"30\",\"30\",\"200\",\"40\");", true},
        {demo + "SetCaptionPos(\"30\",\"30\",\"200\",\"40\");SetCaptionColor(\"1\",\"2\",\"3\",\"1\",\"2\",\"3\");", false},
        {demo + "SetCaptionSize(\"80\");", true},
        {kLongCaption + std::string("SetCaption(\"Short\");"), false},
        {"SetVariable(\"N\",\"CAPTION\");SetVariable(\"[N]\",\"Vendor Console Tools 2024 Setup\");", true},
    };
    for (const auto& c : cases) {
        const std::string found = describe(lint(c.script));
        EXPECT_EQ(found.find("[caption-too-wide]") != std::string::npos, c.tooWide) << c.script << "\n" << found;
    }
    EXPECT_EQ(describe(lint("SetVariable(\"N\",\"CAPTION\");\nSetVariable(\"[N]\",\"Vendor Console Tools 2024 Setup\");")),
              "S:2:19: warning: the caption 'Vendor Console Tools 2024 Setup' reaches about 1441 pixels from the left "
              "(65-point Arial Bold drawn from x = 40): a screen 1024 pixels wide cuts it off; shorten it, or make it "
              "smaller with SetCaptionSize [caption-too-wide]\n");
}

// A warning a statement gives again and again is told once, at its first place, with a count; the
// places count a doubled quote in an argument as the two characters it is in the script.
TEST(LintTest, TellsARepeatedWarningOncePerStatementWithItsCount) {
    const std::vector<LintFinding> found = lint("ShowMessage(\"a\"\"b [A] [A]\",\"[A]\",\"\",\"NOW\");\n"
                                                "SetCaptionSize(4 4);ShowMessage(\"[A]\",\"\",\"\",\"NOW\");\n");
    const std::string unset = "[A] names a variable that nothing sets: it is replaced by an empty text";
    EXPECT_EQ(describe(found),
              "S:1:19: warning: " + unset + " (3 times in this statement) [unset-variable]\n"
              "S:2:1: error: 'SetCaptionSize' takes 1 argument, not 0: Setup.exe stops here with its syntax error "
              "(exit code 2) [argument-count]\n"
              "S:2:16: warning: unquoted number 4 is no argument (Setup.exe ignores it); write \"4\" (2 times in this "
              "statement) [unquoted-argument]\n"
              "S:2:34: warning: " + unset + " [unset-variable]\n");
    EXPECT_EQ(lintJson("S", {found[0]}),
              "[{\"file\":\"S\",\"line\":1,\"column\":19,\"severity\":\"warning\",\"check\":\"unset-variable\","
              "\"message\":\"" + unset + "\",\"count\":3}]\n");
}

// Among thousands of names a misspelling is matched as in a short list, until comparing letter by
// letter has cost its bound; a name that differs in case alone is found after that too.
TEST(LintTest, NamesTheNameMeantAmongThousands) {
    std::vector<std::string> names;
    for (int i = 0; i < 10000; ++i) names.push_back("Section" + std::to_string(i));
    NameSuggestions sections(names);
    EXPECT_EQ(sections.didYouMean("Sektion9999"), "; did you mean 'Section9999'?");
    EXPECT_EQ(sections.didYouMean("Sektion9999"), "; did you mean 'Section9999'?");  // told again at no cost
    EXPECT_EQ(sections.didYouMean("Bananas"), "");
    int hinted = 0;
    for (int i = 9000; i < 10000; ++i) hinted += !sections.didYouMean("Sekt1on" + std::to_string(i)).empty();
    EXPECT_GT(hinted, 0);
    EXPECT_LT(hinted, 1000);
    EXPECT_EQ(sections.didYouMean("Sektion42"), "");
    EXPECT_EQ(sections.didYouMean("SECTION42"), "; did you mean 'Section42'?");
    EXPECT_TRUE(sections.contains("Section42"));
    EXPECT_FALSE(sections.contains("SECTION42"));
}

}  // namespace
}  // namespace quillset
