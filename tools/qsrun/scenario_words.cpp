#include "scenario_words.h"

#include <cstdlib>

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

// IDOK is 1 ... IDNO is 7, in this order.
const char* const answerNames[] = {"OK", "CANCEL", "ABORT", "RETRY", "IGNORE", "YES", "NO"};
constexpr int answerCount = sizeof answerNames / sizeof answerNames[0];

}  // namespace

bool looksLikeResourceName(const std::string& word) {
    return word.rfind("IDC_", 0) == 0 || word.rfind("IDD_", 0) == 0;
}

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

ControlRef ControlRef::withId(int id, const std::string& word) {
    ControlRef ref;
    ref.id = id;
    ref.word = word;
    return ref;
}

ControlRef ControlRef::ofClass(const std::string& className, int index) {
    ControlRef ref;
    ref.kind = Kind::ClassIndex;
    ref.className = className;
    ref.index = index;
    ref.word = className + ":" + std::to_string(index);
    return ref;
}

namespace {

// The reference a word stands for, before the word itself is kept with it.
bool readControlRef(const std::string& word, ControlRef& ref) {
    ref = ControlRef{};
    if (!word.empty() && word[0] == '@') {
        ref.kind = ControlRef::Kind::Text;
        ref.text = word.substr(1);
        return true;
    }
    if (looksLikeResourceName(word)) {
        for (const NamedControl& named : namedControls) {
            if (word == named.name) {
                ref.id = named.id;
                return true;
            }
        }
        for (const NamedTemplate& named : namedTemplates) {
            if (word == named.name) {
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
        ref.id = number;
        return true;
    }
    const std::size_t colon = word.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    if (!parseInt(word.substr(colon + 1), number) || number < 1) return false;
    ref.kind = ControlRef::Kind::ClassIndex;
    ref.className = word.substr(0, colon);
    ref.index = number;
    return true;
}

}  // namespace

bool parseControlRef(const std::string& word, ControlRef& ref) {
    ControlRef read;
    if (!readControlRef(word, read)) return false;
    read.word = word;
    ref = read;
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
    for (int i = 0; i < answerCount; ++i) {
        if (word == answerNames[i]) {
            buttonId = i + 1;
            return true;
        }
    }
    return false;
}

std::string answerName(int buttonId) {
    return buttonId >= 1 && buttonId <= answerCount ? answerNames[buttonId - 1] : "";
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
