// The version information of the shipped programs, read back through the platform's version
// functions as a file's properties show it, and the tools' --version beside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillset_version.h"

namespace {

// The release builds as the build names them (forward slashes, Wine's Z: drive).
const char* const kReleaseFolders[] = {QUILLSET_SHIPPED_PROGRAMS_DIR, QUILLSET_SHIPPED_PROGRAMS_32_DIR};

std::string inFolder(const char* folder, const std::string& program) { return std::string(folder) + "/" + program; }

std::string versionText(const std::vector<char>& block, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || length == 0) return "";
    return std::string(value);
}

// What a console program writes on standard output.
std::string outputOf(const std::string& commandLine) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return "";
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::string command = commandLine;
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    char buffer[256];
    DWORD read = 0;
    while (started && ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) output.append(buffer, read);
    CloseHandle(readEnd);
    if (started) {
        WaitForSingleObject(process.hProcess, 60000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    return output;
}

TEST(VersionResourceTest, EveryShippedProgramCarriesTheProjectVersion) {
    // The i686 programs are read as data: a 64-bit process reads their resources as well.
    for (const char* folder : kReleaseFolders) for (const char* program : {"Setup.exe", "QSUninstall.exe", "qscheck.exe", "qsmedia.exe"}) {
        const std::string path = inFolder(folder, program);
        SCOPED_TRACE(path);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version information in " << path;
        std::vector<char> block(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(QUILLSET_VERSION_MINOR, QUILLSET_VERSION_MAJOR)));
        EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, QUILLSET_VERSION_PATCH)));
        EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);

        EXPECT_EQ(versionText(block, "ProductName"), "Quillset");
        EXPECT_EQ(versionText(block, "FileVersion"), QUILLSET_VERSION_TEXT);
        EXPECT_EQ(versionText(block, "ProductVersion"), QUILLSET_VERSION_TEXT);
        EXPECT_EQ(versionText(block, "OriginalFilename"), program);
        EXPECT_NE(versionText(block, "FileDescription"), "");
        EXPECT_EQ(versionText(block, "LegalCopyright").rfind("Copyright ", 0), 0u);
    }
}

TEST(VersionResourceTest, ToolsPrintTheVersionOfTheirResource) {
    for (const char* tool : {"qscheck", "qsmedia"}) {
        const std::string output = outputOf("\"" + inFolder(QUILLSET_SHIPPED_PROGRAMS_DIR, std::string(tool) + ".exe") + "\" --version");
        EXPECT_EQ(output.substr(0, output.find_first_of("\r\n")), std::string(tool) + " " + QUILLSET_VERSION_TEXT);
    }
}

}  // namespace
