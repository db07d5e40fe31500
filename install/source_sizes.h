// The size each declared file will have once installed, for the sections page's size column.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "install_prompt.h"
#include "setup_state.h"
#include "source_retrieval.h"

namespace quillset {

// Measures file entries, one opening of the sections page at a time, in script order. The disk
// prompts of split files are asked through the page's `prompt`.
class SourceSizes {
public:
    SourceSizes(SetupState& state, InstallPrompt& prompt) : state_(state), prompt_(prompt) {}

    // The uncompressed size of the entry's source (a compressed source counts with its expanded
    // size), 0 when it cannot be examined. A split file counts once, at its last part: every part
    // is appended to the file's join file (which may ask for a disk) and the joined file is
    // measured and removed; earlier parts count 0.
    std::uint32_t FileEntryUncompressedSize(std::size_t index);

    // The user confirmed quitting at a disk prompt; later entries are no longer measured.
    bool quitRequested() const { return quitRequested_; }

private:
    SetupState& state_;
    InstallPrompt& prompt_;
    SplitFileJoiner joiner_;
    bool quitRequested_ = false;
};

// Examines many sources on a thread of its own, so that a page opens at once and stays usable
// while thousands of files are measured (under Wine each one costs 0.06 to 0.1 ms). Only plain
// files: split files may ask for a disk and are measured by the page itself.
class SourceSizeThread {
public:
    // Measures every path (an empty path counts 0 without a look) and then posts `doneMessage` to
    // `window`.
    SourceSizeThread(std::vector<std::string> paths, HWND window, UINT doneMessage);
    // Stops the measuring: the thread ends after the file it is examining. A file on a slow or
    // vanished medium can keep it there for long; the page is not held longer than kStopWait, and
    // the thread finishes on its own, with the work it owns, and posts nothing.
    ~SourceSizeThread();
    SourceSizeThread(const SourceSizeThread&) = delete;
    SourceSizeThread& operator=(const SourceSizeThread&) = delete;

    // The sizes, path by path; waits for the thread first (call it after `doneMessage`).
    const std::vector<std::uint32_t>& sizes();

    static constexpr DWORD kStopWait = 3000;  // milliseconds

private:
    // What the thread works on. It holds a reference of its own, so the work outlives a page that
    // stopped waiting for it.
    struct Work {
        std::vector<std::string> paths;
        std::vector<std::uint32_t> sizes;
        HWND window;
        UINT doneMessage;
        std::atomic<bool> stop{false};
    };
    static DWORD WINAPI measure(void* work);

    std::shared_ptr<Work> work_;
    HANDLE thread_ = nullptr;
};

// The expanded size of a file as the platform's installer would write it, 0 when it cannot be
// examined.
std::uint32_t uncompressedSize(const std::string& path);

}  // namespace quillset
