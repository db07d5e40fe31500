#include "source_sizes.h"

#include <windows.h>
#include <setupapi.h>

#include "install_paths.h"
#include "source_retrieval.h"
#include "system_directories.h"
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
    const std::string joinFile = joinFilePathFor(windowsDirectory(), entry.destinationPath);
    const bool startJoining = startedJoinFiles_.insert(joinFile).second;
    Win32InstallPrompt prompt(state_);
    const SplitPartResult appended = appendSplitPart(entry, joinFile, startJoining, prompt);
    if (appended == SplitPartResult::quit) quitRequested_ = true;
    if (!entry.lastPart || appended == SplitPartResult::quit) return 0;
    const std::uint32_t size = uncompressedSize(joinFile);
    DeleteFileA(joinFile.c_str());
    return size;
}

}  // namespace quillset
