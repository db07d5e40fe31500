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
    // kMaxSubstitutedLength; the text keeps every replacement made up to that point. 64 KiB is more
    // than any path, message box or edit control of the platform takes, and it keeps what one
    // statement can store (a message, a control's text) small: a few kilobytes of script that
    // insert a doubled value again and again cannot grow into gigabytes.
    static constexpr int kMaxReplacements = 10000;
    static constexpr std::size_t kMaxSubstitutedLength = 64u << 10;

    // All names and values together are held below this size. A real script stays far below it;
    // it stops a hostile one from doubling a value into gigabytes through a few kilobytes of
    // statements. At the limit, an assignment that would pass it is not made and a lookup of an
    // unknown name no longer adds the name.
    static constexpr std::size_t kMaxTotalSize = 16u << 20;

    // The variable's value. A name not in the table is added with the empty value (the table's
    // limit permitting). Names are case-sensitive; any text is a name.
    const std::string& operator[](const std::string& name);

    // Sets the variable. Returns false, and leaves the table as it was, when the names and values
    // together would pass kMaxTotalSize.
    bool set(const std::string& name, const std::string& value);

    std::size_t size() const { return values_.size(); }

    // The bytes of all names and values together.
    std::size_t totalSize() const { return totalSize_; }

    // All variables, ordered byte-wise by name.
    const std::map<std::string, std::string>& entries() const { return values_; }

    // Replaces every [NAME] reference in `text` by the variable's value, again and again from the
    // start of the changed text, so references brought in by a value are replaced too. A name runs
    // to the first `]` after its `[`; a `[` without a later `]` ends the substitution.
    void substituteVariables(std::string& text);

private:
    std::map<std::string, std::string> values_;
    std::size_t totalSize_ = 0;
};

}  // namespace quillset
