// qsrun-driver: the Windows side of qsrun, started by the launcher under Wine in the medium.
//
//   qsrun-driver REPORT_DIR [--answers FILE] [--uninstall] [--timeout SECONDS] [--medium NAME]
//                [--replaced-from FOLDER --replaced PATH...] [--single-file PROGRAM]
//                [--upgrade-from FOLDER [--earlier-medium NAME] [--earlier-answers FILE]]
//
// (--replaced-from and --replaced only tell the report which programs of the medium the launcher
// replaced, and from where.)
// Starts Setup.exe of the current directory (or the single-file installer PROGRAM there, which
// unpacks its medium and starts its own Setup.exe, and must remove what it unpacked), walks its wizard (wizard_walk.h), surveys what it
// installed (installation_survey.h), with --uninstall starts the uninstaller the Uninstall entry
// names and walks it too, then writes report.json and report.html into REPORT_DIR (a Windows path)
// beside the screenshots. One line on standard output says how the run ended; the exit status is
// one of driver_exit_codes.h.
// With --upgrade-from, Setup.exe of FOLDER (a Windows path) is walked and surveyed first, as its
// own run with its own answers, reported in REPORT_DIR\earlier; then this medium's, and the report
// says what the second installation did to the first one's files.
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <set>
#include <string>

#include "answers_file.h"
#include "driver_exit_codes.h"
#include "installation_survey.h"
#include "path_text.h"
#include "quillset_version.h"
#include "report_html.h"
#include "report_json.h"
#include "run_report.h"
#include "upgrade_comparison.h"
#include "whole_file.h"
#include "wizard_walk.h"

using namespace quillset::qsrun;

namespace {

bool writeWholeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

struct Options {
    std::string reportDirectory;
    std::string answersPath;
    std::string medium = ".";
    std::string replacementFolder;          // --replaced-from: where the medium's programs came from
    std::vector<std::string> replacedPrograms;  // --replaced: each program of the medium replaced
    std::string singleFile;  // --single-file: the program to start in place of Setup.exe
    std::string earlierFolder;   // --upgrade-from: the earlier medium, installed first
    std::string earlierMedium;   // its name for the report, as the user gave it
    std::string earlierAnswersPath;
    bool uninstall = false;
    unsigned long waitMs = 60000;
};

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--answers" && hasValue) options.answersPath = argv[++i];
        else if (argument == "--medium" && hasValue) options.medium = argv[++i];
        else if (argument == "--replaced-from" && hasValue) options.replacementFolder = argv[++i];
        else if (argument == "--replaced" && hasValue) options.replacedPrograms.push_back(argv[++i]);
        else if (argument == "--single-file" && hasValue) options.singleFile = argv[++i];
        else if (argument == "--upgrade-from" && hasValue) options.earlierFolder = argv[++i];
        else if (argument == "--earlier-medium" && hasValue) options.earlierMedium = argv[++i];
        else if (argument == "--earlier-answers" && hasValue) options.earlierAnswersPath = argv[++i];
        else if (argument == "--uninstall") options.uninstall = true;
        else if (argument == "--timeout" && hasValue) {
            const long seconds = std::strtol(argv[++i], nullptr, 10);
            if (seconds < 1 || seconds > 86400) return false;
            options.waitMs = static_cast<unsigned long>(seconds) * 1000;
        } else if (options.reportDirectory.empty() && argument.rfind("--", 0) != 0) options.reportDirectory = argument;
        else return false;
    }
    if (options.earlierMedium.empty()) options.earlierMedium = options.earlierFolder;
    return !options.reportDirectory.empty() && (options.earlierAnswersPath.empty() || !options.earlierFolder.empty());
}

// Reads an answers file; "" or the error as a compiler words it.
std::string loadAnswers(const std::string& path, Answers& answers) {
    std::string text;
    std::string error;
    if (!readWholeFile(path, text)) error = "0: cannot be read";
    else parseAnswers(text, answers, error);
    if (error.empty()) return "";
    const std::size_t colon = error.find(':');
    return "qsrun: " + path + ":" + error.substr(0, colon) + ": error:" + error.substr(colon + 1);
}

