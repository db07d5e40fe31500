#include "source_sizes.h"

#include <windows.h>
#include <setupapi.h>

#include "install_paths.h"
#include "win32_install_prompt.h"

namespace quillset {

std::uint32_t uncompressedSize(const std::string& path) {
    PSTR actualName = nullptr;
    DWORD sourceSize = 0, targetSize = 0;
    UINT compression = 0;
    if (SetupGetFileCompressionInfoA(path.c_str(), &actualName, &sourceSize, &targetSize, &compression) !=
        ERROR_SUCCESS)
        return 0;
    LocalFree(actualName);
    return targetSize;
}

std::uint32_t SourceSizes::FileEntryUncompressedSize(std::size_t index) {
    if (quitRequested_) return 0;
    InstallFileEntry entry = state_.files[index];
    if (!entry.splitPart) return uncompressedSize(entry.sourcePath);

    // The join file is named as the installation will name it, so that the run starts it afresh.
    state_.variables.substituteVariables(entry.destinationPath);
    collapseDoubleBackslashes(entry.destinationPath);
    Win32InstallPrompt prompt(static_cast<HINSTANCE>(state_.session.instance),
                              static_cast<HWND>(state_.session.mainWindow), state_.run.installAll);
    const SplitPartResult appended = joiner_.addPart(entry, entry.destinationPath, prompt);
    if (appended == SplitPartResult::quit) quitRequested_ = true;
    if (!entry.lastPart || appended == SplitPartResult::quit) return 0;
    const std::string joinFile = joiner_.joinFileOf(entry.destinationPath);
    const std::uint32_t size = uncompressedSize(joinFile);
    DeleteFileA(joinFile.c_str());
    return size;
}

SourceSizeThread::SourceSizeThread(std::vector<std::string> paths, HWND window, UINT doneMessage)
    : paths_(std::move(paths)), sizes_(paths_.size(), 0), window_(window), doneMessage_(doneMessage) {
    thread_ = CreateThread(nullptr, 0, &SourceSizeThread::measure, this, 0, nullptr);
    if (thread_ == nullptr) measure(this);  // no thread to be had: measure here and now
}

SourceSizeThread::~SourceSizeThread() {
    stop_ = true;
    if (thread_ == nullptr) return;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
}

const std::vector<std::uint32_t>& SourceSizeThread::sizes() {
    if (thread_ != nullptr) WaitForSingleObject(thread_, INFINITE);
    return sizes_;
}

DWORD WINAPI SourceSizeThread::measure(void* self) {
    auto* sizes = static_cast<SourceSizeThread*>(self);
    for (std::size_t index = 0; index < sizes->paths_.size() && !sizes->stop_; ++index)
        if (!sizes->paths_[index].empty()) sizes->sizes_[index] = uncompressedSize(sizes->paths_[index]);
    if (!sizes->stop_) PostMessageA(sizes->window_, sizes->doneMessage_, 0, 0);
    return 0;
}

}  // namespace quillset
