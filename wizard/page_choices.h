// The decisions of the destination and program group pages, without a window.
#pragma once

#include <cstdint>
#include <string>

namespace quillset {

// The longest path the pages build for the platform's path functions (MAX_PATH less its zero).
constexpr std::size_t kLongestPath = 259;

// Destination page: a path of fewer than three characters (less than "C:\") is never accepted.
bool destinationAcceptable(const std::string& path);

// The longest destination the page accepts. The platform's installer, through which every file
// goes, works with paths of at most 127 characters (its file structure holds 128 bytes) and first
// copies each file to a temporary one with an 11-character name in the destination directory: a
// longer destination could hold no file at all.
constexpr std::size_t kLongestDestination = 127 - 11;

// The drive root whose free space is shown: the path's first three characters, whatever they are.
std::string diskRootOf(const std::string& path);

// The free space display: whole kilobytes (truncated) and " kb".
std::string freeSpaceText(std::uint64_t bytesFree);

// The folder browser's choice: the folder, a backslash, the application's name and a backslash
// (a drive root, which ends in a backslash already, gets a second one).
std::string chosenDestination(const std::string& folder, const std::string& appName);

// Program group page, choice 1: the new group's folder in the Programs folder, ending in a
// backslash. Empty when it cannot be built: the Programs folder is unknown, or the path would be
// longer than kLongestPath (it is never cut, which would name another folder).
std::string newGroupPath(const std::string& programsFolder, const std::string& groupName);

}  // namespace quillset
