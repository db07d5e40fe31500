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
// directories on every platform; the last component may hold * and ?. Unsorted. The pattern and
// the names are in code page 1252, as the script is: on Windows the ANSI functions' own, the
// native tool converts from and to the UTF-8 of its file system ('?' for a character that code
// page 1252 lacks, where Windows puts '?' or a look-alike). The native tool lists each directory
// once per process (a dry run changes no file).
std::vector<FoundFile> findMatchingFiles(const std::string& pattern);

// The name the C library opens for a path of the dry run (code page 1252, '\' separators): on
// Windows the path itself; the native tool's file system takes UTF-8 and '/'.
std::string fileSystemPath(const std::string& path);

// A text of the command line that enters the dry run or the JSON output, in code page 1252 as the
// script's texts are: on Windows it already is; the native command line is UTF-8.
std::string commandLineText(const std::string& argument);

// The absolute path of the directory that holds `path` (as the command line gives it), without a
// trailing separator, in code page 1252 as findMatchingFiles takes it.
std::string absoluteDirectoryOf(const std::string& path);

}  // namespace quillset
