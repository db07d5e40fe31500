#include "directory_cache.h"

#include "wildcard_match.h"

namespace quillset {

std::vector<FoundFile> DirectoryCache::find(const std::string& directory, const std::string& namePattern) {
    auto cached = listings_.find(directory);
    if (cached == listings_.end()) {
        Listing listing;
        listing.entries = list_(directory);
        for (std::size_t i = 0; i < listing.entries.size(); ++i)
            listing.byFoldedName[foldedName(listing.entries[i].name)].push_back(i);
        cached = listings_.emplace(directory, std::move(listing)).first;
    }
    const Listing& listing = cached->second;

    std::vector<FoundFile> found;
    if (isLiteralPattern(namePattern)) {
        const auto same = listing.byFoldedName.find(foldedName(namePattern));
        if (same != listing.byFoldedName.end())
            for (std::size_t i : same->second) found.push_back(listing.entries[i]);
        return found;
    }
    for (const FoundFile& entry : listing.entries)
        if (matchesWindowsWildcard(namePattern, entry.name)) found.push_back(entry);
    return found;
}

}  // namespace quillset
