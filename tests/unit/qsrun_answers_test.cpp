// qsrun's portable parts: the answers file (what it accepts, what it refuses and with which line),
// the message patterns, the SHA-256 of installed files and the report's JSON forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "answers_file.h"
#include "report_json.h"
#include "sha256.h"

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

TEST(QsrunReport, Sha256OfKnownTexts) {
    const struct {
        std::string text;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        Sha256 whole;
        whole.add(c.text.data(), c.text.size());
        EXPECT_EQ(whole.hex(), c.digest) << c.text.size();
        Sha256 pieces;  // in uneven pieces, as a file is read
        for (std::size_t at = 0; at < c.text.size(); at += 63) pieces.add(c.text.data() + at, std::min<std::size_t>(63, c.text.size() - at));
        EXPECT_EQ(pieces.hex(), c.digest) << c.text.size();
    }
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

}  // namespace
}  // namespace quillset::qsrun
