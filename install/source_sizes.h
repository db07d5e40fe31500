// The size each declared file will have once installed, for the sections page's size column.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "setup_state.h"
#include "source_retrieval.h"

namespace quillset {

// Measures file entries, one opening of the sections page at a time, in script order.
class SourceSizes {
public:
    explicit SourceSizes(SetupState& state) : state_(state) {}

    // The uncompressed size of the entry's source (a compressed source counts with its expanded
    // size), 0 when it cannot be examined. A split file counts once, at its last part: every part
    // is appended to the file's join file (which may ask for a disk) and the joined file is
    // measured and removed; earlier parts count 0.
    std::uint32_t FileEntryUncompressedSize(std::size_t index);

    // The user confirmed quitting at a disk prompt; later entries are no longer measured.
    bool quitRequested() const { return quitRequested_; }

private:
    SetupState& state_;
    SplitFileJoiner joiner_;
    bool quitRequested_ = false;
};

// Examines many sources on a thread of its own, so that a page opens at once and stays usable
// while thousands of files are measured (under Wine each one costs about 0.3 ms). Only plain
// files: split files may ask for a disk and are measured by the page itself.
class SourceSizeThread {
public:
    // Measures every path (an empty path counts 0 without a look) and then posts `doneMessage` to
    // `window`.
    SourceSizeThread(std::vector<std::string> paths, HWND window, UINT doneMessage);
    // Stops the measuring if it still runs and waits for the thread.
    ~SourceSizeThread();
    SourceSizeThread(const SourceSizeThread&) = delete;
    SourceSizeThread& operator=(const SourceSizeThread&) = delete;

    // The sizes, path by path; waits for the thread first (call it after `doneMessage`).
    const std::vector<std::uint32_t>& sizes();

private:
    static DWORD WINAPI measure(void* self);

    std::vector<std::string> paths_;
    std::vector<std::uint32_t> sizes_;
    HWND window_;
    UINT doneMessage_;
    std::atomic<bool> stop_{false};
    HANDLE thread_ = nullptr;
};

// The expanded size of a file as the platform's installer would write it, 0 when it cannot be
// examined.
std::uint32_t uncompressedSize(const std::string& path);

}  // namespace quillset
