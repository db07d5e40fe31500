// The variables the setup program fills before it reads its script: shared by Setup.exe's
// start-up and qscheck's dry run, so both begin a script from the same state.
#pragma once

#include <string>
#include <vector>

#include "setup_state.h"

namespace quillset {

// SP is the setup directory, SETUPFILE the script in it, WINPATH and SYSPATH the Windows and
// system directories.
void setSetupPaths(SetupState& state, const std::string& setupDirectory, const std::string& windowsDirectory,
                   const std::string& systemDirectory);

// The base of the default destination: ProgramFilesDir followed by '\' (just '\' when the value is
// unknown), which DP starts as.
void setProgramFilesDir(SetupState& state, const std::string& programFiles);

// The variables the copy page reads into the Uninstall entry besides APPNAME, DEVELOPERNAME and
// DP: APPVERSION, APPURL and APPICON. The script sets them with SetVariable (qscheck knows them as
// the setup program's own); unset, the entry goes without the values they give.
const std::vector<std::string>& uninstallEntryVariables();

}  // namespace quillset
