// What a folder's listing tells of its entries' short (8.3) names, so that a short path need not
// be asked of the platform for each file.
#pragma once

#include <string>
#include <unordered_map>

namespace quillset {

// The names of one folder, as a listing gives them: each entry's name and the short name the file
// system keeps for it (empty where it keeps none: a name that is itself a valid short name, or a
// volume without short names).
//
// A short name is trusted only where no other entry of the folder answers to it. Wine makes short
// names from four letters of the name and a hash, so in a large folder two files can share one
// (file-00118.dat and file-01002.dat are both FILE~IHD.DAT), and opened by it the first of them
// answers. Windows keeps them unique, so there every short name is trusted.
class FolderShortNames {
public:
    // An entry of the listing, or a file that came into the folder since; an entry of the same
    // name is replaced (a file installed over another gets a short name of its own).
    void add(const std::string& name, const std::string& shortName);

    // The entry's last part in a short path, where the listing tells it for sure: its short name
    // when no other entry answers to it, its name where it has no short name. Empty when the
    // listing cannot tell (no entry of that name, or a short name shared with another entry): the
    // platform must then be asked.
    std::string shortFormOf(const std::string& name) const;

    // The entry's short name as listed (empty where it has none or is not listed).
    std::string listedShortName(const std::string& name) const;

    // How many entries are listed.
    std::size_t size() const { return shortNames_.size(); }

private:
    void count(const std::string& name, const std::string& shortName, int step);

    std::unordered_map<std::string, std::string> shortNames_;  // by the exact name
    std::unordered_map<std::string, int> answering_;  // how many entries answer to a name, by its folded form
};

// Whether a search pattern's last part lists every entry of its folder ("*" or "*.*").
bool listsWholeFolder(const std::string& pattern);

}  // namespace quillset
