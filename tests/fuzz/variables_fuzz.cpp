// Variable substitution over arbitrary variables and text, as a script sets them and refers to
// them. Input: NAME=VALUE lines (split at the first '='), an empty line, then the text to substitute.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "variables.h"

using namespace quillset;

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
    variables.substituteVariables(text);

    // The limits that keep a hostile script from growing texts and the table without end.
    if (text.size() > before && text.size() > VariableTable::kMaxSubstitutedLength) std::abort();
    if (variables.totalSize() > VariableTable::kMaxTotalSize) std::abort();
    return 0;
}
