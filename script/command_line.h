// Windows command lines for programs that start others (the robot, qsmedia).
#pragma once

#include <string>

namespace quillset {

// Quotes one argument of a command line the way the C runtime splits it again.
std::string quoteCommandLineArgument(const std::string& argument);

}  // namespace quillset
