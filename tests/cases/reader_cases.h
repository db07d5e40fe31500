// Scripts and the statements the reader must find in them. Both the native unit tests (code page
// 1252 table) and the Windows-side tests (IsCharAlphaNumericA) run these, so the builds agree.
#pragma once

#include <string>
#include <vector>

namespace quillset {

struct ExpectedStatement {
    std::string command;
    std::vector<std::string> arguments;
};

struct ReaderCase {
    const char* name;
    std::string fileBytes;  // as stored on disk, before text-mode reading
    std::vector<ExpectedStatement> statements;
};

inline std::vector<ReaderCase> readerCases() {
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

}  // namespace quillset