bool writeReport(const std::string& directory, const RunReport& report) {
    return writeWholeFile(directory + "\\report.json", reportJson(report)) &&
           writeWholeFile(directory + "\\report.html", reportHtml(report));
}

// The folders a single-file installer unpacks into ("qs-" and 16 hexadecimal digits) in the
// temporary folder, which is the same for the driver and the programs it starts.
std::set<std::string> unpackFolders() {
    std::set<std::string> found;
    char temporary[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof temporary, temporary);
    if (length == 0 || length >= sizeof temporary) return found;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((std::string(temporary) + "qs-*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        const std::string name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() == 19 &&
            name.find_first_not_of("0123456789abcdef", 3) == std::string::npos)
            found.insert(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

// Every dialog of the walked program's main thread is journalled from inside it by the hook in
// qsrun-pages.dll beside the driver (page_journal.h), so that a page shown between two looks at
// the screen is still reported. The hook is set while the program is suspended, before it runs.
class PageJournal {
public:
    PageJournal() {
        char directory[MAX_PATH * 2];
        const DWORD length = GetModuleFileNameA(nullptr, directory, sizeof directory);
        if (length == 0 || length >= sizeof directory) return;
        std::string dll(directory, length);
        dll = quillset::folderPrefixOf(dll) + "qsrun-pages.dll";
        module_ = LoadLibraryExA(dll.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (module_ != nullptr)
            hook_ = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module_, "pageJournalHook")));
        char temporary[MAX_PATH + 1];
        if (hook_ == nullptr || GetTempPathA(sizeof temporary, temporary) == 0) return;
        path_ = std::string(temporary) + "qsrun-pages-" + std::to_string(GetCurrentProcessId()) + ".journal";
        DeleteFileA(path_.c_str());
        SetEnvironmentVariableA("QSRUN_PAGE_JOURNAL", path_.c_str());
    }
    ~PageJournal() {
        unhook();
        if (!path_.empty()) DeleteFileA(path_.c_str());
        if (module_ != nullptr) FreeLibrary(module_);
    }
    PageJournal(const PageJournal&) = delete;
    PageJournal& operator=(const PageJournal&) = delete;

    // Starts a new journal for the next program and hooks its thread when the robot starts it.
    std::string watch(quillset::robot::Robot& robot) {
        if (path_.empty()) return "";
        unhook();
        DeleteFileA(path_.c_str());
        robot.setBeforeResume([this](DWORD threadId) {
            hooked_ = SetWindowsHookExA(WH_CALLWNDPROCRET, hook_, module_, threadId);
        });
        return path_;
    }

private:
    void unhook() {
        if (hooked_ != nullptr) UnhookWindowsHookEx(hooked_);
        hooked_ = nullptr;
    }

    HMODULE module_ = nullptr;
    HOOKPROC hook_ = nullptr;
    HHOOK hooked_ = nullptr;
    std::string path_;
};

// Ends the walked program when the walk stopped; its failure becomes the run's.
void endAfterFailure(quillset::robot::Robot& robot, const std::string& failure, RunReport& report) {
    if (failure.empty()) return;
    report.failure = failure;
    if (robot.programRunning() && !robot.endProgram()) report.failure += " (the program could not be ended)";
}

QsrunExitCode uninstallProduct(const Options& options, const Answers* answers, std::set<int>& used, PageJournal& journal,
                               RunReport& report) {
    report.uninstall.ran = true;
    if (report.appName.empty()) {
        report.failure = "--uninstall: Setup.exe wrote no Uninstall entry";
        return QsrunExitCode::remains;
    }
    quillset::robot::Robot robot;
    const std::string journalPath = journal.watch(robot);
    std::string failure = robot.startUninstall(report.appName, "UninstallString");
    if (failure.empty()) {
        WalkOptions walk{"QSUninstall.exe", answers, options.reportDirectory, options.waitMs, &used, journalPath, false};
        failure = walkProgram(robot, walk, report);
    }
    endAfterFailure(robot, failure.empty() ? "" : "the uninstaller: " + failure, report);
    int code = 0;
    report.uninstall.exited = robot.exitCode(code);
    report.uninstall.exitCode = code;
    surveyRemains(report);
    if (!report.failure.empty()) return QsrunExitCode::remains;
    if (report.uninstall.exited && code != 0) report.failure = "the uninstaller exited with " + std::to_string(code);
    else if (!report.uninstall.remaining.empty())
        report.failure = "after the uninstaller, " + std::to_string(report.uninstall.remaining.size()) +
                         " of the product's files remain, the first " + report.uninstall.remaining.front();
    else if (report.uninstall.entryRemains) report.failure = "after the uninstaller, its Uninstall entry remains";
    return report.failure.empty() ? QsrunExitCode::ok : QsrunExitCode::remains;
}

// One installation: Setup.exe of the current directory (or the single-file installer `singleFile`
// there, which unpacks and starts it) walked as `answers` say, the default buttons without.
QsrunExitCode installMedium(const Options& options, const std::string& reportDirectory, const std::string& singleFile,
                            const Answers* answers, std::set<int>& used, PageJournal& journal, RunReport& report) {
    const UninstallEntries before = readUninstallEntries();
    FILETIME started{};
    GetSystemTimeAsFileTime(&started);
    QsrunExitCode status = QsrunExitCode::ok;
    {
        quillset::robot::Robot robot;
        const std::string journalPath = journal.watch(robot);
        const std::string program = singleFile.empty() ? "Setup.exe" : singleFile;
        const std::set<std::string> foldersBefore = singleFile.empty() ? std::set<std::string>() : unpackFolders();
        std::string failure = robot.start(program, {});
        if (failure.empty()) {
            WalkOptions walk{"Setup.exe", answers, reportDirectory, options.waitMs, &used, journalPath, true};
            failure = walkProgram(robot, walk, report);
        }
        endAfterFailure(robot, failure, report);
        int code = 0;
        report.setupExited = robot.exitCode(code);
        report.setupExitCode = code;
        if (report.failure.empty() && code != 0) report.failure = program + " exited with " + std::to_string(code);
        if (!singleFile.empty()) {
            // The single file has ended (or was ended): what it unpacked must be gone with it.
            report.singleFile = singleFile;
            std::string left;
            for (const std::string& folder : unpackFolders())
                if (!foldersBefore.count(folder)) left += (left.empty() ? "" : ", ") + folder;
            report.unpackFolderRemoved = left.empty() && report.setupExited;
            if (report.failure.empty() && !left.empty())
                report.failure = singleFile + " left its unpacking folder " + left + " in the temporary folder";
        }
        if (!report.failure.empty()) status = QsrunExitCode::failed;
    }
    surveyInstallation(before, started, report);
    if (status == QsrunExitCode::ok && answers != nullptr) {
        const std::vector<std::string> unused = unusedAnswers(*answers, used);
        if (!unused.empty()) {
            report.failure = "the answers file's line " + unused.front();
            status = QsrunExitCode::answers;
        }
    }
    return status;
}

// --upgrade-from: the earlier medium installed first, in its own folder, reported in
// REPORT_DIR\earlier. Its failure is the run's.
QsrunExitCode installEarlierMedium(const Options& options, const Answers* answers, PageJournal& journal,
                                   RunReport& earlier) {
    earlier.version = QUILLSET_VERSION_TEXT;
    earlier.medium = options.earlierMedium;
    const std::string directory = options.reportDirectory + "\\earlier";
    CreateDirectoryA(directory.c_str(), nullptr);
    char medium[MAX_PATH * 4];
    const DWORD length = GetCurrentDirectoryA(sizeof medium, medium);
    QsrunExitCode status = QsrunExitCode::failed;
    if (length == 0 || length >= sizeof medium || !SetCurrentDirectoryA(options.earlierFolder.c_str())) {
        earlier.failure = "cannot go into " + options.earlierFolder;
    } else {
        std::set<int> used;
        status = installMedium(options, directory, "", answers, used, journal, earlier);
        SetCurrentDirectoryA(medium);
    }
    if (!writeReport(directory, earlier) && status == QsrunExitCode::ok) {
        earlier.failure = "cannot write the report into " + directory;
        status = QsrunExitCode::failed;
    }
    return status;
}

// After the later installation: what it did to the earlier one's files; after the uninstaller:
// which of them remain (shared files aside: the uninstaller keeps those for other programs).
void compareWithEarlier(const RunReport& earlier, RunReport& report) {
    std::vector<FileRecord> now;
    for (const FileRecord& file : earlier.files) now.push_back(describeFile(file.path, file.kind));
    report.upgrade = compareUpgrade(earlier, now, report);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (argc == 2 && std::string(argv[1]) == "--version") {
        say("qsrun-driver " QUILLSET_VERSION_TEXT);
        return 0;
    }
    if (!parseOptions(argc, argv, options)) {
        std::fputs("usage: qsrun-driver REPORT_DIR [--answers FILE] [--uninstall] [--timeout SECONDS] [--medium NAME]\n"
                   "                    [--replaced-from FOLDER --replaced PATH...] [--single-file PROGRAM]\n"
                   "                    [--upgrade-from FOLDER [--earlier-medium NAME] [--earlier-answers FILE]]\n",
                   stderr);
        return exitStatus(QsrunExitCode::usage);
    }
    Answers answers;
    Answers earlierAnswers;
    for (const auto& [path, parsed] : {std::pair{&options.answersPath, &answers}, {&options.earlierAnswersPath, &earlierAnswers}}) {
        const std::string error = path->empty() ? "" : loadAnswers(*path, *parsed);
        if (error.empty()) continue;
        say(error);
        return exitStatus(QsrunExitCode::answers);
    }
    const Answers* givenAnswers = options.answersPath.empty() ? nullptr : &answers;
    CoInitialize(nullptr);
    // A hidden window of our own keeps Wine's virtual desktop up between Setup.exe and the
    // uninstaller (it closes when the last program with a window ends).
    CreateWindowExA(0, "STATIC", "qsrun", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);

    RunReport report;
    report.version = QUILLSET_VERSION_TEXT;
    report.medium = options.medium;
    report.replacementFolder = options.replacementFolder;
    report.replacedPrograms = options.replacedPrograms;
    std::set<int> used;
    PageJournal journal;
    QsrunExitCode status = QsrunExitCode::ok;
    if (!options.earlierFolder.empty()) {
        report.earlierRun.emplace_back();
        status = installEarlierMedium(options, options.earlierAnswersPath.empty() ? nullptr : &earlierAnswers, journal,
                                      report.earlierRun.front());
        if (status != QsrunExitCode::ok) report.failure = "the earlier medium " + options.earlierMedium + ": " + report.earlierRun.front().failure;
    }
    if (status == QsrunExitCode::ok) {
        status = installMedium(options, options.reportDirectory, options.singleFile, givenAnswers, used, journal, report);
        if (!report.earlierRun.empty()) compareWithEarlier(report.earlierRun.front(), report);
    }
    // What Setup.exe installed goes again even when an answer was not used: nothing is left behind
    // for the next run on the prefix.
    if (options.uninstall && status != QsrunExitCode::failed && report.setupExited && report.setupExitCode == 0) {
        const std::string earlier = report.failure;
        report.failure.clear();
        QsrunExitCode removal = uninstallProduct(options, givenAnswers, used, journal, report);
        if (!report.earlierRun.empty()) {
            surveyEarlierRemains(report.earlierRun.front(), report);
            const std::vector<std::string>& remaining = report.upgrade.remainingAfterUninstall;
            if (report.failure.empty() && !remaining.empty()) {
                report.failure = "after the uninstaller, " + std::to_string(remaining.size()) +
                                 " of the earlier version's files remain, the first " + remaining.front();
                removal = QsrunExitCode::remains;
            }
        }
        if (!earlier.empty()) report.failure = earlier + (report.failure.empty() ? "" : "; " + report.failure);
        if (status == QsrunExitCode::ok) status = removal;
    }

    if (!writeReport(options.reportDirectory, report)) {
        say("qsrun: cannot write the report into " + options.reportDirectory);
        return exitStatus(QsrunExitCode::failed);
    }
    say(report.failure.empty() ? "qsrun: ok: " + std::to_string(report.pages.size()) + " pages, " +
                                     std::to_string(report.files.size()) + " files installed" +
                                     (report.earlierRun.empty() ? "" : " over the earlier medium's " +
                                          std::to_string(report.earlierRun.front().files.size())) +
                                     (options.uninstall ? ", removed again" : "")
                               : "qsrun: failed: " + report.failure);
    return exitStatus(status);
}
