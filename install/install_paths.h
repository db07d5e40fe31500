// Path helpers of the installation engine: text in, text out, no platform calls.
#pragma once

#include <string>
#include <vector>

namespace quillset {

// Collapses each pair of backslashes into one, scanning once from left to right: "[DP]\\x" with DP
// ending in '\\' names one file, and a run of three or four backslashes becomes two. The two
// backslashes that begin a network path ("\\server\share") or a device path ("\\?\", "\\.\")
// stay: without them the path would name a folder on the current drive.
void collapseDoubleBackslashes(std::string& path);

// `name` in `folder`, joined by exactly one backslash whether or not the folder ends in one (the
// destination page accepts "C:\App" as well as "C:\App\").
std::string joinPath(const std::string& folder, const std::string& name);

// The directories that lead down to `directory`, outermost first, each without a trailing
// backslash: "C:\A\B\" gives "C:\A" and "C:\A\B". A drive ("C:") and the server and share of a
// UNC path ("\\server\share") are never among them, since they cannot be created.
std::vector<std::string> directoryLevels(const std::string& directory);

// The 8.3-like name under which a locked file is scheduled for replacement on Windows 95/98: the
// path is cut at its first "." (also one in a directory name), and a last component longer than 8
// characters becomes its first 6 followed by "~1".
void shortenForRename(std::string& path);

// The Wininit.ini target that names a locked file on Windows 95/98, where the renames are done
// before long names exist. `shortForm` is the file's short path as the platform gives it, used when
// each of its parts is an 8.3 name; when it is not (the platform gave no short form, or one that
// would lead to another file, and the long path came back), the target is the destination shortened
// for the rename with ".dll" added, the one guess left.
std::string wininitRenameTarget(const std::string& destination, const std::string& shortForm);

}  // namespace quillset
