#include "pending_install_steps.h"

namespace quillset {

bool appendSplitPart(std::size_t, std::string& joinFilePath) {
    joinFilePath.clear();
    return false;
}

int replaceLockedFile(const std::string&, const std::string&, const std::string&) { return 1; }

}  // namespace quillset
