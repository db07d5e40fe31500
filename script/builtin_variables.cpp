#include "builtin_variables.h"

namespace quillset {

void setSetupPaths(SetupState& state, const std::string& setupDirectory, const std::string& windowsDirectory,
                   const std::string& systemDirectory) {
    state.variables.set("SP", setupDirectory);
    state.variables.set("SETUPFILE", setupDirectory + "\\SetupScript.ini");
    state.variables.set("WINPATH", windowsDirectory);
    state.variables.set("SYSPATH", systemDirectory);
}

void setProgramFilesDir(SetupState& state, const std::string& programFiles) {
    state.session.programFilesDir = programFiles + "\\";
    state.variables.set("DP", state.session.programFilesDir);
}

const std::vector<std::string>& uninstallEntryVariables() {
    static const std::vector<std::string> names = {"APPVERSION", "APPURL", "APPICON"};
    return names;
}

}  // namespace quillset
