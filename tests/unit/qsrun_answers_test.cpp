// qsrun's portable parts: the answers file (what it accepts, what it refuses and with which line),
// the message patterns, the report's JSON and HTML forms and the page journal the hook writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "answers_file.h"
#include "page_journal.h"
#include "report_html.h"
#include "report_json.h"
#include "upgrade_comparison.h"

namespace quillset::qsrun {
namespace {

TEST(QsrunAnswers, ReadsEveryInstruction) {
    Answers answers;
    std::string error;
    ASSERT_TRUE(parseAnswers("# the demo, readme left out\r\n"
                             "destination \"C:\\Quillset Demo\\\"\r\n"
                             "\n"
                             "section Documents off\n"
                             "section \"Extra files\" on\n"
                             "program-group none\n"
                             "check \"@I accept the licence\" on\n"
                             "text Edit:2 \"Jane Doe\"\n"
                             "message \"Quillset*\" \"* has been installed in ?:\\*\" OK\n"
                             "message * * DEFAULT\n",
                             answers, error))
        << error;
    EXPECT_TRUE(answers.hasDestination);
    EXPECT_EQ(answers.destination, "C:\\Quillset Demo\\");
    EXPECT_EQ(answers.destinationLine, 2);
    ASSERT_EQ(answers.sections.size(), 2u);
    EXPECT_EQ(answers.sections[0].name, "Documents");
    EXPECT_FALSE(answers.sections[0].install);
    EXPECT_EQ(answers.sections[1].name, "Extra files");
    EXPECT_TRUE(answers.sections[1].install);
    EXPECT_EQ(answers.group, Answers::Group::none);
    ASSERT_EQ(answers.controls.size(), 2u);
    EXPECT_EQ(answers.controls[0].kind, ControlAnswer::Kind::check);
    EXPECT_EQ(answers.controls[0].control, "@I accept the licence");
    EXPECT_TRUE(answers.controls[0].checked);
    EXPECT_EQ(answers.controls[1].kind, ControlAnswer::Kind::text);
    EXPECT_EQ(answers.controls[1].text, "Jane Doe");
    ASSERT_EQ(answers.messages.size(), 2u);
    EXPECT_EQ(answers.messages[0].buttonId, 1);  // IDOK
    EXPECT_EQ(answers.messages[1].buttonId, 0);  // the box's default button
    EXPECT_EQ(answers.messages[1].line, 10);

    const MessageAnswer* found =
        findMessageAnswer(answers, "Quillset Demo", "Quillset Demo has been installed in C:\\Quillset Demo\\.");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->line, 9);
    found = findMessageAnswer(answers, "Uninstall", "Remove it?");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->line, 10);
}

TEST(QsrunAnswers, ANamedGroupIsKept) {
    Answers answers;
    std::string error;
    ASSERT_TRUE(parseAnswers("program-group \"Quillset\\Demo\"", answers, error)) << error;
    EXPECT_EQ(answers.group, Answers::Group::named);
    EXPECT_EQ(answers.groupName, "Quillset\\Demo");
}

TEST(QsrunAnswers, RefusesWhatItCannotCarryOut) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"destinaton C:\\x", "1: unknown instruction destinaton"},
        {"destination", "1: usage: destination PATH"},
        {"destination \"\"", "1: the destination is empty"},
        {"destination a\ndestination b", "2: a second destination line"},
        {"section Docs", "1: usage: section NAME on|off"},
        {"section Docs maybe", "1: on or off expected, not maybe"},
        {"section Docs on\nsection Docs off", "2: section Docs is answered twice"},
        {"program-group", "1: usage: program-group NAME"},
        {"program-group none\nprogram-group x", "2: a second program-group line"},
        {"check IDD_WELCOME on", "1: not a control: IDD_WELCOME"},
        {"check IDC_NO_SUCH on", "1: not a control: IDC_NO_SUCH"},
        {"check @Licence yes", "1: on or off expected, not yes"},
        {"text Edit:1", "1: usage: text CONTROL TEXT"},
        {"message Setup * MAYBE", "1: not an answer: MAYBE"},
        {"message Setup OK", "1: usage: message CAPTION TEXT ANSWER"},
        {"overwrite *.txt", "1: usage: overwrite PATH yes|no|all"},
        {"overwrite *.txt YES", "1: yes, no or all expected, not YES"},
        {"# fine\n\ndestination \"open", "3: unterminated quote"},
    };
    for (const auto& c : cases) {
        Answers answers;
        std::string error;
        EXPECT_FALSE(parseAnswers(c.text, answers, error)) << c.text;
        EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error) << c.text;
    }
}

