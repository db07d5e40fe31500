#include "source_retrieval.h"

#include <windows.h>

#include <vector>

#include "handle.h"
#include "install_result.h"
#include "path_text.h"
#include "system_directories.h"

namespace quillset {

namespace {

// Parts can be hundreds of megabytes: they are copied through a buffer of this size.
constexpr DWORD kChunkSize = 1024 * 1024;

HANDLE openPart(const std::string& sourcePath) {
    return CreateFileA(sourcePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The join file for writing; a new joining empties it. Its directory (the Windows TEMP directory)
// is made when it is missing.
HANDLE openJoinFile(const std::string& joinFile, bool startJoining) {
    const std::string folder = folderOf(joinFile);
    if (!folder.empty()) CreateDirectoryA(folder.c_str(), nullptr);  // usually there already
    return CreateFileA(joinFile.c_str(), GENERIC_WRITE, 0, nullptr, startJoining ? CREATE_ALWAYS : OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Appends everything that is left of `part` to the end of `join`. False when a read, a write or
// the seek fails; the join file may then hold a piece of the part.
bool appendTo(HANDLE join, HANDLE part) {
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(join, zero, nullptr, FILE_END)) return false;
    std::vector<char> buffer(kChunkSize);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(part, buffer.data(), kChunkSize, &read, nullptr)) return false;
        if (read == 0) return true;
        DWORD written = 0;
        if (!WriteFile(join, buffer.data(), read, &written, nullptr) || written != read) return false;
    }
}

SplitPartResult reportFailure(const InstallFileEntry& entry, InstallPrompt& prompt) {
    const std::string text =
        entry.sourcePath + " could not be added to the file it is a part of. The file cannot be installed.";
    prompt.showMessage(text, fileNameOf(entry.sourcePath), Prompt::Ok | Prompt::IconError, PromptOwner::none);
    return SplitPartResult::failed;
}

}  // namespace

std::string joinFilePathFor(const std::string& windowsDirectory, const std::string& destinationPath) {
    return windowsDirectory + "\\TEMP\\" + fileNameOf(destinationPath) + ".ToInstall.TMP";
}

SplitFileJoiner::SplitFileJoiner() : windowsDirectory_(windowsDirectory()) {}

std::string SplitFileJoiner::joinFileOf(const std::string& destinationPath) const {
    return joinFilePathFor(windowsDirectory_, destinationPath);
}

SplitPartResult SplitFileJoiner::addPart(const InstallFileEntry& entry, const std::string& destinationPath,
                                         InstallPrompt& prompt) {
    const std::string joinFile = joinFileOf(destinationPath);
    const bool startJoining = startedJoinFiles_.insert(joinFile).second;
    HANDLE opened = openPart(entry.sourcePath);
    while (opened == INVALID_HANDLE_VALUE) {
        switch (askForDisk(entry.sourcePath, entry.diskNumber, prompt)) {
            case DiskAnswer::retry: opened = openPart(entry.sourcePath); break;
            case DiskAnswer::skip: {
                // Left out. When it was to start the joining, the join file is emptied all the
                // same, so that the parts after it do not land behind bytes of an earlier setup.
                if (!startJoining) return SplitPartResult::leftOut;
                const FileHandle join(openJoinFile(joinFile, true));
                return join.valid() ? SplitPartResult::leftOut : reportFailure(entry, prompt);
            }
            case DiskAnswer::quitConfirmed: return SplitPartResult::quit;
        }
    }
    const FileHandle part(opened);

    const FileHandle join(openJoinFile(joinFile, startJoining));
    if (!join.valid() || !appendTo(join.get(), part.get())) return reportFailure(entry, prompt);
    return SplitPartResult::appended;
}

}  // namespace quillset
