// Windows command lines: quoting for programs that start others (the robot, qsmedia), and reading
// back the program and its arguments from a command line as Windows starts it (the Uninstall
// entry's commands, the uninstaller's own command line).
#pragma once

#include <string>

namespace quillset {

// Quotes one argument of a command line the way the C runtime splits it again.
std::string quoteCommandLineArgument(const std::string& argument);

struct ProgramCommand {
    std::string program;    // the program's path, without quotes
    std::string arguments;  // what follows it, leading blanks removed
};

// Splits a command line into the program it starts and the rest. A quoted program runs to its
// closing quote. An unquoted one may hold blanks: an Uninstall entry written by earlier versions
// names "C:\Program Files\App\QSUninstall.exe" without quotes and without arguments, and Windows
// tries each blank in turn until a program is found. It is read here up to the last ".exe" that
// ends a word (any case); a command without one ends its program at the first blank.
ProgramCommand splitProgramCommand(const std::string& commandLine);

}  // namespace quillset
