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
    if (text.find('[') == std::string::npos) return;
    // The text in two parts: `done`, the beginning that no later replacement changes (the scan
    // goes on after it and it holds no '['), and `rest`, the part still to scan, kept backwards so
    // that its first character is its last byte. A replacement then takes the reference off the
    // end of `rest` and puts the value there instead (backwards), where the scan goes on, without
    // moving the text after it: every character is scanned, moved or removed once, and a text with
    // many references costs its length, not its length for each reference.
    std::string done, rest(text.rbegin(), text.rend());
    done.reserve(text.size());
    for (int replacements = 0; replacements < kMaxReplacements; ++replacements) {
        const std::size_t open = rest.rfind('[');  // the first '[' still to scan
        if (open == std::string::npos) break;
        done.append(rest.rbegin(), rest.rbegin() + static_cast<std::ptrdiff_t>(rest.size() - 1 - open));
        rest.resize(open + 1);
        const std::size_t close = open == 0 ? std::string::npos : rest.rfind(']', open - 1);
        if (close == std::string::npos) break;

        // The name lies between them: rest[open - 1] down to rest[close + 1].
        const std::string name(rest.rbegin() + 1, rest.rend() - static_cast<std::ptrdiff_t>(close + 1));
        const std::string& value = (*this)[name];
        const std::size_t referenceLength = open - close + 1;
        const std::size_t length = done.size() + rest.size();
        if (value.size() > referenceLength && length - referenceLength + value.size() > kMaxSubstitutedLength) break;
        rest.resize(close);
        rest.append(value.rbegin(), value.rend());
    }
    text.assign(done);
    text.append(rest.rbegin(), rest.rend());
}

}  // namespace quillset
