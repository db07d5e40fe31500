#include "folder_listings.h"

#include <algorithm>

#include "path_text.h"

namespace quillset {

namespace {

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Letters compared in either case. A letter outside ASCII never equals an ASCII one in the
// platform's comparison either, and masks are ASCII.
bool sameLetters(const char* a, const char* b, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
        if (upperAscii(a[i]) != upperAscii(b[i])) return false;
    return true;
}

std::string upperAsciiOf(std::string text) {
    for (char& c : text) c = upperAscii(c);
    return text;
}

bool isLiteral(const std::string& text) {
    return !text.empty() && text.find_first_of("*?") == std::string::npos;
}

enum class MaskForm { unanswered, wholeFolder, name, nameAnyExtension, anyNameExtension };

MaskForm formOf(const std::string& mask) {
    if (mask.empty()) return MaskForm::unanswered;
    for (const char c : mask)
        if (c < 0x20 || c > 0x7E || std::string("\\/:<>\"|").find(c) != std::string::npos) return MaskForm::unanswered;
    if (mask == "*" || mask == "*.*") return MaskForm::wholeFolder;
    // The platform drops full stops and blanks at the end of a name.
    const auto cleanEnd = [](const std::string& text) { return text.back() != '.' && text.back() != ' '; };
    if (isLiteral(mask)) return cleanEnd(mask) ? MaskForm::name : MaskForm::unanswered;
    if (mask.size() > 2 && mask.compare(mask.size() - 2, 2, ".*") == 0) {
        const std::string stem = mask.substr(0, mask.size() - 2);
        if (isLiteral(stem) && cleanEnd(stem)) return MaskForm::nameAnyExtension;
    }
    if (mask.size() > 2 && mask.compare(0, 2, "*.") == 0) {
        const std::string extension = mask.substr(2);
        if (isLiteral(extension) && extension.find('.') == std::string::npos && cleanEnd(extension))
            return MaskForm::anyNameExtension;
    }
    return MaskForm::unanswered;
}

bool nameMatches(MaskForm form, const std::string& mask, const std::string& name) {
    switch (form) {
        case MaskForm::wholeFolder: return true;
        case MaskForm::name: return mask.size() == name.size() && sameLetters(mask.data(), name.data(), name.size());
        case MaskForm::nameAnyExtension: {
            // "stem.*": the stem itself, or the stem, a full stop and anything.
            const std::size_t stem = mask.size() - 2;
            return name.size() >= stem && sameLetters(mask.data(), name.data(), stem) &&
                   (name.size() == stem || name[stem] == '.');
        }
        case MaskForm::anyNameExtension: {
            // "*.ext": any name ending in ".ext", the name ".ext" too.
            const std::size_t suffix = mask.size() - 1;
            return name.size() >= suffix && sameLetters(mask.data() + 1, name.data() + name.size() - suffix, suffix);
        }
        case MaskForm::unanswered: break;
    }
    return false;
}

}  // namespace

bool listingAnswers(const std::string& mask) { return formOf(mask) != MaskForm::unanswered; }

bool listingMatches(const std::string& mask, const FoundFile& entry) {
    const MaskForm form = formOf(mask);
    return nameMatches(form, mask, entry.name) ||
           (!entry.shortName.empty() && nameMatches(form, mask, entry.shortName));
}

const FolderListings::Listing& FolderListings::listingOf(const std::string& folder) {
    auto listing = listings_.find(folder);
    if (listing != listings_.end()) return listing->second;
    Listing made;
    made.entries = search_(folder + "*");
    for (std::size_t i = 0; i < made.entries.size(); ++i) {
        const FoundFile& entry = made.entries[i];
        made.byName[upperAsciiOf(entry.name)].push_back(i);
        const std::string shortName = upperAsciiOf(entry.shortName);
        if (!shortName.empty() && shortName != upperAsciiOf(entry.name)) made.byName[shortName].push_back(i);
    }
    return listings_.emplace(folder, std::move(made)).first->second;
}

std::vector<FoundFile> FolderListings::find(const std::string& pattern) {
    const std::string folder = folderPrefixOf(pattern);
    const std::string mask = fileNameOf(pattern);
    const MaskForm form = formOf(mask);
    if (form == MaskForm::unanswered || folder.find_first_of("*?") != std::string::npos) return search_(pattern);
    const Listing& listing = listingOf(folder);
    std::vector<FoundFile> found;
    if (form == MaskForm::name) {
        const auto named = listing.byName.find(upperAsciiOf(mask));
        if (named == listing.byName.end()) return found;
        // One entry's long name and another's short name may both be the mask: listing order.
        std::vector<std::size_t> indexes = named->second;
        std::sort(indexes.begin(), indexes.end());
        for (const std::size_t i : indexes) found.push_back(listing.entries[i]);
        return found;
    }
    for (const FoundFile& entry : listing.entries)
        if (listingMatches(mask, entry)) found.push_back(entry);
    return found;
}

}  // namespace quillset
