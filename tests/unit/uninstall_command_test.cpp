#include <gtest/gtest.h>

#include <string>

#include "command_line.h"
#include "uninstall_arguments.h"

namespace quillset {
namespace {

TEST(ProgramCommand, ProgramAndArgumentsAsWindowsStartsThem) {
    const struct {
        const char* commandLine;
        const char* program;
        const char* arguments;
    } cases[] = {
        {"\"C:\\Program Files\\App\\QSUninstall.exe\"", "C:\\Program Files\\App\\QSUninstall.exe", ""},
        {"\"C:\\Program Files\\App\\QSUninstall.exe\" /S", "C:\\Program Files\\App\\QSUninstall.exe", "/S"},
        {"  \"C:\\A\\QSUninstall.exe\"   /S  /x", "C:\\A\\QSUninstall.exe", "/S  /x"},
        {"\"C:\\A\\no closing quote", "C:\\A\\no closing quote", ""},
        // The entry of earlier versions: a bare path, blanks and all, without arguments.
        {"C:\\Program Files\\App\\QSUninstall.exe", "C:\\Program Files\\App\\QSUninstall.exe", ""},
        {"C:\\Program Files\\App\\QSUNINSTALL.EXE /S", "C:\\Program Files\\App\\QSUNINSTALL.EXE", "/S"},
        // A folder named like a program is part of the path: the last ".exe" ending a word counts.
        {"C:\\my.exe dir\\QSUninstall.exe", "C:\\my.exe dir\\QSUninstall.exe", ""},
        {"C:\\A\\setup.exes\\x.exe", "C:\\A\\setup.exes\\x.exe", ""},
        {"C:\\A\\run /S", "C:\\A\\run", "/S"},
        {"QSUninstall.exe", "QSUninstall.exe", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const ProgramCommand split = splitProgramCommand(c.commandLine);
        EXPECT_EQ(split.program, c.program) << c.commandLine;
        EXPECT_EQ(split.arguments, c.arguments) << c.commandLine;
    }
}

TEST(UninstallArguments, ModesOfTheCommandLine) {
    const struct {
        const char* commandLine;
        UninstallMode mode;
        const char* unknown;
    } cases[] = {
        {"\"C:\\Program Files\\App\\QSUninstall.exe\"", UninstallMode::interactive, ""},
        {"C:\\Program Files\\App\\QSUninstall.exe", UninstallMode::interactive, ""},
        {"\"C:\\Program Files\\App\\QSUninstall.exe\" /S", UninstallMode::quiet, ""},
        {"C:\\App\\QSUninstall.exe /s", UninstallMode::quiet, ""},
        {"C:\\App\\QSUninstall.exe\t/S /S ", UninstallMode::quiet, ""},
        {"QSUninstall.exe /?", UninstallMode::usage, ""},
        {"QSUninstall.exe /S /?", UninstallMode::usage, ""},
        {"QSUninstall.exe /bogus", UninstallMode::wrongUsage, "/bogus"},
        {"QSUninstall.exe /S /SILENT", UninstallMode::wrongUsage, "/SILENT"},
        {"QSUninstall.exe -S", UninstallMode::wrongUsage, "-S"},
        {"QSUninstall.exe /? x y", UninstallMode::wrongUsage, "x"},
        {"QSUninstall.exe /S=1", UninstallMode::wrongUsage, "/S=1"},
    };
    for (const auto& c : cases) {
        const UninstallArguments arguments = parseUninstallArguments(c.commandLine);
        EXPECT_EQ(arguments.mode, c.mode) << c.commandLine;
        EXPECT_EQ(arguments.unknown, c.unknown) << c.commandLine;
    }
    const std::string usage = uninstallUsage(parseUninstallArguments("QSUninstall.exe /bogus"));
    EXPECT_EQ(usage.rfind("Unknown argument \"/bogus\".\n\nUsage: QSUninstall.exe [/S]", 0), 0u) << usage;
    EXPECT_EQ(uninstallUsage(parseUninstallArguments("x.exe /?")).rfind("Usage:", 0), 0u);
}

}  // namespace
}  // namespace quillset
