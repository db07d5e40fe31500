// Windows paths as text: the folder part and the file-name part of a path, split at its last
// backslash. Only '\' separates; a '/' is a character of the name (the callers' paths come from
// scripts, logs and the platform, which write '\'). No platform calls.
#pragma once

#include <string>

namespace quillset {

// The text after the last backslash; the whole text when it has none, "" when it ends in one.
// "C:\App\setup.ini" gives "setup.ini".
std::string fileNameOf(const std::string& path);

// The text before the last backslash, without it; "" when there is none. "C:\App\setup.ini" gives
// "C:\App", "C:\setup.ini" gives "C:" (the drive, not its root "C:\").
std::string folderOf(const std::string& path);

// The text up to and including the last backslash; "" when there is none. Followed by
// fileNameOf(path) it gives the path again: "C:\App\setup.ini" gives "C:\App\".
std::string folderPrefixOf(const std::string& path);

}  // namespace quillset
