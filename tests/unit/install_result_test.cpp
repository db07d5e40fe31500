#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install_result.h"
#include "scripted_prompt.h"

namespace quillset {
namespace {

namespace Bit = InstallResultBit;

const std::string kCaption = "SERVER.DLL";
const std::string kSource = "A:\\SERVER.DLL", kDestination = "C:\\WINDOWS\\SYSTEM\\SERVER.DLL";

Call message(const std::string& text) { return quillset::message(kCaption, text); }

const Call kTempFile = message("Temporary file, file cannot be copied.");
const Call kMismatch = {"The file to install and the old file differ in one or more attributes. If you want to, you "
                        "can install it though. Do you want to install the file (not recommended)?",
                        kCaption, 0x4 | 0x100, PromptOwner::none};
// The question names both files of the conflict.
const Call kLanguage = {"<language conflict " + kSource + " " + kDestination + ">", "", 0, PromptOwner::none};
const Call kWriteProtected = message(
    "File cannot be written to, because it is write protected. You should remove the write protection and try to "
    "install again.");
const Call kOutOfSpace = message("The file cannot be saved, because there is insufficient harddisk space.");
const Call kSharingViolation = message("Sharing violation occured, setup cannot install the file.");
const Call kCannotCreate = message("Could not create the file, setup cannot install the file");
const Call kOutOfMemory = message("Out of memory error, file cannot be installed. This may be an internal error.");
const Call kCannotReadDestination = message("Couldn\xB4t read destination, file cannot be installed.");
const Call kBufferTooSmall = message("VIF_BUFFTOOSMALL // INTERNAL ERROR!!!");
const Call kQuit = {"Are you really sure to quit setup? The application will be deleted if you click on Yes",
                    "Quit setup", 0x4, PromptOwner::mainWindow};

Call disk(const std::string& number) {
    return {"Please insert disk " + number +
                " in order to continue setup. If you inserted correct disk and this message appears again, setup "
                "script may be corrupt.",
            kCaption, 0x2, PromptOwner::mainWindow};
}

constexpr int Yes = Prompt::AnswerYes, No = Prompt::AnswerNo, Abort = Prompt::AnswerAbort,
              Retry = Prompt::AnswerRetry, Ignore = Prompt::AnswerIgnore;
using O = InstallOutcome;

struct Case {
    const char* name;
    std::uint32_t bits;
    bool installAll;
    std::vector<int> answers;
    InstallOutcome outcome;
    std::vector<Call> calls;
    std::int16_t diskNumber = 3;
};

// Each case's outcome and questions, for a plain or a `forced` call of the installer.
template <std::size_t N>
void expectOutcomes(const Case (&cases)[N], bool forced) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPrompt prompt(c.answers);
        const InstallingFile file{kCaption, c.diskNumber, kSource, kDestination};
        bool installAll = c.installAll;
        EXPECT_EQ(interpretInstallResult(c.bits, forced, file, installAll, prompt), c.outcome);
        EXPECT_EQ(prompt.calls, c.calls);
        EXPECT_TRUE(prompt.allAnswersUsed());
    }
}

