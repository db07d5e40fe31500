#include "folder_short_names.h"

#include "path_text.h"

namespace quillset {

namespace {

// The platform compares names without regard to case. Letters A-Z are folded; every other byte
// from 0x80 on is taken as one and the same, so that two names the platform may take for one
// (an accented letter in its two cases) are never taken for two: at worst a short name is asked of
// the platform that the listing could have told.
std::string folded(const std::string& name) {
    std::string key = name;
    for (char& c : key) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (static_cast<unsigned char>(c) >= 0x80) c = static_cast<char>(0x80);
    }
    return key;
}

}  // namespace

void FolderShortNames::count(const std::string& name, const std::string& shortName, int step) {
    const std::string nameKey = folded(name);
    answering_[nameKey] += step;
    if (!shortName.empty() && folded(shortName) != nameKey) answering_[folded(shortName)] += step;
}

void FolderShortNames::add(const std::string& name, const std::string& shortName) {
    const auto known = shortNames_.find(name);
    if (known != shortNames_.end()) {
        count(name, known->second, -1);
        known->second = shortName;
    } else {
        shortNames_.emplace(name, shortName);
    }
    count(name, shortName, +1);
}

std::string FolderShortNames::shortFormOf(const std::string& name) const {
    const auto known = shortNames_.find(name);
    if (known == shortNames_.end()) return "";
    if (known->second.empty()) return name;
    const auto answering = answering_.find(folded(known->second));
    return answering != answering_.end() && answering->second == 1 ? known->second : "";
}

std::string FolderShortNames::listedShortName(const std::string& name) const {
    const auto known = shortNames_.find(name);
    return known == shortNames_.end() ? "" : known->second;
}

bool listsWholeFolder(const std::string& pattern) {
    const std::string last = fileNameOf(pattern);
    return last == "*" || last == "*.*";
}

}  // namespace quillset