TEST(QsrunAnswers, MatchesMessagePatterns) {
    const struct {
        const char* pattern;
        const char* text;
        bool matches;
    } cases[] = {
        {"*", "", true},
        {"*", "anything", true},
        {"", "", true},
        {"", "x", false},
        {"Setup", "Setup", true},
        {"Setup", "setup", false},  // case counts
        {"Set?p", "Setup", true},
        {"Set?p", "Setp", false},
        {"*installed*", "Demo has been installed in C:\\", true},
        {"*installed", "installed in", false},
        {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXXcYYb", false},
        {"*.", "line one\nline two.", true},
    };
    for (const auto& c : cases) EXPECT_EQ(matchesPattern(c.pattern, c.text), c.matches) << c.pattern << " / " << c.text;
}

// The overwrite question names the existing file; the first line whose path matches it answers,
// in any case, as Windows names files.
TEST(QsrunAnswers, AnswersTheOverwriteQuestionByPath) {
    Answers answers;
    std::string error;
    ASSERT_TRUE(parseAnswers("overwrite \"C:\\Program Files\\App\\keep.ini\" no\n"
                             "overwrite *\\SHARED\\*.dll yes\n"
                             "overwrite * all\n",
                             answers, error))
        << error;
    const struct {
        const char* path;
        int line;
        OverwriteAnswer::Choice choice;
    } cases[] = {
        {"C:\\Program Files\\App\\keep.ini", 1, OverwriteAnswer::Choice::no},
        {"c:\\program files\\app\\KEEP.INI", 1, OverwriteAnswer::Choice::no},
        {"C:\\windows\\shared\\a.dll", 2, OverwriteAnswer::Choice::yes},
        {"C:\\Program Files\\App\\a.txt", 3, OverwriteAnswer::Choice::all},
    };
    for (const auto& c : cases) {
        const OverwriteAnswer* found = findOverwriteAnswer(answers, c.path);
        ASSERT_NE(found, nullptr) << c.path;
        EXPECT_EQ(found->line, c.line) << c.path;
        EXPECT_EQ(found->choice, c.choice) << c.path;
    }
    ASSERT_TRUE(parseAnswers("overwrite *.txt yes", answers, error)) << error;
    EXPECT_EQ(findOverwriteAnswer(answers, "C:\\App\\a.dll"), nullptr);
}

// An upgrade's files: the earlier run's as found after the later one, by their long names in any
// case (the logs record short forms), and the later log's files the earlier did not install.
TEST(QsrunUpgrade, SaysWhatTheLaterInstallationDidToTheEarlierFiles) {
    const auto file = [](const char* path, const char* longPath, const char* sha, const char* version) {
        FileRecord record;
        record.path = path;
        record.longPath = longPath;
        record.exists = sha != nullptr;
        record.sha256 = sha ? sha : "";
        record.version = version;
        return record;
    };
    RunReport earlier;
    earlier.files = {file("C:\\APP\\A.TXT", "C:\\App\\a.txt", "aa", ""),
                     file("C:\\APP\\OLD~1.TXT", "C:\\App\\old.txt", "00", ""),
                     file("C:\\App\\lib.dll", "C:\\App\\lib.dll", "11", "1.0.0.0"),
                     file("C:\\App\\gone.txt", "C:\\App\\gone.txt", "22", "")};
    const std::vector<FileRecord> now = {file("C:\\APP\\A.TXT", "C:\\App\\a.txt", "ab", ""),
                                         file("C:\\APP\\OLD~1.TXT", "C:\\App\\old.txt", "00", ""),
                                         file("C:\\App\\lib.dll", "C:\\App\\lib.dll", "12", "2.0.0.0"),
                                         file("C:\\App\\gone.txt", "", nullptr, "")};
    RunReport later;
    later.files = {file("C:\\app\\a.txt", "C:\\app\\a.txt", "ab", ""), file("C:\\App\\lib.dll", "", "12", "2.0.0.0"),
                   file("C:\\APP\\NEW~1.TXT", "C:\\App\\new.txt", "33", "")};
    const UpgradeReport upgrade = compareUpgrade(earlier, now, later);
    const auto paths = [](const std::vector<UpgradeFile>& files) {
        std::string joined;
        for (const UpgradeFile& f : files) joined += f.path + "(" + f.earlierVersion + ">" + f.version + ") ";
        return joined;
    };
    EXPECT_EQ(paths(upgrade.replaced), "C:\\App\\a.txt(>) C:\\App\\lib.dll(1.0.0.0>2.0.0.0) ");
    EXPECT_EQ(paths(upgrade.kept), "C:\\App\\old.txt(>) ");
    EXPECT_EQ(paths(upgrade.removed), "C:\\App\\gone.txt(>) ");
    EXPECT_EQ(paths(upgrade.added), "C:\\App\\new.txt(>) ");
}

TEST(QsrunReport, JsonSaysWhatWasNotThere) {
    RunReport report;
    report.version = "1.2.3";
    report.medium = "disk\\one";
    report.failure = "a message box that the answers file does not expect: \"Oops\"";
    FileRecord missing;
    missing.path = "C:\\app\\gone.txt";
    missing.kind = "file";
    report.files.push_back(missing);
    const std::string json = reportJson(report);
    EXPECT_NE(json.find("\"result\":\"failed\""), std::string::npos) << json;
    EXPECT_NE(json.find("does not expect: \\\"Oops\\\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"medium\":\"disk\\\\one\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"setup_exit_code\":null"), std::string::npos) << json;
    EXPECT_NE(json.find("\"exists\":false,\"size\":null,\"sha256\":null"), std::string::npos) << json;
    EXPECT_NE(json.find("\"uninstall\":null"), std::string::npos) << json;
}

TEST(QsrunReport, PathsAlsoInTheirLongForm) {
    RunReport report;
    FileRecord file;
    file.path = "C:\\PROG~FBU\\VEND~HSJ\\lib\\THIR~2IR\\a.dll";
    file.longPath = "C:\\Program Files\\Vendor\\lib\\third-party\\a.dll";
    file.kind = "file";
    file.exists = true;
    report.files.push_back(file);
    FileRecord shared;  // recorded in its long form already: said once
    shared.path = shared.longPath = "C:\\windows\\system32\\b.dll";
    shared.kind = "shared";
    report.files.push_back(shared);
    const std::string json = reportJson(report);
    EXPECT_NE(json.find("\"path\":\"C:\\\\PROG~FBU\\\\VEND~HSJ\\\\lib\\\\THIR~2IR\\\\a.dll\",\"long_path\":\"C:\\\\Program Files\\\\Vendor\\\\lib\\\\third-party\\\\a.dll\""),
              std::string::npos) << json;
    const std::string html = reportHtml(report);
    EXPECT_NE(html.find("<td>C:\\Program Files\\Vendor\\lib\\third-party\\a.dll (recorded as C:\\PROG~FBU\\VEND~HSJ\\lib\\THIR~2IR\\a.dll)</td>"),
              std::string::npos) << html;
    EXPECT_NE(html.find("<td>C:\\windows\\system32\\b.dll</td>"), std::string::npos) << html;
}

// Every link of the contents leads to exactly one part, also when an upgrade's report shows the
// earlier run above the later one, whose pictures lie in their own folder.
TEST(QsrunReport, HtmlContentsLeadToEveryPart) {
    RunReport report;
    for (int number = 1; number <= 2; ++number) {
        PageRecord page;
        page.number = number;
        page.program = "Setup.exe";
        page.title = number == 1 ? "Welcome" : "";
        page.dialog = number == 1 ? "IDD_WELCOME" : "IDD_COPY";
        page.screenshot = number == 1 ? "page-01.png" : "";
        page.goneBeforePhotographed = number == 2;
        report.pages.push_back(page);
    }
    report.uninstall.ran = true;
    const auto checkLinks = [](const std::string& html, std::size_t expectedLinks) {
        // The values of every `marker"VALUE"` in the page.
        const auto values = [&html](const std::string& marker) {
            std::vector<std::string> found;
            for (std::size_t at = html.find(marker); at != std::string::npos; at = html.find(marker, at + 1)) {
                const std::size_t start = at + marker.size();
                found.push_back(html.substr(start, html.find('"', start) - start));
            }
            return found;
        };
        std::map<std::string, int> ids;
        for (const std::string& id : values(" id=\"")) ++ids[id];
        const std::vector<std::string> links = values("href=\"#");
        for (const std::string& link : links) EXPECT_EQ(ids[link], 1) << link;
        EXPECT_EQ(links.size(), expectedLinks);
    };
    const std::string html = reportHtml(report);
    checkLinks(html, 10);  // seven parts, two pages, the uninstallation
    EXPECT_NE(html.find("2. Setup.exe: IDD_COPY</a>"), std::string::npos) << html;  // an untitled page by its dialog
    EXPECT_NE(html.find("Gone before it could be photographed"), std::string::npos);

    RunReport upgrade = report;
    upgrade.earlierRun.push_back(report);
    const std::string both = reportHtml(upgrade);
    checkLinks(both, 22);  // each run's ten, the earlier run and the later one
    EXPECT_NE(both.find("<img src=\"earlier/page-01.png\""), std::string::npos);
    EXPECT_NE(both.find("<img src=\"page-01.png\""), std::string::npos);
}

// The journal qsrun's hook writes inside the walked program, read back.
TEST(QsrunPageJournal, ReadsWholeRecordsOnly) {
    const std::string title = "Tab\there, line\nbreak, back\\slash";
    const std::string journal =
        "garbage before any record\n"
        "PAGE\topened\t1a2b\tWelcome\nCONTROL\t1\tButton\t50010001\t-1\tNext\nEND\n"
        "PAGE\tclosed\t3c\t" + escapeJournalText(title) + "\n"
        "CONTROL\t1026\tSysListView32\t50010000\t-1\t\nROW\tProgram\t1234\nROW\tDocs\t\n"
        "CONTROL\t7\tButton\t50000003\t1\t" + escapeJournalText("I accept\t!") + "\nEND\n"
        "PAGE\tclosed\tzz\tbad handle\nEND\n"          // refused whole
        "PAGE\tclosed\t4d\tcut short\nCONTROL\t1\tStatic\t0\t-1\tx\n";  // no END yet
    const std::vector<JournalPage> pages = readPageJournal(journal);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_FALSE(pages[0].closed);
    EXPECT_EQ(pages[0].handle, 0x1a2bu);
    EXPECT_EQ(pages[0].controls.at(0).text, "Next");
    EXPECT_TRUE(pages[1].closed);
    EXPECT_EQ(pages[1].title, title);
    ASSERT_EQ(pages[1].controls.size(), 2u);
    EXPECT_EQ(pages[1].controls[0].rows, (std::vector<std::vector<std::string>>{{"Program", "1234"}, {"Docs", ""}}));
    EXPECT_EQ(pages[1].controls[1].style, 0x50000003u);
    EXPECT_EQ(pages[1].controls[1].checked, 1);
    EXPECT_EQ(pages[1].controls[1].text, "I accept\t!");
    EXPECT_EQ(readPageJournal(journal.substr(0, journal.find("END\n", journal.find("3c")))).size(), 1u);
}

TEST(QsrunPageJournal, ControlKinds) {
    const struct {
        const char* className;
        std::uint32_t style;
        const char* kind;
    } cases[] = {
        {"Static", 0x50000000, "text"},          {"EDIT", 0, "edit"},
        {"SysListView32", 0, "list"},           {"msctls_progress32", 0, "progress"},
        {"Button", 0x50010000, "push button"},  {"Button", 0x50010001, "push button"},  // BS_DEFPUSHBUTTON
        {"Button", 0x50010003, "check box"},    {"Button", 0x50010006, "check box"},     // BS_AUTO3STATE
        {"button", 0x50010009, "option button"}, {"Button", 0x50000007, "group box"},
        {"QuillCustom", 0, "QuillCustom"},
    };
    for (const auto& c : cases) EXPECT_EQ(controlKindOf(c.className, c.style), c.kind) << c.className << " " << c.style;
}

}  // namespace
}  // namespace quillset::qsrun