TEST(InstallResultTest, EveryRowAndCombination) {
    const Case cases[] = {
        {"no bits", 0, false, {}, O::Installed, {}},
        // Every row alone, in table order.
        {"1 TempFile", Bit::TempFile, false, {}, O::Stop, {kTempFile}},
        {"2 Mismatch Yes", Bit::Mismatch, false, {Yes}, O::Force, {kMismatch}},
        {"2 Mismatch No", Bit::Mismatch, false, {No}, O::Skip, {kMismatch}},
        {"3 SourceOld", Bit::SourceOld, false, {}, O::Skip, {}},
        {"4 CodePage installAll", Bit::DifferentCodePage, true, {}, O::Force, {}},
        {"4 CodePage No", Bit::DifferentCodePage, false, {0}, O::Skip, {kLanguage}},
        {"4 CodePage Yes", Bit::DifferentCodePage, false, {1}, O::Force, {kLanguage}},
        {"4 CodePage Install all", Bit::DifferentCodePage, false, {2}, O::Force, {kLanguage}},
        {"5 Language installAll", Bit::DifferentLanguage, true, {}, O::Force, {}},
        {"5 Language No", Bit::DifferentLanguage, false, {0}, O::Skip, {kLanguage}},
        {"5 Language Yes", Bit::DifferentLanguage, false, {1}, O::Force, {kLanguage}},
        {"5 Language Install all", Bit::DifferentLanguage, false, {2}, O::Force, {kLanguage}},
        {"5 Language dialog failed", Bit::DifferentLanguage, false, {-1}, O::Force, {kLanguage}},
        {"6 WriteProtected", Bit::WriteProtected, false, {}, O::Stop, {kWriteProtected}},
        {"7 FileInUse", Bit::FileInUse, false, {}, O::InUse, {}},
        {"8 OutOfSpace", Bit::OutOfSpace, false, {}, O::Stop, {kOutOfSpace}},
        {"9 AccessViolation", Bit::AccessViolation, false, {}, O::InUse, {}},
        {"10 SharingViolation", Bit::SharingViolation, false, {}, O::Stop, {kSharingViolation}},
        {"11 CannotCreate", Bit::CannotCreate, false, {}, O::Stop, {kCannotCreate}},
        {"12 CannotDelete", Bit::CannotDelete, false, {}, O::InUse, {}},
        {"13 OutOfMemory", Bit::OutOfMemory, false, {}, O::Stop, {kOutOfMemory}},
        {"14 CannotReadSource Retry", Bit::CannotReadSource, false, {Retry}, O::Retry, {disk("3")}},
        {"15 CannotReadDestination", Bit::CannotReadDestination, false, {}, O::Stop, {kCannotReadDestination}},
        {"16 BufferTooSmall", Bit::BufferTooSmall, false, {}, O::Stop, {kBufferTooSmall}},
        // Bits without a row.
        {"DifferentType", Bit::DifferentType, false, {}, O::Stop, {}},
        {"CannotRename", Bit::CannotRename, false, {}, O::Stop, {}},
        {"CannotDeleteCurrent", Bit::CannotDeleteCurrent, false, {}, O::Stop, {}},
        {"unknown bit", 0x80000000u, false, {}, O::Stop, {}},
        // Combinations.
        {"TempFile|SourceOld", Bit::TempFile | Bit::SourceOld, false, {}, O::Skip, {kTempFile}},
        {"older shared source (Wine 0x7), Yes", Bit::TempFile | Bit::Mismatch | Bit::SourceOld, false, {Yes}, O::Force,
         {kTempFile, kMismatch}},
        {"older shared source (Wine 0x7), No", 0x7, false, {No}, O::Skip, {kTempFile, kMismatch}},
        {"held open (Wine 0x1400)", Bit::SharingViolation | Bit::CannotDelete, false, {}, O::InUse,
         {kSharingViolation}},
        {"loaded DLL (Wine 0x1200)", Bit::AccessViolation | Bit::CannotDelete, false, {}, O::InUse, {}},
        {"CodePage|Language: one dialog", Bit::DifferentCodePage | Bit::DifferentLanguage, false, {0}, O::Skip,
         {kLanguage}},
        {"a deciding row hides later messages", Bit::TempFile | Bit::FileInUse | Bit::OutOfSpace, false, {}, O::InUse,
         {kTempFile}},
        {"every message row, in order",
         Bit::TempFile | Bit::WriteProtected | Bit::OutOfSpace | Bit::SharingViolation | Bit::CannotCreate |
             Bit::OutOfMemory | Bit::CannotReadDestination | Bit::BufferTooSmall | Bit::CannotRename,
         false, {}, O::Stop,
         {kTempFile, kWriteProtected, kOutOfSpace, kSharingViolation, kCannotCreate, kOutOfMemory,
          kCannotReadDestination, kBufferTooSmall}},
        // The disk prompt.
        {"disk Ignore", Bit::CannotReadSource, false, {Ignore}, O::Skip, {disk("3")}},
        // No to the quit question tries the file again before the prompt comes back.
        {"disk Abort, No", Bit::CannotReadSource, false, {Abort, No}, O::Retry, {disk("3"), kQuit}},
        {"disk Abort, Yes", Bit::CannotReadSource, false, {Abort, Yes}, O::Stop, {disk("3"), kQuit}},
        {"disk Abort, Yes, then rows 15 and 16",
         Bit::CannotReadSource | Bit::CannotReadDestination | Bit::BufferTooSmall, false, {Abort, Yes}, O::Stop,
         {disk("3"), kQuit, kCannotReadDestination, kBufferTooSmall}},
        {"disk Retry ends before row 15", Bit::CannotReadSource | Bit::CannotReadDestination, false, {Retry}, O::Retry,
         {disk("3")}},
        {"message rows before the disk prompt", Bit::OutOfMemory | Bit::CannotReadSource, false, {Ignore}, O::Skip,
         {kOutOfMemory, disk("3")}},
        {"disk prompt not shown (answer 0)", Bit::CannotReadSource, false, {0}, O::Stop, {disk("3")}},
        {"negative disk number", Bit::CannotReadSource, false, {Retry}, O::Retry, {disk("-1")}, -1},
        {"lowest disk number", Bit::CannotReadSource, false, {Ignore}, O::Skip, {disk("-32768")}, -32768},
        {"disk 0", Bit::CannotReadSource, false, {Ignore}, O::Skip, {disk("0")}, 0},
    };
    expectOutcomes(cases, false);
}

