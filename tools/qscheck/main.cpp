// qscheck — the script inspector for setup script authors.
//
//   qscheck statements FILE
//       Every statement the setup program reads from FILE, one JSON object per line:
//       {"line":L,"command":"NAME","arguments":["A1",...]}. Exit status 0.
//
//   qscheck plan SCRIPT [--programfiles DIR] [--sp DIR] [--windows DIR] [--system DIR]
//                       [--running NAME]... [--cancel PAGE]
//       A dry run of the whole script through the setup program's own interpreter. Pages are
//       answered with Next (PAGE, e.g. DIALOG_DEST, with a confirmed Cancel), message boxes with OK;
//       AddFile searches the real file system, relative patterns in the setup directory as the
//       setup program (whose current directory it is) does. Prints one JSON document and exits with
//       the code the setup program would return (0, 2 or 3).
//
//   qscheck log FILE
//       The records of an Uninstall.log, read as the uninstaller reads it, as one JSON document:
//       {"date":...,"records":[{"line":L,"kind":...,"path":...,"registration":...}],"key":...}.
//       A log the uninstaller would refuse: "FILE:LINE: error: WHY" on standard error, exit 1.
//
// The script verbs exit with 1 when the script cannot be read (the message goes to standard error) and
// with 64 for a wrong command line.
#include <algorithm>
#include <cstdio>
#include <string>

#include "builtin_variables.h"
#include "interpreter.h"
#include "json_output.h"
#include "log_output.h"
#include "plan_output.h"
#include "platform.h"
#include "recording_host.h"
#include "wildcard_match.h"

namespace quillset {
namespace {

const char* const kUsage =
    "usage: qscheck statements FILE\n"
    "       qscheck plan SCRIPT [--programfiles DIR] [--sp DIR] [--windows DIR] [--system DIR]\n"
    "                           [--running NAME]... [--cancel PAGE]\n"
    "       qscheck log FILE\n";

void printFatal(const std::string&, const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

void writeOut(const std::string& text) {
    useBinaryStandardOutput();
    std::fwrite(text.data(), 1, text.size(), stdout);
}

int usage() {
    std::fputs(kUsage, stderr);
    return 64;
}

// Prints each statement as the reader completes it, through an output buffer of about a megabyte:
// a script of any size is printed without holding its statements or all of its JSON.
int printStatements(const std::string& path) {
    SetupScript script(platformNameCharacterTest(), printFatal);
    constexpr std::size_t flushAt = 1 << 20;
    std::string out;
    out.reserve(flushAt + 4096);
    const int status = script.readEach(path, [&out](ScriptStatement& statement) {
        appendStatementJson(out, statement);
        out += '\n';
        if (out.size() >= flushAt) {
            writeOut(out);
            out.clear();
        }
    });
    if (status != 0) return 1;
    writeOut(out);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int printLog(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "%s: cannot be read\n", path.c_str());
        return 1;
    }
    std::string bytes;
    char buffer[65536];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, read);
    std::fclose(file);
    UninstallLogContents log;
    UninstallLogError error;
    if (!readUninstallLog(bytes, log, error)) {
        std::fprintf(stderr, "%s:%d: error: %s\n", path.c_str(), error.line, error.message.c_str());
        return 1;
    }
    writeOut(uninstallLogJson(log));
    return std::fflush(stdout) == 0 ? 0 : 1;
}

struct PlanOptions {
    std::string script;
    std::string programFiles = "C:\\Program Files";
    std::string setupDirectory;  // default: the script's own directory
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM32";
    std::vector<std::string> running;
    std::vector<Page> cancelled;
};

bool parsePlanOptions(int argc, char** argv, PlanOptions& options) {
    if (argc < 3) return false;
    options.script = argv[2];
    for (int i = 3; i < argc; i += 2) {
        if (i + 1 >= argc) return false;
        const std::string option = argv[i], value = argv[i + 1];
        const PageDescription* page = findPageNamed(value);
        if (option == "--programfiles") options.programFiles = value;
        else if (option == "--sp") options.setupDirectory = value;
        else if (option == "--windows") options.windowsDirectory = value;
        else if (option == "--system") options.systemDirectory = value;
        else if (option == "--running") options.running.push_back(value);
        else if (option == "--cancel" && page != nullptr) options.cancelled.push_back(page->page);
        else return false;
    }
    if (options.setupDirectory.empty()) options.setupDirectory = absoluteDirectoryOf(options.script);
    return true;
}

// Where the setup program, whose current directory is the setup directory, finds a pattern: a
// relative pattern lies in the setup directory; one that starts at a root or names a drive stays.
std::string patternInSetupDirectory(const std::string& setupDirectory, const std::string& pattern) {
    const bool fromRoot = !pattern.empty() && (pattern[0] == '\\' || pattern[0] == '/');
    const bool withDrive = pattern.size() >= 2 && pattern[1] == ':';
    if (fromRoot || withDrive || setupDirectory.empty()) return pattern;
    const char last = setupDirectory.back();
    return setupDirectory + (last == '\\' || last == '/' ? "" : "\\") + pattern;
}

int plan(const PlanOptions& options) {
    SetupState state;

    // The built-in variables, as the setup program fills them before it reads its script.
    setSetupPaths(state, options.setupDirectory, options.windowsDirectory, options.systemDirectory);
    setProgramFilesDir(state, options.programFiles);

    SetupScript script(platformNameCharacterTest(), printFatal);
    if (script.read(options.script) != 0) return 1;

    RecordingHost host([&options](const std::string& pattern) {
        std::vector<FoundFile> found = findMatchingFiles(patternInSetupDirectory(options.setupDirectory, pattern));
        std::sort(found.begin(), found.end(),
                  [](const FoundFile& a, const FoundFile& b) { return windowsNameLess(a.name, b.name); });
        return found;
    });
    host.watch(state);
    for (const std::string& name : options.running) host.addRunningProcess(name);
    for (Page page : options.cancelled) host.setPageResult(page, -2);

    const RunResult result = runStatements(script, state, host);
    writeOut(planJson(state, result, host.events));
    if (std::fflush(stdout) != 0) return 1;
    return result.exitCode;
}

}  // namespace
}  // namespace quillset

int main(int argc, char** argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    if (verb == "statements" && argc == 3) return quillset::printStatements(argv[2]);
    if (verb == "log" && argc == 3) return quillset::printLog(argv[2]);
    if (verb == "plan") {
        quillset::PlanOptions options;
        if (quillset::parsePlanOptions(argc, argv, options)) return quillset::plan(options);
    }
    return quillset::usage();
}
