// What qsmedia asks of the platform it runs on.
#pragma once

#include <string>
#include <vector>

namespace quillset {

// Runs a program with arguments and waits for it; its standard output and standard error go to
// outputFile. Returns its exit status, or -1 when it could not be started.
int runProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& outputFile);

// The path of the program file `name` (spelt as programFileName spells it) where the platform
// looks for programs (PATH); empty when there is none.
std::string findProgram(const std::string& name);

// The folder that holds the running qsmedia program.
std::string ownDirectory();

// The name of a program as the platform spells it ("qscheck" on Linux, "qscheck.exe" on Windows).
std::string programFileName(const std::string& name);

}  // namespace quillset
