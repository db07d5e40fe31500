#include "install_result.h"

#include "quit_question.h"

namespace quillset {

namespace {

namespace Bit = InstallResultBit;

// What one row of the table does when its bit is set.
enum class RowAction {
    message,           // show the row's text (no owner, the caller's caption, MB_OK) and go on
    outcome,           // end the test with the row's outcome, without a message
    // An accepted conflict is Force after a plain call and InstalledAnyway after a forced one.
    mismatchQuestion,  // ask the row's text (MB_YESNO | MB_DEFBUTTON2): No -> Skip, else accepted
    languageConflict,  // installAll -> accepted; else the conflict dialog: 0 -> Skip, 2 sets installAll,
                       // else accepted
    diskPrompt,        // Retry -> Retry, Ignore -> Skip, confirmed quit -> go on
};

struct Row {
    std::uint32_t bit;
    RowAction action;
    const char* text;
    InstallOutcome outcome;  // for RowAction::outcome
};

// The table of result bits, in the order they are tested.
constexpr Row kRows[] = {
    {Bit::TempFile, RowAction::message, "Temporary file, file cannot be copied.", InstallOutcome::Stop},
    {Bit::Mismatch, RowAction::mismatchQuestion,
     "The file to install and the old file differ in one or more attributes. If you want to, you can install "
     "it though. Do you want to install the file (not recommended)?",
     InstallOutcome::Stop},
    {Bit::SourceOld, RowAction::outcome, nullptr, InstallOutcome::Skip},
    {Bit::DifferentCodePage, RowAction::languageConflict, nullptr, InstallOutcome::Stop},
    {Bit::DifferentLanguage, RowAction::languageConflict, nullptr, InstallOutcome::Stop},
    {Bit::WriteProtected, RowAction::message,
     "File cannot be written to, because it is write protected. You should remove the write protection and "
     "try to install again.",
     InstallOutcome::Stop},
    {Bit::FileInUse, RowAction::outcome, nullptr, InstallOutcome::InUse},
    {Bit::OutOfSpace, RowAction::message, "The file cannot be saved, because there is insufficient harddisk space.",
     InstallOutcome::Stop},
    {Bit::AccessViolation, RowAction::outcome, nullptr, InstallOutcome::InUse},
    {Bit::SharingViolation, RowAction::message, "Sharing violation occured, setup cannot install the file.",
     InstallOutcome::Stop},
    {Bit::CannotCreate, RowAction::message, "Could not create the file, setup cannot install the file",
     InstallOutcome::Stop},
    {Bit::CannotDelete, RowAction::outcome, nullptr, InstallOutcome::InUse},
    {Bit::OutOfMemory, RowAction::message,
     "Out of memory error, file cannot be installed. This may be an internal error.", InstallOutcome::Stop},
    {Bit::CannotReadSource, RowAction::diskPrompt, nullptr, InstallOutcome::Stop},
    // The apostrophe is the acute accent, byte 0xB4 in code page 1252.
    {Bit::CannotReadDestination, RowAction::message,
     "Couldn"
     "\xB4"
     "t read destination, file cannot be installed.",
     InstallOutcome::Stop},
    {Bit::BufferTooSmall, RowAction::message, "VIF_BUFFTOOSMALL // INTERNAL ERROR!!!", InstallOutcome::Stop},
};

}  // namespace

DiskAnswer askForDisk(const std::string& caption, std::int16_t diskNumber, InstallPrompt& prompt) {
    const std::string text = "Please insert disk " + std::to_string(static_cast<int>(diskNumber)) +
                             " in order to continue setup. If you inserted correct disk and this message appears "
                             "again, setup script may be corrupt.";
    const int answer = prompt.showMessage(text, caption, Prompt::AbortRetryIgnore, PromptOwner::mainWindow);
    if (answer == Prompt::AnswerRetry) return DiskAnswer::retry;
    if (answer == Prompt::AnswerIgnore) return DiskAnswer::skip;
    if (answer != Prompt::AnswerAbort) return DiskAnswer::quitConfirmed;
    return prompt.showMessage(kQuitQuestion, kQuitCaption, Prompt::YesNo, PromptOwner::mainWindow) == Prompt::AnswerYes
               ? DiskAnswer::quitConfirmed
               : DiskAnswer::retry;
}

InstallOutcome interpretInstallResult(std::uint32_t resultBits, bool forced, const InstallingFile& file,
                                      bool& installAll, InstallPrompt& prompt) {
    const std::string& caption = file.caption;
    if (resultBits == 0) return InstallOutcome::Installed;
    const InstallOutcome accepted = forced ? InstallOutcome::InstalledAnyway : InstallOutcome::Force;
    for (const Row& row : kRows) {
        if ((resultBits & row.bit) == 0) continue;
        switch (row.action) {
        case RowAction::message:
            prompt.showMessage(row.text, caption, Prompt::Ok, PromptOwner::none);
            break;
        case RowAction::outcome:
            return row.outcome;
        case RowAction::mismatchQuestion:
            return prompt.showMessage(row.text, caption, Prompt::YesNo | Prompt::DefaultButton2, PromptOwner::none) ==
                           Prompt::AnswerNo
                       ? InstallOutcome::Skip
                       : accepted;
        case RowAction::languageConflict: {
            if (installAll) return accepted;
            const ConflictAnswer answer = prompt.askLanguageConflict(file.sourcePath, file.destinationPath);
            if (answer == ConflictAnswer::all) installAll = true;
            return answer == ConflictAnswer::no ? InstallOutcome::Skip : accepted;
        }
        case RowAction::diskPrompt:
            switch (askForDisk(caption, file.diskNumber, prompt)) {
            case DiskAnswer::retry:
                return InstallOutcome::Retry;
            case DiskAnswer::skip:
                return InstallOutcome::Skip;
            case DiskAnswer::quitConfirmed:
                break;  // go on with rows 15 and 16; the outcome is then Stop
            }
            break;
        }
    }
    // No row ended the test: bits without a row (DifferentType, CannotRename, CannotDeleteCurrent,
    // unknown ones) or only message rows.
    return InstallOutcome::Stop;
}

}  // namespace quillset
