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
//   qscheck lint SCRIPT [--sp DIR] [--json]
//       What Setup.exe accepts silently or rejects only at run time, as a compiler reports it:
//       "SCRIPT:LINE:COLUMN: warning|error: TEXT [check]" lines (--json: one JSON array of
//       {"file","line","column","severity","check","message"}). With --sp, AddFile patterns must
//       find files in DIR, and the shared files they find must be no 64-bit programs. Exit status 1
//       when there is an error (what would stop Setup.exe), else 0.
//
//   qscheck log FILE
//       The records of an Uninstall.log, read as the uninstaller reads it, as one JSON document:
//       {"date":...,"records":[{"line":L,"kind":...,"path":...,"registration":...}],"key":...}.
//       A log the uninstaller would refuse: "FILE:LINE: error: WHY" on standard error, exit 1.
//
//   qscheck --help (or -h, also in place of a verb's file: qscheck lint --help)
//       This usage on standard output, exit status 0.
//   qscheck --version
//       "qscheck X.Y.Z", the version of the whole project, on standard output, exit status 0.
//
// The script verbs exit with 1 when the script cannot be read (the message goes to standard error).
// A wrong command line prints the usage on standard error and exits with 64 (qscheck_exit_codes.h).
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

#include "dry_run.h"
#include "interpreter.h"
#include "json_output.h"
#include "lint.h"
#include "log_output.h"
#include "plan_output.h"
#include "platform.h"
#include "qscheck_exit_codes.h"
#include "quillset_version.h"
#include "recording_host.h"

