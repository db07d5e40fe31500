#include "source_sizes.h"

#include <windows.h>
#include <setupapi.h>

#include <optional>

#include "handle.h"
#include "install_file.h"
#include "source_header.h"
#include "system_library.h"

namespace quillset {

namespace {

// The setup library's reader of compressed files' headers, from the system folder; the size
// thread asks for it too.
using CompressionInfo = DWORD(WINAPI*)(PCSTR, PSTR*, PDWORD, PDWORD, PUINT);
SystemFunction<CompressionInfo> platformCompressionInfo("setupapi.dll", "SetupGetFileCompressionInfoA");

// The platform's size query opens a source twice (once for its first bytes, once for its size),
// and under Wine each opening costs a tenth of a millisecond: 10,000 sources took 2 to 3 s. A
// source whose first bytes are no compressed form's has its own size as the answer, so one
// opening, as the platform's (reading, no sharing), tells it; every other source, and any that
// cannot be opened or read so, is left to the platform.
std::optional<std::uint32_t> sizeAsStored(const std::string& path) {
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) return std::nullopt;
    std::uint8_t head[kSourceHeaderBytes];
    DWORD got = 0;
    if (!ReadFile(file.get(), head, sizeof head, &got, nullptr) || mayBeCompressed(head, got)) return std::nullopt;
    const DWORD size = GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return std::nullopt;
    return size;
}

}  // namespace

std::uint32_t uncompressedSize(const std::string& path) {
    const CompressionInfo compressionInfo = platformCompressionInfo.get();
    if (compressionInfo == nullptr) return 0;
    if (const std::optional<std::uint32_t> size = sizeAsStored(path)) return *size;
    PSTR actualName = nullptr;
    DWORD sourceSize = 0, targetSize = 0;
    UINT compression = 0;
    if (compressionInfo(path.c_str(), &actualName, &sourceSize, &targetSize, &compression) !=
        ERROR_SUCCESS)
        return 0;
    LocalFree(actualName);
    return targetSize;
}

std::uint32_t SourceSizes::FileEntryUncompressedSize(std::size_t index) {
    if (quitRequested_) return 0;
    const InstallFileEntry& entry = state_.files[index];
    if (!entry.splitPart) return uncompressedSize(entry.sourcePath);

    // The join file is named as the installation will name it, so that the run starts it afresh.
    const std::string destination = runDestinationOf(entry, state_.variables);
    const SplitPartResult appended = joiner_.addPart(entry, destination, prompt_);
    const std::string joinFile = joiner_.joinFileOf(destination);
    if (appended == SplitPartResult::quit) {
        // Setup ends: the parts joined so far are of no use to anyone.
        quitRequested_ = true;
        DeleteFileA(joinFile.c_str());
        return 0;
    }
    if (!entry.lastPart) return 0;
    const std::uint32_t size = uncompressedSize(joinFile);
    DeleteFileA(joinFile.c_str());
    return size;
}

SourceSizeThread::SourceSizeThread(std::vector<std::string> paths, HWND window, UINT doneMessage)
    : work_(std::make_shared<Work>()) {
    work_->sizes.assign(paths.size(), 0);
    work_->paths = std::move(paths);
    work_->window = window;
    work_->doneMessage = doneMessage;
    auto* threadsShare = new std::shared_ptr<Work>(work_);
    thread_ = CreateThread(nullptr, 0, &SourceSizeThread::measure, threadsShare, 0, nullptr);
    if (thread_ == nullptr) measure(threadsShare);  // no thread to be had: measure here and now
}

SourceSizeThread::~SourceSizeThread() {
    work_->stop = true;
    if (thread_ == nullptr) return;
    WaitForSingleObject(thread_, kStopWait);
    CloseHandle(thread_);
}

const std::vector<std::uint32_t>& SourceSizeThread::sizes() {
    if (thread_ != nullptr) WaitForSingleObject(thread_, INFINITE);
    return work_->sizes;
}

DWORD WINAPI SourceSizeThread::measure(void* threadsShare) {
    const std::shared_ptr<Work> work = *static_cast<std::shared_ptr<Work>*>(threadsShare);
    delete static_cast<std::shared_ptr<Work>*>(threadsShare);
    for (std::size_t index = 0; index < work->paths.size() && !work->stop; ++index)
        if (!work->paths[index].empty()) work->sizes[index] = uncompressedSize(work->paths[index]);
    if (!work->stop) PostMessageA(work->window, work->doneMessage, 0, 0);
    return 0;
}

}  // namespace quillset
