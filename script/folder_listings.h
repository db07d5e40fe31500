// AddFile's searches answered from one listing per folder. Under Wine each search of the
// platform reads its whole folder (a third of a millisecond for a folder of 100), so a script of
// 10,000 AddFile statements over 100 folders spent seconds before its first page; listed once, the
// folders cost a tenth of a second. Only patterns whose matches the listing tells exactly as the
// platform's search would are answered from it; every other pattern is searched for as it is.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "setup_host.h"

namespace quillset {

// Whether the platform's search for the file-name part `mask` of a pattern finds exactly the
// entries of the folder for which `listingMatches` holds: a name without wildcards ("a.txt", not
// ending in a full stop or a blank, which the platform drops), a name followed by ".*" ("data-01.*",
// which also finds "data-01" itself), "*." followed by an extension ("*.txt"), or the whole folder
// ("*", "*.*"); in printable ASCII, without path characters. The platform compares the long and
// the short name of each entry, letters in either case.
bool listingAnswers(const std::string& mask);

// Whether the search for `mask` (one that listingAnswers) finds the entry.
bool listingMatches(const std::string& mask, const FoundFile& entry);

class FolderListings {
public:
    // The platform's search: the entries matching a pattern, in its order.
    using Search = std::function<std::vector<FoundFile>(const std::string& pattern)>;
    explicit FolderListings(Search search) : search_(std::move(search)) {}

    // The entries matching `pattern`, in the platform's order: from the folder's listing (made
    // with "*" the first time the folder is asked for) or from a search of their own.
    std::vector<FoundFile> find(const std::string& pattern);

    // Forgets every listing: the folders may have changed (a disk swapped while a page or a
    // message was shown).
    void forget() { listings_.clear(); }

private:
    struct Listing {
        std::vector<FoundFile> entries;
        // The entries by their long and short names in upper case, in listing order: a script that
        // names each of the 10,000 files of one folder looks each name up, not the whole folder.
        std::unordered_map<std::string, std::vector<std::size_t>> byName;
    };
    const Listing& listingOf(const std::string& folder);

    Search search_;
    std::map<std::string, Listing> listings_;  // by the folder's text, "\" at its end
};

}  // namespace quillset
