// What the installation run does with the result bits of the platform's version-aware installer
// (VerInstallFileA): messages, questions, the disk prompt, and the outcome for the file. Portable:
// the user is reached only through InstallPrompt, so every row and combination is tested natively.
#pragma once

#include <cstdint>
#include <string>

#include "install_prompt.h"

namespace quillset {

// The installer's result bits (the platform's VIF_* values).
namespace InstallResultBit {
constexpr std::uint32_t TempFile = 0x1;
constexpr std::uint32_t Mismatch = 0x2;
constexpr std::uint32_t SourceOld = 0x4;
constexpr std::uint32_t DifferentLanguage = 0x8;
constexpr std::uint32_t DifferentCodePage = 0x10;
constexpr std::uint32_t DifferentType = 0x20;
constexpr std::uint32_t WriteProtected = 0x40;
constexpr std::uint32_t FileInUse = 0x80;
constexpr std::uint32_t OutOfSpace = 0x100;
constexpr std::uint32_t AccessViolation = 0x200;
constexpr std::uint32_t SharingViolation = 0x400;
constexpr std::uint32_t CannotCreate = 0x800;
constexpr std::uint32_t CannotDelete = 0x1000;
constexpr std::uint32_t CannotRename = 0x2000;
constexpr std::uint32_t CannotDeleteCurrent = 0x4000;
constexpr std::uint32_t OutOfMemory = 0x8000;
constexpr std::uint32_t CannotReadSource = 0x10000;
constexpr std::uint32_t CannotReadDestination = 0x20000;
constexpr std::uint32_t BufferTooSmall = 0x40000;
}  // namespace InstallResultBit

enum class DiskAnswer { retry, skip, quitConfirmed };

// The disk prompt: "Please insert disk N ..." with Abort, Retry and Ignore (owner: the main
// window); Abort asks the quit question, and No there goes on as Retry does: the disk may have
// been inserted while the question was up, so the file is tried again before the prompt comes
// back. An answer that is none of the three (the box could not be shown) counts as a confirmed
// quit, so a file ends the run rather than the prompt looping.
DiskAnswer askForDisk(const std::string& caption, std::int16_t diskNumber, InstallPrompt& prompt);

// What the caller does with one installer result. A conflict the user accepts (or that "Install
// all" accepts) is Force after a plain call, which is repeated forced, and InstalledAnyway after a
// forced call, which has already put the file in place.
enum class InstallOutcome {
    Installed = 0,        // no error bit: the file is in place
    Stop = 1,             // the installation run must stop
    Retry = 2,            // call the installer again with the same flags
    Skip = 3,             // leave the file out, no record
    Force = 4,            // call the installer again, forced
    InUse = 5,            // the destination is in use or cannot be replaced now
    InstalledAnyway = 6,  // the forced call installed the file over a conflict the user accepted
};

// The file an installer result is about, as the messages and questions name it.
struct InstallingFile {
    std::string caption;          // the source's file name: the caption of every message box
    std::int16_t diskNumber = 0;  // the entry's disk, for the disk prompt
    std::string sourcePath;       // the two files of a language or code page conflict
    std::string destinationPath;
};

// Decides what to do with one installer result of a call that was `forced` or not. While
// `installAll` holds, language and code page conflicts are answered by installing without a
// question; "Install all" in the conflict dialog sets it for the rest of the run. A conflict
// question that could not be shown counts as Yes.
InstallOutcome interpretInstallResult(std::uint32_t resultBits, bool forced, const InstallingFile& file,
                                      bool& installAll, InstallPrompt& prompt);

}  // namespace quillset
