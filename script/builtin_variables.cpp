#include "builtin_variables.h"

namespace quillset {

void setSetupPaths(SetupState& state, const std::string& setupDirectory, const std::string& windowsDirectory,
                   const std::string& systemDirectory) {
    state.variables["SP"] = setupDirectory;
    state.variables["SETUPFILE"] = setupDirectory + "\\SetupScript.ini";
    state.variables["WINPATH"] = windowsDirectory;
    state.variables["SYSPATH"] = systemDirectory;
}

void setProgramFilesDir(SetupState& state, const std::string& programFiles) {
    state.programFilesDir = programFiles + "\\";
    state.variables["DP"] = state.programFilesDir;
}

}  // namespace quillset
