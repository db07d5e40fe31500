// Installing one entry, over a platform and a user that answer from a script: what the platform
// is asked to do, what the user is told and asked, what the log records and where the shortcut
// would point, for every way through installFileEntry.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "../string_sink.h"
#include "install_file.h"
#include "install_result.h"
#include "path_text.h"
#include "scripted_prompt.h"

namespace quillset {
namespace {

namespace Bit = InstallResultBit;

// What the platform finds, and answers to what it is asked.
struct World {
    bool destinationExists = false;
    bool sharedInUse = false;  // the shared file's copy in the system is in use before installing
    LockedFileResult restart = LockedFileResult::handled;
    ServerRegistration registration = ServerRegistration::notLibrary;
    SplitPartResult part = SplitPartResult::appended;
};

World existing() {
    World world;
    world.destinationExists = true;
    return world;
}
World restart(LockedFileResult result, bool inUseBeforehand) {
    World world;
    world.sharedInUse = inUseBeforehand;
    world.restart = result;
    return world;
}
World server(ServerRegistration registration) {
    World world;
    world.registration = registration;
    return world;
}
World part(SplitPartResult result) {
    World world;
    world.part = result;
    return world;
}

// Records what it is asked to do. The installer answers from a script, call by call. Short forms:
// a source the script listed with a short name has it, and an installed file has the short name it
// is expected to have.
class ScriptedPlatform : public InstallPlatform {
public:
    ScriptedPlatform(const World& world, std::vector<std::uint32_t> results)
        : world_(world), results_(results.begin(), results.end()) {}

    std::string sourcePathOf(const std::string& path, const std::string& listedShortForm) override {
        return listedShortForm.empty() ? path : folderOf(path) + "\\" + listedShortForm;
    }
    std::string shortPathOf(const std::string& path) override { return path; }
    std::string installedPathOf(const std::string& path, const std::string& likelyShortName) override {
        return likelyShortName.empty() ? path : folderOf(path) + "\\" + likelyShortName;
    }
    SharedFileLocation findSharedFile(const std::string&, const std::string& windowsDirectory,
                                      const std::string& applicationDirectory) override {
        EXPECT_EQ(windowsDirectory + "|" + applicationDirectory, "C:\\WINDOWS|C:\\App\\");
        return {world_.sharedInUse, "C:\\Old", "C:\\WINDOWS\\SYSTEM"};
    }
    std::uint32_t installFile(bool force, const std::string& sourceName, const std::string& destinationName,
                              const std::string& sourceDirectory, const std::string& destinationDirectory,
                              const std::string& currentDirectory) override {
        actions.push_back("install " + sourceDirectory + sourceName + " -> " + destinationDirectory + "\\" +
                          destinationName + (currentDirectory.empty() ? "" : " over " + currentDirectory) +
                          (force ? " forced" : ""));
        if (results_.empty()) {
            ADD_FAILURE() << "unscripted installer call";
            return Bit::CannotCreate;
        }
        const std::uint32_t result = results_.front();
        results_.pop_front();
        return result;
    }
    void discardTemporaryCopies() override {}
    void createDirectories(const std::string&) override {}
    bool fileExists(const std::string&) override { return world_.destinationExists; }
    void deleteFile(const std::string& path) override { actions.push_back("delete " + path); }
    LockedFileResult replaceAtRestart(const std::string& source, const std::string& destination,
                                      const std::string&) override {
        actions.push_back("restart " + source + " -> " + destination);
        return world_.restart;
    }
    ServerRegistration registerServer(const std::string& path) override {
        actions.push_back("register " + path);
        return world_.registration;
    }
    SplitPartResult addPart(const InstallFileEntry& entry, const std::string& destinationPath,
                            InstallPrompt&) override {
        actions.push_back("join " + entry.sourcePath + " for " + destinationPath);
        return world_.part;
    }
    std::string joinFileOf(const std::string& destinationPath) override {
        return "C:\\WINDOWS\\TEMP\\" + fileNameOf(destinationPath) + ".ToInstall.TMP";
    }

