// A folder of qsmedia's own in the temporary directory, for the files it makes before it writes
// the medium (signed programs, compressed files).
#pragma once

#include <filesystem>
#include <string>

namespace quillset {

// The folder, once made, goes with all it holds when this object goes, whatever ended the run.
struct PrivateFolder {
    std::filesystem::path folder;  // empty until made

    PrivateFolder() = default;
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    ~PrivateFolder();

    // Makes a new folder "qsmedia-PURPOSE-N" that only this user may enter: nobody else can swap a
    // file between its making and its copying onto the medium. False when none can be made.
    bool make(const std::string& purpose);
};

}  // namespace quillset
