#include "lint_script.h"

#include <algorithm>

namespace quillset {

LintScript::LintScript(std::string text, const NameCharacterTest& isNameCharacter)
    : text_(std::move(text)), reader_(isNameCharacter, nullptr), isNameCharacter_(isNameCharacter) {
    reader_.tokenize(text_, [this](ReaderMark mark, std::size_t offset) {
        if (mark == ReaderMark::commandStarted) {
            parts_.emplace_back();
            parts_.back().start = offset;
            return;
        }
        StatementParts& parts = parts_.back();
        switch (mark) {
            case ReaderMark::listOpened: parts.listOpens.push_back(offset); break;
            case ReaderMark::listClosed: parts.listCloses.push_back(offset); break;
            case ReaderMark::argumentOpened: parts.argumentQuotes.push_back(offset); break;
            default: parts.ignored.push_back(offset); break;
        }
    });
    byProduct_.assign(parts_.size(), false);
    lineStarts_.push_back(0);
    for (std::size_t i = 0; i < text_.size(); ++i)
        if (text_[i] == '\n') lineStarts_.push_back(i + 1);
}

bool LintScript::isNameCharacter(std::size_t offset) const {
    return offset < text_.size() && isNameCharacter_(static_cast<unsigned char>(text_[offset]));
}

const CommandSignature* LintScript::command(std::size_t statement) const {
    return findKnownCommand(statements()[statement].command);
}

bool LintScript::wellFormed(std::size_t statement) const {
    const CommandSignature* known = command(statement);
    return known != nullptr && known->argumentCount == statements()[statement].arguments.size();
}

int LintScript::lineAt(std::size_t offset) const {
    return static_cast<int>(std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset) - lineStarts_.begin());
}

std::size_t LintScript::argumentOffset(std::size_t statement, std::size_t argument, std::size_t index) const {
    if (index == std::string::npos) return parts_[statement].argumentQuotes[argument];
    return ArgumentOffsets(*this, statement, argument).at(index);
}

ArgumentOffsets::ArgumentOffsets(const LintScript& script, std::size_t statement, std::size_t argument)
    : text_(script.text()), offset_(script.parts(statement).argumentQuotes[argument] + 1) {}

std::size_t ArgumentOffsets::at(std::size_t index) {
    for (; index_ < index && offset_ < text_.size(); ++index_)
        offset_ += text_[offset_] == '"' ? 2 : 1;  // inside an argument a quote stands doubled
    return offset_;
}

LintFinding LintScript::finding(std::size_t offset, LintSeverity severity, const char* check,
                                const std::string& message) const {
    LintFinding finding;
    finding.line = lineAt(offset);
    finding.column = static_cast<int>(offset - lineStarts_[static_cast<std::size_t>(finding.line - 1)]) + 1;
    finding.severity = severity;
    finding.check = check;
    finding.message = message;
    return finding;
}

void LintScript::add(std::size_t offset, LintSeverity severity, const char* check, const std::string& message) {
    findings_.emplace_back(offset, finding(offset, severity, check, message));
}

void LintScript::error(std::size_t offset, const char* check, const std::string& message) {
    add(offset, LintSeverity::error, check, message);
}

void LintScript::warn(std::size_t statement, std::size_t offset, const char* check, const std::string& message) {
    if (byProduct_[statement]) return;
    // The statement's number comes first and a check's name holds no line end: no two keys mix.
    std::string key = std::to_string(statement) + '\n' + check + '\n' + message;
    const auto told = warnings_.emplace(std::move(key), findings_.size());
    if (told.second) {
        add(offset, LintSeverity::warning, check, message);
        return;
    }
    std::pair<std::size_t, LintFinding>& first = findings_[told.first->second];
    ++first.second.count;
    if (offset < first.first) {
        const int count = first.second.count;
        first = {offset, finding(offset, LintSeverity::warning, check, message)};
        first.second.count = count;
    }
}

std::vector<LintFinding> LintScript::takeFindings() {
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<LintFinding> findings;
    for (auto& entry : findings_) findings.push_back(std::move(entry.second));
    findings_.clear();
    warnings_.clear();
    return findings;
}

std::string quoted(const std::string& text) {
    std::string shown = text.size() > 40 ? text.substr(0, 40) + "..." : text;
    std::replace(shown.begin(), shown.end(), '\n', ' ');
    return "'" + shown + "'";
}

}  // namespace quillset
