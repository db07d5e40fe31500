// qsmedia --compress: which files a medium stores compressed, and under which names.
//
// A file is stored compressed (szdd_compressor.h) when it is not shared (the conflict dialogs read
// a shared file's version from the medium) and its compressed form is smaller. It gets the
// conventional name ("setup.ex_"); the script installs it under its own name, the platform's
// installer expanding it on the way. A compressed name that another file of the medium already
// has, in any case, keeps the file as it is.
#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "medium_contents.h"

namespace quillset {

// Compresses the files of `entries` that qualify into `folder`, entry N's as compressedCopy(folder,
// N), and sets their compressedPath and compressedSize. sourceOf names the file of an entry.
// Returns false, with the error in problems, when a file cannot be read or a copy written; a file
// left as it is for its name is a warning.
bool compressMediumFiles(std::vector<MediumEntry>& entries,
                         const std::function<std::filesystem::path(const MediumEntry&)>& sourceOf,
                         const std::filesystem::path& folder, std::vector<Problem>& problems);

std::filesystem::path compressedCopy(const std::filesystem::path& folder, std::size_t index);

}  // namespace quillset
