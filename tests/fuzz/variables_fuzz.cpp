// Variable substitution over arbitrary variables and text, as a script sets them and refers to
// them. Input: NAME=VALUE lines (split at the first '='), an empty line, then the text to substitute.
// The result must be the one of the plain rule the substitution keeps to in linear time: replace
// the first reference, then scan again from where it was.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "variables.h"

using namespace quillset;

namespace {

// The substitution as the rule reads, one replacement in place after the other.
std::string substitutedByTheRule(VariableTable& variables, std::string text) {
    std::size_t from = 0;
    for (int replacements = 0; replacements < VariableTable::kMaxReplacements; ++replacements) {
        const std::size_t open = text.find('[', from);
        if (open == std::string::npos) break;
        const std::size_t close = text.find(']', open + 1);
        if (close == std::string::npos) break;
        const std::string& value = variables[text.substr(open + 1, close - open - 1)];
        const std::size_t referenceLength = close - open + 1;
        if (value.size() > referenceLength &&
            text.size() - referenceLength + value.size() > VariableTable::kMaxSubstitutedLength)
            break;
        text.replace(open, referenceLength, value);
        from = open;
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    VariableTable variables;
    std::size_t at = 0;
    while (at < input.size()) {
        const std::size_t end = std::min(input.find('\n', at), input.size());
        if (end == at) {  // the empty line: the text follows
            ++at;
            break;
        }
        const std::string line = input.substr(at, end - at);
        const std::size_t equals = line.find('=');
        // Values are substituted before they are stored, as SetVariable does.
        std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
        variables.substituteVariables(value);
        variables.set(line.substr(0, equals), value);
        at = end + 1;
    }
    std::string text = at < input.size() ? input.substr(at) : "";
    const std::size_t before = text.size();
    VariableTable byTheRule = variables;
    const std::string expected = substitutedByTheRule(byTheRule, text);
    variables.substituteVariables(text);
    // The same text, and the same names added by reading them.
    if (text != expected || variables.entries() != byTheRule.entries()) std::abort();

    // The limits that keep a hostile script from growing texts and the table without end.
    if (text.size() > before && text.size() > VariableTable::kMaxSubstitutedLength) std::abort();
    if (variables.totalSize() > VariableTable::kMaxTotalSize) std::abort();
    return 0;
}
