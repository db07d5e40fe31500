// Directory listings kept for a whole dry run. A script that names each of a folder's 10,000 files
// in a statement of its own would otherwise have the folder listed, and every name in it matched,
// 10,000 times. A dry run changes no file, so a folder's first listing holds for the rest of it.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "setup_host.h"

namespace quillset {

class DirectoryCache {
public:
    // Lists every entry of a directory (unsorted, "." and ".." included if the platform gives them);
    // nothing when it cannot be read.
    using Lister = std::function<std::vector<FoundFile>(const std::string& directory)>;

    explicit DirectoryCache(Lister list) : list_(std::move(list)) {}

    // The entries of `directory` whose names match `namePattern` as matchesWindowsWildcard decides,
    // in listing order. The directory is listed the first time it is asked for.
    std::vector<FoundFile> find(const std::string& directory, const std::string& namePattern);

private:
    struct Listing {
        std::vector<FoundFile> entries;
        // Entry indices by folded name, in listing order: a pattern without wildcards is looked up.
        std::unordered_map<std::string, std::vector<std::size_t>> byFoldedName;
    };

    Lister list_;
    std::map<std::string, Listing> listings_;  // by the directory as spelt in the pattern
};

}  // namespace quillset