namespace quillset {
namespace {

const char* const kUsage =
    "usage: qscheck statements FILE\n"
    "       qscheck plan SCRIPT [--programfiles DIR] [--sp DIR] [--windows DIR] [--system DIR]\n"
    "                           [--running NAME]... [--cancel PAGE]\n"
    "       qscheck lint SCRIPT [--sp DIR] [--json]\n"
    "       qscheck log FILE\n"
    "       qscheck --help | --version\n";

void printFatal(const std::string&, const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

void writeOut(const std::string& text) {
    useBinaryStandardOutput();
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// A wrong command line: the usage goes to standard error, beside whatever the caller reads.
int usage() {
    std::fputs(kUsage, stderr);
    return exitStatus(QscheckExitCode::usage);
}

bool isHelpOption(const std::string& argument) { return argument == "--help" || argument == "-h"; }

// What was asked for goes to standard output.
int printText(const std::string& text) {
    writeOut(text);
    return exitStatus(std::fflush(stdout) == 0 ? QscheckExitCode::ok : QscheckExitCode::failed);
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
    if (status != 0) return exitStatus(QscheckExitCode::failed);
    writeOut(out);
    return exitStatus(std::fflush(stdout) == 0 ? QscheckExitCode::ok : QscheckExitCode::failed);
}

// The whole file; false, after saying so on standard error, when it cannot be read.
bool readWholeFile(const std::string& path, std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    bool failed = file == nullptr;
    char buffer[65536];
    for (std::size_t read; !failed && (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, read);
    if (file != nullptr) {
        failed = std::ferror(file) != 0;
        std::fclose(file);
    }
    if (failed) std::fprintf(stderr, "%s: cannot be read\n", path.c_str());
    return !failed;
}

// Part of a file that the dry run found (lint's look at a shared file's header); what the file
// holds from `offset` on, up to `length` bytes, or nothing when it cannot be read there.
std::string readFilePart(const std::string& path, std::uint64_t offset, std::size_t length) {
    std::string bytes;
    std::FILE* file = std::fopen(fileSystemPath(path).c_str(), "rb");
    if (file == nullptr) return bytes;
    // fseek takes a long, which has 32 bits on Windows: farther parts are not read.
    if (offset <= static_cast<std::uint64_t>(LONG_MAX) && std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0) {
        bytes.resize(length);
        bytes.resize(std::fread(&bytes[0], 1, length, file));
    }
    std::fclose(file);
    return bytes;
}

int printLog(const std::string& path) {
    std::string bytes;
    if (!readWholeFile(path, bytes)) return exitStatus(QscheckExitCode::failed);
    UninstallLogContents log;
    UninstallLogError error;
    if (!readUninstallLog(bytes, log, error)) {
        std::fprintf(stderr, "%s:%d: error: %s\n", path.c_str(), error.line, error.message.c_str());
        return exitStatus(QscheckExitCode::failed);
    }
    writeOut(uninstallLogJson(log));
    return exitStatus(std::fflush(stdout) == 0 ? QscheckExitCode::ok : QscheckExitCode::failed);
}

// The setup directory that --sp names, made absolute, as Setup.exe's SP always is: "[SP]\x" is
// then no relative pattern, which the dry run would look for below the setup directory once more.
std::string setupDirectoryOption(const std::string& directory) { return absoluteDirectoryOf(directory + "/x"); }

struct PlanOptions {
    std::string script;
    DryRunSettings settings;
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
        if (option == "--programfiles") options.settings.programFiles = commandLineText(value);
        else if (option == "--sp") options.settings.setupDirectory = setupDirectoryOption(value);
        else if (option == "--windows") options.settings.windowsDirectory = commandLineText(value);
        else if (option == "--system") options.settings.systemDirectory = commandLineText(value);
        else if (option == "--running") options.running.push_back(commandLineText(value));
        else if (option == "--cancel" && page != nullptr) options.cancelled.push_back(page->page);
        else return false;
    }
    if (options.settings.setupDirectory.empty()) options.settings.setupDirectory = absoluteDirectoryOf(options.script);
    return true;
}

int plan(const PlanOptions& options) {
    SetupState state;
    setBuiltinVariables(state, options.settings);

    SetupScript script(platformNameCharacterTest(), printFatal);
    if (script.read(options.script) != 0) return exitStatus(QscheckExitCode::failed);

    RecordingHost host(setupDirectoryFinder(options.settings.setupDirectory, findMatchingFiles));
    host.watch(state);
    for (const std::string& name : options.running) host.addRunningProcess(name);
    for (Page page : options.cancelled) host.setPageResult(page, PageResult::cancelled);

    const RunResult result = runStatements(script, state, host);
    writeOut(planJson(state, result, host.events));
    if (std::fflush(stdout) != 0) return exitStatus(QscheckExitCode::failed);
    return quillset::exitStatus(result.exitCode);
}

int lint(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string path = argv[2];
    LintOptions options;
    bool json = false;
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--json") {
            json = true;
        } else if (option == "--sp" && i + 1 < argc) {
            options.dryRun.setupDirectory = setupDirectoryOption(argv[++i]);
            options.checkFiles = true;
        } else {
            return usage();
        }
    }
    if (options.dryRun.setupDirectory.empty()) options.dryRun.setupDirectory = absoluteDirectoryOf(path);
    options.isNameCharacter = platformNameCharacterTest();
    options.findFiles = setupDirectoryFinder(options.dryRun.setupDirectory, findMatchingFiles);
    options.readFile = readFilePart;

    std::string bytes;
    if (!readWholeFile(path, bytes)) return exitStatus(QscheckExitCode::failed);
    const std::vector<LintFinding> findings = lintScript(toTextMode(bytes), options);
    // The text form names the file as it was given; JSON is UTF-8 from code page 1252.
    writeOut(json ? lintJson(commandLineText(path), findings) : lintText(path, findings));
    if (std::fflush(stdout) != 0) return exitStatus(QscheckExitCode::failed);
    return exitStatus(hasLintErrors(findings) ? QscheckExitCode::failed : QscheckExitCode::ok);
}

}  // namespace
}  // namespace quillset

int main(int argc, char** argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    const bool knownVerb = verb == "statements" || verb == "plan" || verb == "lint" || verb == "log";
    if (quillset::isHelpOption(verb) || (knownVerb && argc > 2 && quillset::isHelpOption(argv[2])))
        return quillset::printText(quillset::kUsage);
    if (verb == "--version" && argc == 2) return quillset::printText(std::string("qscheck ") + QUILLSET_VERSION_TEXT + "\n");
    if (verb == "statements" && argc == 3) return quillset::printStatements(argv[2]);
    if (verb == "log" && argc == 3) return quillset::printLog(argv[2]);
    if (verb == "lint") return quillset::lint(argc, argv);
    if (verb == "plan") {
        quillset::PlanOptions options;
        if (quillset::parsePlanOptions(argc, argv, options)) return quillset::plan(options);
    }
    return quillset::usage();
}
