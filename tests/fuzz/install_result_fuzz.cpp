// The decision over the version-aware installer's result: arbitrary result bits, disk number and
// "install all" flag, and the user's answers to whatever it asks. Input: 4 bytes of bits, 2 of
// disk number, 1 flag byte, then one byte per answer (a box that runs out of answers fails, 0).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "install_result.h"

using namespace quillset;

namespace {

class ScriptedPrompt : public InstallPrompt {
public:
    ScriptedPrompt(const std::uint8_t* answers, std::size_t count) : answers_(answers), count_(count) {}
    int showMessage(const std::string& text, const std::string&, unsigned, PromptOwner) override {
        if (text.empty()) std::abort();
        return next();
    }
    ConflictAnswer askLanguageConflict(const std::string& source, const std::string& destination) override {
        if (source.empty() || destination.empty()) std::abort();
        return static_cast<ConflictAnswer>(next() % 4 - 1);
    }
    // The overwrite question belongs to the non-shared way, never to the result table.
    ConflictAnswer askOverwrite(const std::string&) override { std::abort(); }
    std::size_t asked = 0;

private:
    int next() { return asked < count_ ? answers_[asked++] % 9 : (++asked, 0); }
    const std::uint8_t* answers_;
    std::size_t count_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 7) return 0;
    std::uint32_t bits;
    std::int16_t disk;
    std::memcpy(&bits, data, 4);
    std::memcpy(&disk, data + 4, 2);
    ScriptedPrompt prompt(data + 7, size - 7);
    const InstallingFile file{"demo.dll", disk, "A:\\demo.dll", "C:\\windows\\system32\\demo.dll"};
    bool installAll = (data[6] & 1) != 0;
    const bool forced = (data[6] & 2) != 0;
    const InstallOutcome outcome = interpretInstallResult(bits, forced, file, installAll, prompt);

    // Installed exactly when there is nothing to report. Once the answers ran out, at most one box
    // per row of the table follows: a failed disk prompt ends the file rather than asking again.
    if ((outcome == InstallOutcome::Installed) != (bits == 0)) std::abort();
    // Only a plain call is repeated forced; only a forced one has installed over a conflict.
    if (outcome == (forced ? InstallOutcome::Force : InstallOutcome::InstalledAnyway)) std::abort();
    if (prompt.asked > size - 7 + 20) std::abort();
    return 0;
}
