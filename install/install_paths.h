// Path helpers of the installation engine: text in, text out, no platform calls.
#pragma once

#include <string>

namespace quillset {

// Collapses each pair of backslashes into one, scanning once from left to right: "[DP]\\x" with DP
// ending in '\\' names one file, and a run of three or four backslashes becomes two.
void collapseDoubleBackslashes(std::string& path);

}  // namespace quillset