    bool allResultsUsed() const { return results_.empty(); }
    std::vector<std::string> actions;

private:
    static std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }
    World world_;
    std::deque<std::uint32_t> results_;
};

// The entries: DP is "C:\App\", so "[DP]\" names a file in C:\App by way of a doubled backslash.
enum class Entry { plain, longName, tooLong, shared, firstPart, lastPart };

InstallFileEntry entryOf(Entry kind) {
    InstallFileEntry entry;
    entry.sourcePath = "C:\\Medium\\a.txt";
    entry.destinationPath = "[DP]\\a.txt";
    entry.diskNumber = 1;
    switch (kind) {
        case Entry::plain: break;
        case Entry::longName:
            entry.sourcePath = "C:\\Medium\\Long name.txt";
            entry.sourceShortName = "LONGNA~1.TXT";
            entry.destinationPath = "[DP]\\Long name.txt";
            break;
        case Entry::tooLong: entry.destinationPath = "[DP]\\" + std::string(253, 'x'); break;  // C:\App\x...: 260
        case Entry::shared:
            entry.sourcePath = "C:\\Medium\\server.dll";
            entry.destinationPath = "[DP]\\server.dll";
            entry.shared = true;
            break;
        case Entry::firstPart:
        case Entry::lastPart:
            entry.sourcePath = kind == Entry::firstPart ? "C:\\Medium\\big.001" : "C:\\Medium\\big.002";
            entry.destinationPath = "[DP]\\big.dat";
            entry.splitPart = true;
            entry.lastPart = kind == Entry::lastPart;
            entry.diskNumber = 2;
            break;
    }
    return entry;
}

const std::string kInUse = "File is in use and setup is not able to overwrite the file.";
const Call kOverwrite = {"<overwrite C:\\App\\a.txt>", "", 0, PromptOwner::none};
const std::string kInstallPlain = "install C:\\Medium\\a.txt -> C:\\App\\a.txt forced";
const std::string kInstallShared = "install C:\\Medium\\server.dll -> C:\\WINDOWS\\SYSTEM\\server.dll over C:\\Old";
const std::string kRestartShared = "restart C:\\Medium\\server.dll -> C:\\WINDOWS\\SYSTEM\\server.dll";
const std::string kRegisterShared = "register C:\\WINDOWS\\SYSTEM\\server.dll";
const std::string kJoinFile = "C:\\WINDOWS\\TEMP\\big.dat.ToInstall.TMP";
// The log's records, lines as the log writes them.
const std::string kPlainRecord = "C:\\App\\a.txt\r\nNONSHARED\r\n";
const std::string kSharedRecord = "C:\\WINDOWS\\SYSTEM\\server.dll\r\nSHARED\r\n";
const std::string kBigRecord = "C:\\App\\big.dat\r\nNONSHARED\r\n";

constexpr int Yes = Prompt::AnswerYes, No = Prompt::AnswerNo, Retry = Prompt::AnswerRetry;
constexpr int DialogNo = 0, DialogYes = 1, DialogAll = 2, DialogNotShown = -1;

struct Case {
    const char* name;
    Entry entry;
    World world;
    std::vector<std::uint32_t> results;  // the installer's, call by call
    std::vector<int> answers;            // the user's, question by question
    FileStep step;
    const char* installedPath;  // where the shortcut points, empty for none
    std::vector<std::string> actions;
    std::vector<Call> calls;
    std::string log;  // the records written
    bool overwriteAllAfter = false;
    bool installAllAfter = false;
};

TEST(InstallFileTest, EveryWayThroughOneEntry) {
    const Case cases[] = {
        // The non-shared way: exactly the destination, always forced.
        {"new file", Entry::plain, {}, {0}, {}, FileStep::next, "C:\\App\\a.txt", {kInstallPlain}, {}, kPlainRecord},
        {"installed under a long name, logged under the short one", Entry::longName, {}, {0}, {}, FileStep::next,
         "C:\\App\\Long name.txt", {"install C:\\Medium\\LONGNA~1.TXT -> C:\\App\\Long name.txt forced"}, {},
         "C:\\App\\LONGNA~1.TXT\r\nNONSHARED\r\n"},
        {"existing file kept", Entry::plain, existing(), {}, {DialogNo}, FileStep::next, "C:\\App\\a.txt", {},
         {kOverwrite}, ""},
        {"existing file overwritten", Entry::plain, existing(), {0}, {DialogYes}, FileStep::next, "C:\\App\\a.txt",
         {kInstallPlain}, {kOverwrite}, kPlainRecord},
        // "Overwrite every file" answers the language conflicts of the run as well.
        {"existing file, overwrite every file", Entry::plain, existing(), {0}, {DialogAll}, FileStep::next,
         "C:\\App\\a.txt", {kInstallPlain}, {kOverwrite}, kPlainRecord, true, true},
        {"overwrite question not shown: overwritten", Entry::plain, existing(), {0}, {DialogNotShown},
         FileStep::next, "C:\\App\\a.txt", {kInstallPlain}, {kOverwrite}, kPlainRecord},
        {"file in use stops the run", Entry::plain, {}, {Bit::SharingViolation | Bit::CannotDelete}, {},
         FileStep::stopRun, "", {kInstallPlain},
         {message("a.txt", "Sharing violation occured, setup cannot install the file."), message("a.txt", kInUse)},
         ""},
        {"write protected stops the run", Entry::plain, {}, {Bit::WriteProtected}, {}, FileStep::stopRun, "",
         {kInstallPlain},
         {message("a.txt", "File cannot be written to, because it is write protected. You should remove the write "
                           "protection and try to install again.")},
         ""},
        {"disk asked for, then installed", Entry::plain, {}, {Bit::CannotReadSource, 0}, {Retry}, FileStep::next,
         "C:\\App\\a.txt", {kInstallPlain, kInstallPlain},
         {{"Please insert disk 1 in order to continue setup. If you inserted correct disk and this message appears "
           "again, setup script may be corrupt.",
           "a.txt", Prompt::AbortRetryIgnore, PromptOwner::mainWindow}},
         kPlainRecord},
        {"older source skipped", Entry::plain, {}, {Bit::SourceOld}, {}, FileStep::next, "C:\\App\\a.txt",
         {kInstallPlain}, {}, ""},
        // A path of 260 characters or more cannot be created on Windows: not even tried.
        {"path beyond the limit", Entry::tooLong, {}, {}, {}, FileStep::stopRun, "", {},
         {message("a.txt", "Could not create the file, setup cannot install the file")}, ""},

        // The shared way: where the platform recommends, forced only when the user agrees.
        {"shared file, no library", Entry::shared, {}, {0}, {}, FileStep::next, "C:\\App\\server.dll",
         {kInstallShared, kRegisterShared}, {}, kSharedRecord},
        {"shared library without DllRegisterServer", Entry::shared, server(ServerRegistration::noRegisterServer),
         {0}, {}, FileStep::next, "C:\\App\\server.dll", {kInstallShared, kRegisterShared}, {},
         kSharedRecord + "NOAUTOREGSVR\r\n"},
        {"shared server registered", Entry::shared, server(ServerRegistration::registered), {0}, {}, FileStep::next,
         "C:\\App\\server.dll", {kInstallShared, kRegisterShared}, {}, kSharedRecord + "AUTOREGSVR\r\n"},
        {"shared server whose registration fails", Entry::shared, server(ServerRegistration::failed), {0}, {},
         FileStep::next, "C:\\App\\server.dll", {kInstallShared, kRegisterShared},
         {{"Registration of C:\\WINDOWS\\SYSTEM\\server.dll failed, setup will continue.", "Server registration",
           Prompt::IconError, PromptOwner::page}},
         kSharedRecord + "AUTOREGSVR\r\n"},
        {"older shared source (Wine 0x7), installed all the same", Entry::shared, {}, {0x7, 0}, {Yes},
         FileStep::next, "C:\\App\\server.dll", {kInstallShared, kInstallShared + " forced", kRegisterShared},
         {message("server.dll", "Temporary file, file cannot be copied."),
          {"The file to install and the old file differ in one or more attributes. If you want to, you can install "
           "it though. Do you want to install the file (not recommended)?",
           "server.dll", Prompt::YesNo | Prompt::DefaultButton2, PromptOwner::none}},
         kSharedRecord},
        {"older shared source (Wine 0x7), kept", Entry::shared, {}, {0x7}, {No}, FileStep::next,
         "C:\\App\\server.dll", {kInstallShared},
         {message("server.dll", "Temporary file, file cannot be copied."),
          {"The file to install and the old file differ in one or more attributes. If you want to, you can install "
           "it though. Do you want to install the file (not recommended)?",
           "server.dll", Prompt::YesNo | Prompt::DefaultButton2, PromptOwner::none}},
         ""},
        {"language conflict, install all", Entry::shared, {}, {Bit::DifferentLanguage, 0}, {DialogAll},
         FileStep::next, "C:\\App\\server.dll", {kInstallShared, kInstallShared + " forced", kRegisterShared},
         {{"<language conflict C:\\Medium\\server.dll C:\\WINDOWS\\SYSTEM\\server.dll>", "", 0, PromptOwner::none}},
         kSharedRecord, false, true},

        // A shared file in use: replaced at the next restart, and not logged; the user hears of
        // what could not be arranged.
        {"in use before installing", Entry::shared, restart(LockedFileResult::handled, true), {}, {}, FileStep::next,
         "C:\\App\\server.dll", {kRestartShared}, {}, ""},
        {"in use before installing, not scheduled", Entry::shared, restart(LockedFileResult::notScheduled, true), {},
         {}, FileStep::next, "C:\\App\\server.dll", {kRestartShared}, {message("server.dll", kInUse)}, ""},
        {"in use while installing (Wine 0x1200)", Entry::shared, restart(LockedFileResult::handled, false),
         {Bit::AccessViolation | Bit::CannotDelete}, {}, FileStep::next, "C:\\App\\server.dll",
         {kInstallShared, kRestartShared}, {}, ""},
        {"in use, copy to TEMP failed", Entry::shared, restart(LockedFileResult::copyFailed, true), {}, {},
         FileStep::next, "C:\\App\\server.dll", {kRestartShared}, {message("Error", "Failed to copy file")}, ""},
        {"in use, unsupported system", Entry::shared, restart(LockedFileResult::unsupportedSystem, true), {}, {},
         FileStep::next, "C:\\App\\server.dll", {kRestartShared}, {message("Error", "Unsupported operating system")},
         ""},

        // Split files: each part is joined; the last one installs the join file under the entry's
        // name and removes it.
        {"first part joined", Entry::firstPart, {}, {}, {}, FileStep::next, "",
         {"join C:\\Medium\\big.001 for C:\\App\\big.dat"}, {}, ""},
        {"last part joined and installed", Entry::lastPart, {}, {0}, {}, FileStep::next, "C:\\App\\big.dat",
         {"join C:\\Medium\\big.002 for C:\\App\\big.dat",
          "install C:\\WINDOWS\\TEMP\\big.dat.ToInstall.TMP -> C:\\App\\big.dat forced", "delete " + kJoinFile},
         {}, kBigRecord},
        {"last part left out at the disk prompt: the rest is installed", Entry::lastPart,
         part(SplitPartResult::leftOut), {0}, {}, FileStep::next, "C:\\App\\big.dat",
         {"join C:\\Medium\\big.002 for C:\\App\\big.dat",
          "install C:\\WINDOWS\\TEMP\\big.dat.ToInstall.TMP -> C:\\App\\big.dat forced", "delete " + kJoinFile},
         {}, kBigRecord},
        {"quit at a part's disk prompt", Entry::firstPart, part(SplitPartResult::quit), {}, {}, FileStep::stopRun, "",
         {"join C:\\Medium\\big.001 for C:\\App\\big.dat"}, {}, ""},
        {"part that could not be joined", Entry::lastPart, part(SplitPartResult::failed), {}, {}, FileStep::stopRun,
         "", {"join C:\\Medium\\big.002 for C:\\App\\big.dat"}, {}, ""},
        // The join file stays: a later joining empties it.
        {"joined file that stops the run", Entry::lastPart, {}, {Bit::OutOfSpace}, {}, FileStep::stopRun, "",
         {"join C:\\Medium\\big.002 for C:\\App\\big.dat",
          "install C:\\WINDOWS\\TEMP\\big.dat.ToInstall.TMP -> C:\\App\\big.dat forced"},
         {message("big.dat.ToInstall.TMP",
                  "The file cannot be saved, because there is insufficient harddisk space.")},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VariableTable variables;
        variables.set("DP", "C:\\App\\");
        variables.set("WINPATH", "C:\\WINDOWS");
        InstallRun answers;
        std::string bytes;
        UninstallLog log;
        log.open(std::make_unique<StringSink>(bytes));
        ScriptedPlatform platform(c.world, c.results);
        ScriptedPrompt prompt(c.answers);
        InstallContext context{variables, answers, log, platform, prompt};

        const FileStepResult result = installFileEntry(context, entryOf(c.entry));
        EXPECT_EQ(result.step, c.step);
        EXPECT_EQ(result.installedPath, c.installedPath);
        EXPECT_EQ(platform.actions, c.actions);
        EXPECT_EQ(prompt.calls, c.calls);
        EXPECT_EQ(bytes, c.log);
        EXPECT_EQ(answers.overwriteAll, c.overwriteAllAfter);
        EXPECT_EQ(answers.installAll, c.installAllAfter);
        EXPECT_TRUE(platform.allResultsUsed());
        EXPECT_TRUE(prompt.allAnswersUsed());
    }
}

// The run's "all" answers hold for every later file: no question for an existing file once every
// file is to be overwritten, none for a conflict once all are to be installed.
TEST(InstallFileTest, AllAnswersHoldForLaterFiles) {
    VariableTable variables;
    variables.set("DP", "C:\\App\\");
    variables.set("WINPATH", "C:\\WINDOWS");
    InstallRun answers;
    answers.overwriteAll = answers.installAll = true;
    UninstallLog log;
    // The non-shared way installs forced, so its conflict is already installed; the shared way
    // installs again, forced.
    ScriptedPlatform platform(existing(), {Bit::DifferentCodePage, Bit::DifferentLanguage, 0});
    ScriptedPrompt prompt({});
    InstallContext context{variables, answers, log, platform, prompt};
    EXPECT_EQ(installFileEntry(context, entryOf(Entry::plain)).step, FileStep::next);
    EXPECT_EQ(installFileEntry(context, entryOf(Entry::shared)).step, FileStep::next);
    EXPECT_TRUE(prompt.calls.empty());
    EXPECT_TRUE(platform.allResultsUsed());
}

}  // namespace
}  // namespace quillset
