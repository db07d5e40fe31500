// Process names as ForbidProcess compares them: file names without directory, their letters A-Z
// in lower case.
#pragma once

#include <string>

namespace quillset {

// The text with its ASCII letters A-Z in lower case, as the process test has it; other bytes stay.
std::string lowerCaseAscii(std::string text);

// A running process's file name in the form it is compared in: lower case, without directory.
// An unreadable name (null) is the empty name.
std::string recordedProcessName(const char* fileName);

}  // namespace quillset
