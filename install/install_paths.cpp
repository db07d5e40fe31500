#include "install_paths.h"

namespace quillset {

void collapseDoubleBackslashes(std::string& path) {
    // A pair becomes its second backslash and the scan goes on behind the pair, so that backslash
    // is not paired again.
    std::string collapsed;
    collapsed.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        collapsed += path[i];
        if (path[i] == '\\' && i + 1 < path.size() && path[i + 1] == '\\') ++i;
    }
    path = collapsed;
}

}  // namespace quillset