// "Install all" answers every later conflict of the run; the other answers hold for one file.
TEST(InstallResultTest, InstallAllHoldsForTheRestOfTheRun) {
    const InstallingFile file{kCaption, 1, kSource, kDestination};
    for (const int answer : {0, 1, 2, -1}) {
        SCOPED_TRACE(answer);
        bool installAll = false;
        ScriptedPrompt first({answer});
        interpretInstallResult(Bit::DifferentLanguage, false, file, installAll, first);
        EXPECT_EQ(installAll, answer == 2);
        ScriptedPrompt second({0});
        EXPECT_EQ(interpretInstallResult(Bit::DifferentCodePage, false, file, installAll, second),
                  answer == 2 ? O::Force : O::Skip);
        EXPECT_EQ(second.calls.size(), answer == 2 ? 0u : 1u);
    }
}

// After a forced call the file is already in place: an accepted conflict means installed, not
// "call again forced"; the questions and the refusals are the same as after a plain call.
TEST(InstallResultTest, AForcedCallsAcceptedConflictIsInstalled) {
    const Case cases[] = {
        {"no bits", 0, false, {}, O::Installed, {}},
        {"2 Mismatch Yes", Bit::Mismatch, false, {Yes}, O::InstalledAnyway, {kMismatch}},
        {"2 Mismatch No", Bit::Mismatch, false, {No}, O::Skip, {kMismatch}},
        {"4 CodePage installAll", Bit::DifferentCodePage, true, {}, O::InstalledAnyway, {}},
        {"5 Language Yes", Bit::DifferentLanguage, false, {1}, O::InstalledAnyway, {kLanguage}},
        {"5 Language No", Bit::DifferentLanguage, false, {0}, O::Skip, {kLanguage}},
        {"older shared source (Wine 0x7), Yes", 0x7, false, {Yes}, O::InstalledAnyway, {kTempFile, kMismatch}},
        {"SourceOld", Bit::SourceOld, false, {}, O::Skip, {}},
    };
    expectOutcomes(cases, true);
}

}  // namespace
}  // namespace quillset
