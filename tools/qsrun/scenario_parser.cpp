#include "scenario_parser.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "resource_ids.h"

namespace quillset::robot {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The names of Setup.exe's controls and dialog templates, made at build time from
// resources/resource_ids.h and resources/setup.rc (resource_names.cmake). The values are the
// header's own macros, so nothing here can disagree with the program.
struct NamedControl {
    const char* name;
    int id;
};
struct NamedTemplate {
    const char* name;
    std::vector<int> controlIds;  // every control of the template that has an ID of its own
};
#include "resource_names.inc"

// Words of this form are meant as one of those names: a misspelt one is reported as an unknown name.
bool looksLikeResourceName(const std::string& word) {
    return word.rfind("IDC_", 0) == 0 || word.rfind("IDD_", 0) == 0;
}

// What each argument of a step must look like, one letter per position:
//   w any word, c control reference, t control reference or dialog template, i integer,
//   b integer 0..255, s seconds, k key, a answer.
// The last letter repeats when a step takes more arguments than letters (start's program
// arguments); `maxArgs` -1 means no upper limit.
struct StepRule {
    const char* name;
    int minArgs;
    int maxArgs;
    const char* kinds;
};

const StepRule stepRules[] = {
    {"start", 1, -1, "w"},
    {"start-uninstall", 1, 1, "w"},
    {"window", 1, 3, "wwt"},
    {"another-window", 1, 3, "wwt"},
    {"text", 2, 2, "cw"},
    {"text-contains", 2, 2, "cw"},
    {"click", 1, 1, "c"},
    {"type", 2, 2, "cw"},
    {"key", 1, 1, "k"},
    {"close", 0, 0, ""},
    {"enabled", 1, 1, "c"},
    {"disabled", 1, 1, "c"},
    {"checked", 1, 1, "c"},
    {"unchecked", 1, 1, "c"},
    {"visible", 1, 1, "c"},
    {"hidden", 1, 1, "c"},
    {"message", 3, 3, "wwa"},
    {"gone", 1, 1, "w"},
    {"exit", 1, 1, "i"},
    {"windows", 0, 0, ""},
    {"controls", 0, 0, ""},
    {"screenshot", 1, 1, "w"},
    {"delete", 1, 1, "w"},
    {"write", 2, 2, "ww"},
    {"rename", 2, 2, "ww"},
    {"file", 1, 2, "wi"},
    {"no-file", 1, 1, "w"},
    {"kill", 0, 0, ""},
    {"pixel", 5, 6, "iibbbb"},
    {"wait-pixel", 5, 6, "iibbbb"},
    {"pixels", 9, 10, "iiiibbbbii"},
    {"timeout", 1, 1, "s"},
    {"row", 3, 5, "ciwww"},
    {"rows", 2, 2, "ci"},
    {"click-row", 2, 2, "cw"},
    {"free-space", 2, 2, "cw"},
};

const StepRule* findRule(const std::string& name) {
    for (const StepRule& rule : stepRules) {
        if (name == rule.name) return &rule;
    }
    return nullptr;
}

// Checks one argument against its kind letter; returns an empty string or the complaint.
std::string checkArgument(char kind, const std::string& word) {
    int number = 0;
    unsigned long milliseconds = 0;
    ControlRef ref;
    switch (kind) {
        case 'c':
        case 't':
            if (!parseControlRef(word, ref)) {
                return looksLikeResourceName(word)
                           ? "resource_ids.h names no control or dialog template " + quoteWord(word)
                           : "not a control (ID, IDC_ name, Class:N or @Text): " + quoteWord(word);
            }
            if (ref.kind == ControlRef::Kind::Template && kind == 'c') {
                return quoteWord(word) + " is a dialog template, not a control (only window steps name templates)";
            }
            return "";
        case 'i':
            return parseInt(word, number) ? "" : "not an integer: " + quoteWord(word);
        case 'b':
            return parseInt(word, number) && number >= 0 && number <= 255
                       ? ""
                       : "not a value from 0 to 255: " + quoteWord(word);
        case 's':
            return parseSeconds(word, milliseconds) ? "" : "not a number of seconds: " + quoteWord(word);
        case 'k':
            return parseKey(word, number) ? "" : "unknown key: " + quoteWord(word);
        case 'a':
            return parseAnswer(word, number) ? "" : "unknown answer: " + quoteWord(word);
        default:
            return "";
    }
}

std::string checkStep(const Step& step) {
    const StepRule* rule = findRule(step.name);
    if (rule == nullptr) return "unknown step " + quoteWord(step.name);
    const int count = static_cast<int>(step.args.size());
    if (count < rule->minArgs || (rule->maxArgs >= 0 && count > rule->maxArgs)) {
        std::string expected = std::to_string(rule->minArgs);
        if (rule->maxArgs < 0) expected += " or more";
        else if (rule->maxArgs != rule->minArgs) expected += " to " + std::to_string(rule->maxArgs);
        return step.name + " takes " + expected + " argument(s), not " + std::to_string(count);
    }
    const std::size_t kindCount = std::strlen(rule->kinds);
    for (std::size_t i = 0; i < step.args.size() && kindCount > 0; ++i) {
        const char kind = rule->kinds[i < kindCount ? i : kindCount - 1];
        const std::string complaint = checkArgument(kind, step.args[i]);
        if (!complaint.empty()) return complaint;
    }
    return "";
}

}  // namespace

bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
    words.clear();
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (true) {
        while (i < n && isBlank(line[i])) ++i;
        if (i >= n) return true;
        std::string word;
        if (line[i] == '"') {
            ++i;
            while (true) {
                if (i >= n) {
                    error = "unterminated quote";
                    return false;
                }
                const char c = line[i];
                const char next = i + 1 < n ? line[i + 1] : '\0';
                if (c == '"' && next == '"') {
                    word += '"';
                    i += 2;
                } else if (c == '"') {
                    ++i;
                    break;
                } else if (c == '\\' && (next == 'n' || next == 'r' || next == '\\')) {
                    word += next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
                    i += 2;
                } else {
                    word += c;
                    ++i;
                }
            }
            if (i < n && !isBlank(line[i])) {
                error = "text glued to a closing quote";
                return false;
            }
        } else {
            while (i < n && !isBlank(line[i])) {
                if (line[i] == '"') {
                    error = "quote inside an unquoted word";
                    return false;
                }
                word += line[i++];
            }
        }
        words.push_back(word);
    }
}

Scenario parseScenario(const std::string& text) {
    Scenario scenario;
    std::size_t start = 0;
    int lineNumber = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        const std::size_t last = line.find_last_not_of(" \t");

        Step step;
        step.line = lineNumber;
        step.source = line.substr(first, last - first + 1);
        std::vector<std::string> words;
        std::string problem;
        if (splitWords(step.source, words, problem)) {
            step.name = words[0];
            step.args.assign(words.begin() + 1, words.end());
            problem = checkStep(step);
        }
        if (!problem.empty()) {
            scenario.error = "line " + std::to_string(lineNumber) + ": " + problem;
            return scenario;
        }
        scenario.steps.push_back(step);
    }
    return scenario;
}

std::string quoteWord(const std::string& text) {
    std::string quoted = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c == '"') quoted += "\"\"";
        else if (c == '\n') quoted += "\\n";
        else if (c == '\r') quoted += "\\r";
        // A backslash only needs doubling where it would otherwise start an escape.
        else if (c == '\\' && (next == 'n' || next == 'r' || next == '\\')) quoted += "\\\\";
        else quoted += c;
    }
    return quoted + "\"";
}

bool parseControlRef(const std::string& word, ControlRef& ref) {
    if (!word.empty() && word[0] == '@') {
        ref = ControlRef{};
        ref.kind = ControlRef::Kind::Text;
        ref.text = word.substr(1);
        return true;
    }
    if (looksLikeResourceName(word)) {
        for (const NamedControl& named : namedControls) {
            if (word == named.name) {
                ref = ControlRef{};
                ref.id = named.id;
                return true;
            }
        }
        for (const NamedTemplate& named : namedTemplates) {
            if (word == named.name) {
                ref = ControlRef{};
                ref.kind = ControlRef::Kind::Template;
                ref.templateIds = named.controlIds;
                return true;
            }
        }
        return false;
    }
    int number = 0;
    if (parseInt(word, number)) {
        if (number < 0 || number > 0xFFFF) return false;
        ref = ControlRef{};
        ref.id = number;
        return true;
    }
    const std::size_t colon = word.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    if (!parseInt(word.substr(colon + 1), number) || number < 1) return false;
    ref = ControlRef{};
    ref.kind = ControlRef::Kind::ClassIndex;
    ref.className = word.substr(0, colon);
    ref.index = number;
    return true;
}

std::vector<DialogTemplate> dialogTemplates() {
    std::vector<DialogTemplate> templates;
    for (const NamedTemplate& named : namedTemplates) templates.push_back(DialogTemplate{named.name, named.controlIds});
    return templates;
}

bool parseInt(const std::string& word, int& value) {
    const std::size_t digitsStart = !word.empty() && word[0] == '-' ? 1 : 0;
    if (word.size() == digitsStart || word.size() > digitsStart + 10) return false;
    for (std::size_t i = digitsStart; i < word.size(); ++i) {
        if (word[i] < '0' || word[i] > '9') return false;
    }
    const long long parsed = std::strtoll(word.c_str(), nullptr, 10);
    if (parsed < -2147483647LL - 1 || parsed > 2147483647LL) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool parseSeconds(const std::string& word, unsigned long& milliseconds) {
    std::size_t digits = 0;
    std::size_t dots = 0;
    for (const char c : word) {
        if (c >= '0' && c <= '9') ++digits;
        else if (c == '.') ++dots;
        else return false;
    }
    if (digits == 0 || dots > 1) return false;
    const double seconds = std::strtod(word.c_str(), nullptr);
    if (seconds > 86400.0) return false;
    milliseconds = static_cast<unsigned long>(seconds * 1000.0 + 0.5);
    return true;
}

bool parseAnswer(const std::string& word, int& buttonId) {
    static const char* const answers[] = {"OK", "CANCEL", "ABORT", "RETRY", "IGNORE", "YES", "NO"};
    for (int i = 0; i < 7; ++i) {
        if (word == answers[i]) {
            buttonId = i + 1;  // IDOK is 1 ... IDNO is 7, in this order
            return true;
        }
    }
    return false;
}

bool parseKey(const std::string& word, int& virtualKey) {
    static const struct {
        const char* name;
        int code;
    } keys[] = {
        {"ENTER", 0x0D}, {"ESCAPE", 0x1B}, {"TAB", 0x09},  {"SPACE", 0x20}, {"LEFT", 0x25},
        {"UP", 0x26},    {"RIGHT", 0x27},  {"DOWN", 0x28}, {"HOME", 0x24},  {"END", 0x23},
    };
    for (const auto& key : keys) {
        if (word == key.name) {
            virtualKey = key.code;
            return true;
        }
    }
    return false;
}

}  // namespace quillset::robot
