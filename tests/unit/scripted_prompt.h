// An InstallPrompt that records every message and question of the engine and answers from a script.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <ostream>
#include <string>
#include <vector>

#include "install_prompt.h"

namespace quillset {

// One call the engine made to the user. The two dialogs are written "<language conflict SOURCE
// DESTINATION>" and "<overwrite DESTINATION>", without caption, style or owner.
struct Call {
    std::string text;
    std::string caption;
    unsigned style = 0;
    PromptOwner owner = PromptOwner::none;
    bool operator==(const Call& other) const {
        return text == other.text && caption == other.caption && style == other.style && owner == other.owner;
    }
};

inline void PrintTo(const Call& call, std::ostream* os) {
    const char* const owners[] = {"no owner", "mainWindow", "page"};
    *os << "{\"" << call.text << "\", \"" << call.caption << "\", style 0x" << std::hex << call.style << std::dec
        << ", " << owners[static_cast<int>(call.owner)] << "}";
}

// A message box with OK and no owner, as most of the engine's messages are.
inline Call message(const std::string& caption, const std::string& text) {
    return {text, caption, Prompt::Ok, PromptOwner::none};
}

// MB_OK boxes answer OK without taking a scripted answer; every question and both dialogs take
// the next one (a dialog's answer is a ConflictAnswer value).
class ScriptedPrompt : public InstallPrompt {
public:
    explicit ScriptedPrompt(std::vector<int> answers) : answers_(answers.begin(), answers.end()) {}
    int showMessage(const std::string& text, const std::string& caption, unsigned style, PromptOwner owner) override {
        calls.push_back({text, caption, style, owner});
        return (style & 0xF) == Prompt::Ok ? Prompt::AnswerOk : next();
    }
    ConflictAnswer askLanguageConflict(const std::string& source, const std::string& destination) override {
        calls.push_back({"<language conflict " + source + " " + destination + ">", "", 0, PromptOwner::none});
        return static_cast<ConflictAnswer>(next());
    }
    ConflictAnswer askOverwrite(const std::string& destination) override {
        calls.push_back({"<overwrite " + destination + ">", "", 0, PromptOwner::none});
        return static_cast<ConflictAnswer>(next());
    }
    bool allAnswersUsed() const { return answers_.empty(); }

    std::vector<Call> calls;

private:
    int next() {
        if (answers_.empty()) {
            ADD_FAILURE() << "unscripted question";
            return -1;
        }
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    std::deque<int> answers_;
};

}  // namespace quillset
