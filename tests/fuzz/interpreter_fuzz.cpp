// Whole scripts through the interpreter with the recording host, as `qscheck plan` runs them: the
// reader, the command table, substitution, the declared model and the plan's JSON document.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "builtin_variables.h"
#include "cp1252.h"
#include "interpreter.h"
#include "plan_output.h"
#include "recording_host.h"

using namespace quillset;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SetupScript script(isCp1252AlphaNumeric, nullptr);
    script.tokenize(toTextMode(std::string(reinterpret_cast<const char*>(data), size)));

    SetupState state;
    setSetupPaths(state, "D:\\Setup", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32");
    setProgramFilesDir(state, "C:\\Program Files");
    // Every search finds the same listing, with the entries AddFile must pass over (directories,
    // dot-names, an empty name) among the files it takes.
    RecordingHost host([](const std::string&) {
        return std::vector<FoundFile>{{"Demo.exe", false}, {".", true}, {"..", true}, {"data", true},
                                      {".hidden", false}, {"", false}, {"readme.txt", false}};
    });
    host.watch(state);
    host.addRunningProcess("C:\\Tools\\Running.exe");

    const RunResult result = runStatements(script, state, host);
    const bool stopped = result.outcome == RunOutcome::stopped;
    const bool stopCode =
        result.exitCode == SetupExitCode::syntaxError || result.exitCode == SetupExitCode::forbiddenProcess;
    if (stopped != stopCode || (!stopped && result.exitCode != SetupExitCode::normal)) std::abort();
    if (state.variables.totalSize() > VariableTable::kMaxTotalSize) std::abort();
    planJson(state, result, host.events);
    return 0;
}
