// Setup variables: named strings shared by the whole run, referred to in script texts as [NAME].
#pragma once

#include <cstddef>
#include <map>
#include <string>

namespace quillset {

class VariableTable {
public:
    // A reference that keeps inserting itself ("[DP]" inside the value of DP, directly or through
    // other variables) would grow the text without end. Substitution therefore stops after this
    // many replacements, or before a replacement that would make the text longer than
    // kMaxSubstitutedLength; the text keeps every replacement made up to that point.
    static constexpr int kMaxReplacements = 10000;
    static constexpr std::size_t kMaxSubstitutedLength = 1u << 20;

    // The variable's value, created empty when absent. Names are case-sensitive; any text is a name.
    std::string& operator[](const std::string& name) { return values_[name]; }

    std::size_t size() const { return values_.size(); }

    // All variables, ordered byte-wise by name.
    const std::map<std::string, std::string>& entries() const { return values_; }

    // Replaces every [NAME] reference in `text` by the variable's value, again and again from the
    // start of the changed text, so references brought in by a value are replaced too. A name runs
    // to the first `]` after its `[`; a `[` without a later `]` ends the substitution.
    void substituteVariables(std::string& text);

private:
    std::map<std::string, std::string> values_;
};

}  // namespace quillset
