#include "private_folder.h"

#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace quillset {

PrivateFolder::~PrivateFolder() {
    if (folder.empty()) return;
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

bool PrivateFolder::make(const std::string& purpose) {
    std::error_code error;
    const fs::path temp = fs::temp_directory_path(error);
    if (error) return false;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const fs::path candidate = temp / ("qsmedia-" + purpose + "-" + std::to_string(std::random_device{}()));
        if (!fs::create_directory(candidate, error)) continue;  // taken, or the folder cannot be written
        folder = candidate;
        fs::permissions(folder, fs::perms::owner_all, error);
        return !error;
    }
    return false;
}

}  // namespace quillset
