#include "answers_file.h"

#include "process_names.h"
#include "scenario_words.h"

namespace quillset::qsrun {
namespace {

bool parseOnOff(const std::string& word, bool& on) {
    if (word == "on") on = true;
    else if (word == "off") on = false;
    else return false;
    return true;
}

// One instruction; false with `why` when it is not understood.
bool parseInstruction(const std::vector<std::string>& words, int line, Answers& answers, std::string& why) {
    const std::string& verb = words[0];
    const std::size_t arguments = words.size() - 1;
    const auto expect = [&](std::size_t count, const char* usage) {
        if (arguments == count) return true;
        why = std::string("usage: ") + usage;
        return false;
    };
    if (verb == "destination") {
        if (!expect(1, "destination PATH")) return false;
        if (answers.hasDestination) return why = "a second destination line", false;
        if (words[1].empty()) return why = "the destination is empty", false;
        answers.hasDestination = true;
        answers.destination = words[1];
        answers.destinationLine = line;
        return true;
    }
    if (verb == "section") {
        SectionAnswer section{words.size() > 1 ? words[1] : "", true, line};
        if (!expect(2, "section NAME on|off")) return false;
        if (!parseOnOff(words[2], section.install)) return why = "on or off expected, not " + words[2], false;
        for (const SectionAnswer& earlier : answers.sections)
            if (earlier.name == section.name) return why = "section " + words[1] + " is answered twice", false;
        answers.sections.push_back(section);
        return true;
    }
    if (verb == "program-group") {
        if (!expect(1, "program-group NAME | program-group none")) return false;
        if (answers.group != Answers::Group::unset) return why = "a second program-group line", false;
        if (words[1].empty()) return why = "the program group is empty (none chooses no group)", false;
        answers.group = words[1] == "none" ? Answers::Group::none : Answers::Group::named;
        answers.groupName = words[1] == "none" ? "" : words[1];
        answers.groupLine = line;
        return true;
    }
    if (verb == "check" || verb == "text") {
        ControlAnswer control;
        control.line = line;
        if (!expect(2, verb == "check" ? "check CONTROL on|off" : "text CONTROL TEXT")) return false;
        robot::ControlRef ref;
        if (!robot::parseControlRef(words[1], ref) || ref.kind == robot::ControlRef::Kind::Template)
            return why = "not a control: " + words[1] + " (an ID, Class:N or @text)", false;
        control.control = words[1];
        if (verb == "check") {
            if (!parseOnOff(words[2], control.checked)) return why = "on or off expected, not " + words[2], false;
        } else {
            control.kind = ControlAnswer::Kind::text;
            control.text = words[2];
        }
        answers.controls.push_back(control);
        return true;
    }
    if (verb == "message") {
        if (!expect(3, "message CAPTION TEXT ANSWER")) return false;
        MessageAnswer message{words[1], words[2], 0, words[3], line};
        if (words[3] != "DEFAULT" && !robot::parseAnswer(words[3], message.buttonId))
            return why = "not an answer: " + words[3] + " (OK CANCEL ABORT RETRY IGNORE YES NO DEFAULT)", false;
        answers.messages.push_back(message);
        return true;
    }
    if (verb == "overwrite") {
        if (!expect(2, "overwrite PATH yes|no|all")) return false;
        OverwriteAnswer overwrite{words[1], OverwriteAnswer::Choice::yes, line};
        if (words[2] == "no") overwrite.choice = OverwriteAnswer::Choice::no;
        else if (words[2] == "all") overwrite.choice = OverwriteAnswer::Choice::all;
        else if (words[2] != "yes") return why = "yes, no or all expected, not " + words[2], false;
        answers.overwrites.push_back(overwrite);
        return true;
    }
    why = "unknown instruction " + verb + " (destination, section, program-group, check, text, message, overwrite)";
    return false;
}

}  // namespace

bool parseAnswers(const std::string& text, Answers& answers, std::string& error) {
    answers = Answers{};
    std::size_t start = 0;
    for (int line = 1; start < text.size(); ++line) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string content = text.substr(start, end - start);
        start = end + 1;
        if (!content.empty() && content.back() == '\r') content.pop_back();
        const std::size_t first = content.find_first_not_of(" \t");
        if (first == std::string::npos || content[first] == '#') continue;
        std::vector<std::string> words;
        std::string why;
        if (!robot::splitWords(content, words, why) || !parseInstruction(words, line, answers, why)) {
            error = std::to_string(line) + ": " + why;
            return false;
        }
    }
    return true;
}

bool matchesPattern(const std::string& pattern, const std::string& text) {
    // Iterative matching with one backtracking point: the last star seen.
    std::size_t p = 0, t = 0, star = std::string::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (star != std::string::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

const MessageAnswer* findMessageAnswer(const Answers& answers, const std::string& caption, const std::string& text) {
    for (const MessageAnswer& message : answers.messages)
        if (matchesPattern(message.caption, caption) && matchesPattern(message.text, text)) return &message;
    return nullptr;
}

const OverwriteAnswer* findOverwriteAnswer(const Answers& answers, const std::string& path) {
    for (const OverwriteAnswer& overwrite : answers.overwrites)
        if (matchesPattern(lowerCaseAscii(overwrite.path), lowerCaseAscii(path))) return &overwrite;
    return nullptr;
}

}  // namespace quillset::qsrun
