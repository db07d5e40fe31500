#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "cp1252.h"
#include "script_reader.h"

namespace quillset {
namespace {

namespace fs = std::filesystem;

// Scripts as stored on disk and the statements the reader must find in them.
struct ExpectedStatement {
    std::string command;
    std::vector<std::string> arguments;
};

struct ReaderCase {
    const char* name;
    std::string fileBytes;  // as stored on disk, before text-mode reading
    std::vector<ExpectedStatement> statements;
};

std::vector<ReaderCase> readerCases() {
    using S = ExpectedStatement;
    return {
        {"empty file", "", {}},
        {"only comments, blanks and semicolons", "// a comment\r\n  ;;\t\r\n// SetAppName(\"x\")\n;", {}},
        {"plain statement", "SetVariable(\"A\",\"B\");", {S{"SetVariable", {"A", "B"}}}},
        {"blanks around parentheses split the statement",
         "SetVariable ( \"A\" , \"B\" ) ;",
         {S{"SetVariable", {}}, S{"A", {}}, S{"B", {}}}},
        {"unquoted number is ignored", "SetCaptionSize(65);", {S{"SetCaptionSize", {}}}},
        {"doubled quotes", "ShowMessage(\"Say \"\"hello\"\"\",\"T\",\"\",\"NOW\");",
         {S{"ShowMessage", {"Say \"hello\"", "T", "", "NOW"}}}},
        {"argument of one quote", "X(\"\"\"\")", {S{"X", {"\""}}}},
        {"CR LF inside an argument becomes LF", "A(\"one\r\ntwo\");\r\n", {S{"A", {"one\ntwo"}}}},
        {"lone CR is kept inside an argument", "A(\"x\ry\")", {S{"A", {"x\ry"}}}},
        {"lone CR ends a name", "A()\rB()", {S{"A", {}}, S{"B", {}}}},
        {"underscore is no name character", "Set_Caption(\"x\")", {S{"Set", {}}, S{"Caption", {"x"}}}},
        {"hyphen, full stop and section sign are no name characters",
         "A-B.C\xA7" "D(\"x\")",
         {S{"A", {}}, S{"B", {}}, S{"C", {}}, S{"D", {"x"}}}},
        {"names may begin with digits", "2ndStep(\"a\")", {S{"2ndStep", {"a"}}}},
        {"accented command names", "\xC4ndere(\"\xE9t\xE9\");Gr\xF6\xDF" "e()",
         {S{"\xC4ndere", {"\xE9t\xE9"}}, S{"Gr\xF6\xDF" "e", {}}}},
        {"two statements on one line", "ShowWelcome();ShowDest();", {S{"ShowWelcome", {}}, S{"ShowDest", {}}}},
        {"glued statements make one name", "ShowWelcome()ShowDest()", {S{"ShowWelcomeShowDest", {}}}},
        {"name without parentheses", "ShowWelcome;ShowDest\n", {S{"ShowWelcome", {}}, S{"ShowDest", {}}}},
        {"comment after semicolon", "ShowCopy(); // copy now\n", {S{"ShowCopy", {}}}},
        {"comment directly after the parenthesis", "ShowCopy()// copy now\n",
         {S{"ShowCopy", {}}, S{"copy", {}}, S{"now", {}}}},
        {"blank before the parenthesis", "SetAppName (\"Demo\")", {S{"SetAppName", {}}, S{"Demo", {}}}},
        {"reopened argument list", "Foo(\"a\")(\"b\")", {S{"Foo", {"a", "b"}}}},
        {"comment line inside arguments hides nothing", "Foo(\"a\",\n// \"b\"\n\"c\")",
         {S{"Foo", {"a", "b", "c"}}}},
        {"parenthesis in a comment inside arguments ends them", "Foo(\"a\" // )\nBar(\"b\")",
         {S{"Foo", {"a"}}, S{"Bar", {"b"}}}},
        {"unquoted words inside arguments", "Foo(abc, \"x\" 12 /)", {S{"Foo", {"x"}}}},
        {"parentheses do not nest", "Foo(\"a\"(b)\"c\")", {S{"Foo", {"a"}}, S{"c", {}}}},
        {"quote directly after a name", "Foo\"x\"", {S{"Foo", {}}, S{"x", {}}}},
        {"single slash between statements", "A() / B()", {S{"A", {}}, S{"B", {}}}},
        {"unterminated argument takes the rest", "Foo(\"abc\nBar()",
         {S{"Foo", {"abc\nBar()"}}}},
        {"unterminated argument list", "Foo(\"a\"", {S{"Foo", {"a"}}}},
        {"quote as last character", "Foo(\"a\"\"", {S{"Foo", {"a\""}}}},
        {"Ctrl-Z ends the text", "A()\x1a" "B()", {S{"A", {}}}},
        {"comment without line end at the end", "A() // B()", {S{"A", {}}}},
    };
}

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
            messages_.push_back(caption + "|" + text);
        });
    }

    fs::path directory_;
    std::vector<std::string> messages_;  // "caption|text"
};

