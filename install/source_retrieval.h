// Files split over several disks: each part is fetched from the medium and appended to the file's
// join file in the Windows TEMP directory, which is installed once the last part is in.
#pragma once

#include <set>
#include <string>

#include "install_platform.h"
#include "install_prompt.h"
#include "setup_state.h"

namespace quillset {

// The join file of a split file: windowsDirectory + "\TEMP\" + the file name of destinationPath
// (the text after its last backslash, or all of it) + ".ToInstall.TMP".
std::string joinFilePathFor(const std::string& windowsDirectory, const std::string& destinationPath);

// Joins the parts of split files, for one installation run or one measuring of the sources. The
// first part of a file in it starts the file's join file afresh, so that nothing left by an
// earlier, interrupted setup or size computation can reach the installed file.
class SplitFileJoiner {
public:
    SplitFileJoiner();

    // Appends the part of `entry` (its sourcePath) to the join file of `destinationPath` (the
    // entry's destination, its variables substituted). A part that cannot be opened brings the disk
    // prompt (caption: the part's full path). The part is copied in bounded chunks.
    SplitPartResult addPart(const InstallFileEntry& entry, const std::string& destinationPath, InstallPrompt& prompt);

    // The join file of the file installed as `destinationPath`; once its last part is added it
    // holds the whole file, and whoever uses it then deletes it.
    std::string joinFileOf(const std::string& destinationPath) const;

private:
    std::string windowsDirectory_;
    std::set<std::string> startedJoinFiles_;
};

}  // namespace quillset
