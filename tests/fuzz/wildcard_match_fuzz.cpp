// The wildcard matcher and the name order of qscheck's file search over arbitrary patterns and
// names. Input: the pattern, a NUL byte, the name.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "wildcard_match.h"

using namespace quillset;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string pattern = input.substr(0, nul);
    const std::string name = nul == std::string::npos ? "" : input.substr(nul + 1);

    const bool matches = matchesWindowsWildcard(pattern, name);
    // A name without wildcards matches itself, "*" and "*.*" match every name, and case never
    // decides a match.
    if (name.find_first_of("*?") == std::string::npos && !matchesWindowsWildcard(name, name)) std::abort();
    if (!matchesWindowsWildcard("*", name) || !matchesWindowsWildcard("*.*", name)) std::abort();
    std::string upper = name;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (matchesWindowsWildcard(pattern, upper) != matches) std::abort();

    // The order is strict: never both ways, never a name before itself.
    if (windowsNameLess(pattern, pattern) || (windowsNameLess(pattern, name) && windowsNameLess(name, pattern)))
        std::abort();
    return 0;
}
