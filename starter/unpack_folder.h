// The folder a single-file installer unpacks into: new, with a name nobody can guess, in the
// user's temporary folder, open to the current user alone; and its removal with all it holds.
#pragma once

#include <windows.h>

#include <string>

namespace quillset {

// Makes "qs-" and 16 random hexadecimal digits in `temp` (which ends with '\'): a folder that did
// not exist (an existing one is never used), whose security descriptor grants the current user
// full access and nobody else any (the folder's contents inherit it), where the file system
// keeps permissions. Returns its path, or "" with the system's error code set.
std::string makeUnpackFolder(const std::string& temp);

// Removes `folder` and everything in it. What cannot be removed now (a file still in use) is
// put on the system's list of files to delete at the next restart, so nothing stays behind
// unrecorded. True when everything is gone now.
bool removeUnpackFolder(const std::string& folder);

}  // namespace quillset
