#include <gtest/gtest.h>

#include "install_paths.h"

namespace quillset {
namespace {

TEST(InstallPathsTest, CollapseDoubleBackslashes) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Program Files\\Demo\\\\readme.txt", "C:\\Program Files\\Demo\\readme.txt"},
        {"\\\\server\\share\\x", "\\server\\share\\x"},
        {"a\\\\\\b", "a\\\\b"},          // three become two
        {"a\\\\\\\\b", "a\\\\b"},        // four become two
        {"a\\\\\\\\\\b", "a\\\\\\b"},    // five become three
        {"trailing\\\\", "trailing\\"},
        {"single\\slash", "single\\slash"},
        {"", ""},
    };
    for (auto [path, expected] : cases) {
        collapseDoubleBackslashes(path);
        EXPECT_EQ(path, expected);
    }
}

}  // namespace
}  // namespace quillset
