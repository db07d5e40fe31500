// File name patterns as the Windows file search reads them.
#pragma once

#include <string>

namespace quillset {

// Whether `name` matches `pattern` the way FindFirstFileA matches long file names: case is ignored;
// `*` matches any run of characters; `?` matches one character, or none at a full stop or the end
// of the name; "*.*" matches every name; a `.` before `*` or `?` (or ending the pattern) also matches
// the end of a name without extension; and `*` before `.` stops at the name's last full stop.
// Short (8.3) aliases, which Windows also compares, do not exist here.
bool matchesWindowsWildcard(const std::string& pattern, const std::string& name);

// Whether `pattern` holds no wildcard: no `*` or `?`, and no full stop at its end (which also
// matches a name without it). Such a pattern matches exactly the names whose `foldedName` equals its
// own.
bool isLiteralPattern(const std::string& pattern);

// A name with its letters in the one case the matcher compares them in.
std::string foldedName(const std::string& name);

// Case-insensitive name order (as NTFS lists a directory), byte order between names that differ
// only in case.
bool windowsNameLess(const std::string& a, const std::string& b);

}  // namespace quillset