TEST_F(ReaderTest, FindsTheStatementsOfEveryCase) {
    for (const ReaderCase& c : readerCases()) {
        SCOPED_TRACE(c.name);
        SetupScript script = makeReader();
        ASSERT_EQ(script.read(writeFile(c.fileBytes)), 0);
        ASSERT_EQ(script.statementCount(), static_cast<int>(c.statements.size()));
        for (std::size_t i = 0; i < c.statements.size(); ++i) {
            std::string command;
            std::vector<std::string> arguments;
            ASSERT_EQ(script.getStatement(static_cast<int>(i), command, arguments), 0);
            EXPECT_EQ(command, c.statements[i].command) << "statement " << i;
            EXPECT_EQ(arguments, c.statements[i].arguments) << "statement " << i;
        }
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(ReaderTest, UnreadableFileShowsTheFatalMessageAndAddsNothing) {
    for (const std::string& path : {(directory_ / "missing.ini").string(), directory_.string()}) {
        SCOPED_TRACE(path);
        messages_.clear();
        SetupScript script = makeReader();
        EXPECT_EQ(script.read(path), -1);
        EXPECT_EQ(script.statementCount(), 0);
        EXPECT_EQ(messages_, std::vector<std::string>{"Fatal error|Could not open 'SetupScript.INI' in setup "
                                                      "directory. Setup cannot be continued."});
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

// The reader takes a file in pieces of a megabyte: a CR LF, a `//` or a doubled quote cut by the
// end of a piece, and statements that reuse the texts of longer ones before them, read as the
// whole text does.
TEST_F(ReaderTest, ReadsLargeFilesAsTheirWholeText) {
    const std::size_t piece = 1 << 20;
    const std::string filler = "// " + std::string(40, 'x') + "\r\n";
    std::string prefix;
    while (prefix.size() + filler.size() < piece - 64) prefix += filler;
    prefix += "Long(\"a\",\"b\",\"c\");Short(\"d\");\r\n";  // Short reuses what Long held
    const struct {
        const char* name;
        bool inArgument;         // whether it stands inside the quotes of an argument
        std::string straddling;  // placed so that its first byte ends the first piece
    } cases[] = {
        {"CR LF between statements", false, "\r\nA(\"x\")"},
        {"CR LF in an argument", true, "\r\ny\")"},
        {"comment", false, "//B(\"x\")\nC()"},
        {"doubled quote", true, "\"\"y\")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A statement whose argument runs up to the end of the piece, or ends just before it.
        const std::string closing = c.inArgument ? "" : "\");";
        std::string bytes = prefix + "Cut(\"";
        bytes += std::string(piece - 1 - bytes.size() - closing.size(), 'z') + closing;
        bytes += c.straddling + ";Tail(\"t\")\r\n";
        ASSERT_EQ(bytes[piece - 1], c.straddling[0]);

        SetupScript fromFile = makeReader();
        ASSERT_EQ(fromFile.read(writeFile(bytes)), 0);
        SetupScript fromText = makeReader();
        fromText.tokenize(toTextMode(bytes));
        std::vector<std::string> streamed, kept;
        ASSERT_EQ(makeReader().readEach(writeFile(bytes), [&streamed](ScriptStatement& s) {
            streamed.push_back(s.command + "(" + std::to_string(s.arguments.size()) + ")");
        }), 0);
        ASSERT_EQ(fromFile.statementCount(), fromText.statementCount());
        for (std::size_t i = 0; i < fromText.statements().size(); ++i) {
            const ScriptStatement &a = fromFile.statements()[i], &b = fromText.statements()[i];
            EXPECT_EQ(std::tie(a.command, a.arguments, a.line), std::tie(b.command, b.arguments, b.line)) << i;
            kept.push_back(b.command + "(" + std::to_string(b.arguments.size()) + ")");
        }
        EXPECT_EQ(streamed, kept);
        EXPECT_EQ(kept.back(), "Tail(1)");
    }
}

TEST(TextModeTest, ConvertsLineEndsAsTheRuntimeDoes) {
    EXPECT_EQ(toTextMode("a\r\nb"), "a\nb");
    EXPECT_EQ(toTextMode("a\rb\r"), "a\rb\r");
    EXPECT_EQ(toTextMode("a\r\r\nb"), "a\r\nb");
    EXPECT_EQ(toTextMode("a\x1a\r\nb"), "a");
    EXPECT_EQ(toTextMode(std::string("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace quillset
