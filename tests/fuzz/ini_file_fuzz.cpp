// The INI model over an arbitrary Wininit.ini: loaded, given our entries as the locked-file
// replacement and the uninstaller's self-removal add them, saved.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ini_file.h"

using namespace quillset;

namespace {
const std::string kSection = "rename";
const std::string kTarget = "C:\\WINDOWS\\SYSTEM\\SHARED~1.DLL", kCopy = "C:\\WINDOWS\\TEMP\\SHARED~1.TMP";
const std::string kRemoved = "C:\\PROGRA~1\\DEMO\\QSUNIN~1.EXE";
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    IniFile original;
    original.loadText(bytes);
    // A file that existed is saved as it was, byte for byte.
    if (!bytes.empty() && original.saveText() != bytes) std::abort();

    IniFile changed = original;
    changed.setEntry(kSection, kTarget, kCopy);
    changed.addEntry(kSection, "NUL", kRemoved);

    // Read back the way Windows reads it at start-up: our entries are in the section we meant, and
    // every other program's entries are as they were.
    IniFile reread;
    reread.loadText(changed.saveText());
    auto expected = original.sections();
    expected[kSection].entries[kTarget] = kCopy;
    expected[kSection].entries["NUL"] = kRemoved;
    const auto& actual = reread.sections();
    if (actual.size() != expected.size()) std::abort();
    for (const auto& [name, section] : expected) {
        const auto found = actual.find(name);
        if (found == actual.end() || found->second.entries != section.entries) std::abort();
    }
    return 0;
}
