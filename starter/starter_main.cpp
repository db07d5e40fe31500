// The single-file installer's starter. Its own file carries the medium (payload_format.h): it
// checks the payload's lengths and hash before anything else, unpacks the medium into a new
// private folder in the user's temporary folder while a small window shows the progress, runs
// Setup.exe from there, returns Setup.exe's exit code and removes the folder with all it holds,
// whatever the end (starter_exit_codes.h).
#include <windows.h>

#include <string>

#include "handle.h"
#include "message_box.h"
#include "sha256.h"
#include "starter_exit_codes.h"
#include "system_library.h"
#include "unpack_folder.h"
#include "unpack_window.h"

namespace quillset {

namespace {

const char* const kDamaged = "The setup file is damaged. Download it again.";

// The starter's own file, read at offsets.
class OwnFile final : public PayloadFile {
public:
    explicit OwnFile(HANDLE file) : file_(file) {
        LARGE_INTEGER size;
        size_ = GetFileSizeEx(file, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
    }
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* into, std::size_t size) override {
        OVERLAPPED position{};
        position.Offset = static_cast<DWORD>(offset);
        position.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        return size == 0 || (ReadFile(file_, into, static_cast<DWORD>(size), &read, &position) && read == size);
    }

private:
    HANDLE file_;
    std::uint64_t size_ = 0;
};

std::string ownPath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

std::string temporaryFolder() {
    char path[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof path, path);
    std::string folder = length > 0 && length < sizeof path ? std::string(path, length) : std::string("C:\\");
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

// "12.5 MB": a size as people read it, rounded up.
std::string megabytes(std::uint64_t bytes) {
    const std::uint64_t tenths = (bytes * 10 + (1 << 20) - 1) >> 20;
    std::string text = std::to_string(tenths / 10);
    if (tenths < 1000) text += "." + std::to_string(tenths % 10);
    return text + " MB";
}

// The room needed in the temporary folder: the files, and what the file system takes for them.
bool enoughRoom(const std::string& folder, std::uint64_t needed) {
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExA(folder.c_str(), &available, &total, &free)) return true;  // unknown: try
    return available.QuadPart >= needed;
}

// The folder to remove when the Windows session ends while the starter is still at work.
std::string* sessionFolder = nullptr;
void removeAtSessionEnd(void*) {
    if (sessionFolder != nullptr && !sessionFolder->empty()) removeUnpackFolder(*sessionFolder);
}

int fail(const std::string& text, const std::string& caption, StarterExitCode code) {
    showMessageBox(text, caption, MB_OK | MB_ICONERROR);
    return exitStatus(code);
}

int runStarter(HINSTANCE instance) {
    const std::string self = ownPath();
    const FileHandle file(CreateFileA(self.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    OwnFile own(file.get());
    PlatformSha256 sha256;
    CheckedPayload payload;
    if (!file.valid() || !checkPayload(own, sha256, payload)) return fail(kDamaged, "Setup", StarterExitCode::damaged);
    const std::string caption = payload.header.appName.empty() ? "Setup" : payload.header.appName;

    const std::string temp = temporaryFolder();
    // Some room beyond the files themselves: each file takes whole clusters.
    const std::uint64_t needed = payload.header.unpackedSize + (1 << 20);
    if (!enoughRoom(temp, needed))
        return fail("Setup needs " + megabytes(needed) + " of free space in " + temp +
                        " to unpack its files. Free some space there and start the setup again.",
                    caption, StarterExitCode::noRoom);

    std::string folder = makeUnpackFolder(temp);
    if (folder.empty())
        return fail("Setup cannot make a folder in " + temp + " to unpack its files:\n\n" + systemErrorText(GetLastError()),
                    caption, StarterExitCode::unpackFailed);
    sessionFolder = &folder;
    const HWND window = createUnpackWindow(instance, payload.header.appName, removeAtSessionEnd, nullptr);
    if (window == nullptr) {
        removeUnpackFolder(folder);
        return fail("Setup cannot show its window:\n\n" + systemErrorText(GetLastError()), caption,
                    StarterExitCode::unpackFailed);
    }

    const UnpackOutcome unpacked = unpackWithWindow(window, own, payload, folder);
    if (unpacked.kind != UnpackOutcome::Kind::unpacked) {
        removeUnpackFolder(folder);
        switch (unpacked.kind) {
            case UnpackOutcome::Kind::cancelled: return exitStatus(StarterExitCode::cancelled);
            case UnpackOutcome::Kind::damaged: return fail(kDamaged, caption, StarterExitCode::damaged);
            case UnpackOutcome::Kind::outOfMemory:
                return fail("There is not enough memory to unpack the setup files.", caption,
                            StarterExitCode::unpackFailed);
            default:
                return fail("Setup cannot unpack its files into " + folder + ":\n\n" +
                                (unpacked.failedPath.empty() ? std::string() : unpacked.failedPath + "\n") +
                                systemErrorText(unpacked.error),
                            caption, StarterExitCode::unpackFailed);
        }
    }

    // Setup.exe runs in the folder, which is its medium: SP names it.
    const std::string setup = folder + "\\Setup.exe";
    std::string commandLine = "\"" + setup + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(setup.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        const DWORD error = GetLastError();
        removeUnpackFolder(folder);
        return fail("Setup cannot start " + setup + ":\n\n" + systemErrorText(error), caption,
                    StarterExitCode::setupNotStarted);
    }
    CloseHandle(process.hThread);
    waitWithWindow(window, process.hProcess);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    removeUnpackFolder(folder);
    sessionFolder = nullptr;
    DestroyWindow(window);
    return static_cast<int>(exitCode);
}

}  // namespace

}  // namespace quillset

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything loads a library: none may come from beside the downloaded file.
    quillset::restrictLibrarySearch();
    return quillset::runStarter(instance);
}
