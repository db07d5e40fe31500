#include "variables.h"

namespace quillset {

const std::string& VariableTable::operator[](const std::string& name) {
    const auto found = values_.find(name);
    if (found != values_.end()) return found->second;
    static const std::string kEmpty;
    if (name.size() > kMaxTotalSize - totalSize_) return kEmpty;
    totalSize_ += name.size();
    return values_[name];
}

bool VariableTable::set(const std::string& name, const std::string& value) {
    const auto found = values_.find(name);
    const std::size_t oldSize = found == values_.end() ? 0 : name.size() + found->second.size();
    const std::size_t newSize = name.size() + value.size();
    if (newSize > oldSize && newSize - oldSize > kMaxTotalSize - totalSize_) return false;
    totalSize_ = totalSize_ - oldSize + newSize;
    values_[name] = value;
    return true;
}

void VariableTable::substituteVariables(std::string& text) {
    // The scan may resume at the last replaced reference instead of the start of the text: the
    // text before it held no `[` and is not changed by the replacement, so the first `[` cannot lie
    // there. This keeps long texts linear without changing the result.
    std::size_t from = 0;
    for (int replacements = 0; replacements < kMaxReplacements; ++replacements) {
        const std::size_t open = text.find('[', from);
        if (open == std::string::npos) return;
        const std::size_t close = text.find(']', open + 1);
        if (close == std::string::npos) return;

        const std::string& value = (*this)[text.substr(open + 1, close - open - 1)];
        const std::size_t referenceLength = close - open + 1;
        if (value.size() > referenceLength &&
            text.size() - referenceLength + value.size() > kMaxSubstitutedLength)
            return;
        text.replace(open, referenceLength, value);
        from = open;
    }
}

}  // namespace quillset
