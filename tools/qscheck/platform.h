// What qscheck asks of the platform it runs on.
#pragma once

#include <string>
#include <vector>

#include "script_reader.h"
#include "setup_host.h"

namespace quillset {

// The name-character rule of the platform's reader: IsCharAlphaNumericA on Windows, the code page
// 1252 table elsewhere.
NameCharacterTest platformNameCharacterTest();

// Makes standard output byte-exact (no LF to CR LF translation), so that the Windows and the
// native tool print identical bytes.
void useBinaryStandardOutput();

// The entries of a directory that match a file search pattern. Backslashes in the pattern separate
// directories on every platform; the last component may hold * and ?. Unsorted. The native
// tool lists each directory once per process (a dry run changes no file).
std::vector<FoundFile> findMatchingFiles(const std::string& pattern);

// The absolute path of the directory that holds `path`, without a trailing separator.
std::string absoluteDirectoryOf(const std::string& path);

}  // namespace quillset
