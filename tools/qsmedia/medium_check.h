// The check of a finished medium by qscheck: its dry run must end normally and declare exactly the
// files qsmedia put on the medium, and lint must find no error.
#pragma once

#include <string>
#include <vector>

namespace quillset {

// The "sourcePath" texts of a qscheck plan document, decoded (UTF-8), in their order.
std::vector<std::string> declaredSources(const std::string& planJson);

// What the check needs: the qscheck program, the script, the setup directory (disk 1) and the
// sources the script must declare, relative to the setup directory ("\program\a.exe",
// "\..\DISK2\big.dat.002"; code page 1252).
struct MediumCheck {
    std::string qscheck;
    std::string script;
    std::string setupDirectory;
    std::vector<std::string> expectedSources;
};

// Runs qscheck plan and qscheck lint; prints what they report and what does not match. False when
// the medium fails the check or qscheck cannot be run.
bool checkMedium(const MediumCheck& check);

}  // namespace quillset
