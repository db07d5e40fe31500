// An upgrade's log on real files, and the Uninstall entry read from the real registry. Which
// records survive is decided and tested natively (tests/unit/uninstall_log_merge_test.cpp); the
// upgrades a user makes, in place, elsewhere and over a log kept aside, are the end-to-end tests'
// (tests/e2e/upgrade.sh, kept_log.scenario). Here: a killed upgrade's log, finished by the next
// run, and the entry's values in their quoted form and of a wrong type.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "earlier_logs.h"
#include "log_file.h"
#include "read_uninstall_entry.h"
#include "win_test_files.h"

namespace quillset {
namespace {

const char* const kApp = "QS Earlier Logs Test";

class NoPrompt : public InstallPrompt {
public:
    int showMessage(const std::string& text, const std::string&, unsigned, PromptOwner) override {
        messages.push_back(text);
        return Prompt::AnswerOk;
    }
    ConflictAnswer askLanguageConflict(const std::string&, const std::string&) override { return ConflictAnswer::no; }
    ConflictAnswer askOverwrite(const std::string&) override { return ConflictAnswer::no; }
    std::vector<std::string> messages;
};

std::string fileText(const std::string& path) {
    std::string text;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(none)";
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    CloseHandle(file);
    return text;
}

void writeText(const std::string& path, const std::string& text) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// The records of the log in `folder`, "path kind" each.
std::vector<std::string> recordsIn(const std::string& folder) {
    UninstallLogContents contents;
    UninstallLogError error;
    std::vector<std::string> records;
    if (!readUninstallLog(fileText(folder + "Uninstall.log"), contents, error)) return {"refused: " + error.message};
    for (const UninstallRecord& r : contents.records)
        records.push_back(r.path + (r.kind == UninstallRecord::Kind::shared ? " SHARED" : " NONSHARED"));
    if (!contents.complete) records.push_back("(cut off)");
    return records;
}

class EarlierLogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = tempDirectory() + "qs earlier logs\\";
        TearDown();
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    }
    void TearDown() override {
        for (const char* name : {"Uninstall.log", "Uninstall.log.new"})
            DeleteFileA((folder + name).c_str());
        RemoveDirectoryA(folder.c_str());
    }

    // A run that installs `paths` into the folder: starts the log, records the paths, ends it.
    std::vector<UninstallRecord> install(const std::vector<std::string>& paths) {
        UninstallLog log;
        const std::vector<UninstallRecord> carried = startUninstallLog(log, folder, kApp, "", {2026, 12, 7}, prompt);
        for (const std::string& path : paths) log.addFileRecord(folder.substr(0, folder.size() - 1), path, false);
        log.beginRegistry();
        log.addRegistryKeyLine(std::string(kUninstallKeyPrefix) + kApp);
        endUninstallLog(log, folder, carried, {2026, 12, 7});
        return carried;
    }
    std::string at(const std::string& name) const { return folder + name + " NONSHARED"; }

    std::string folder;
    NoPrompt prompt;
};

TEST_F(EarlierLogsTest, AKilledRunsLogIsCarriedAndFinished) {
    install({"A.TXT"});
    std::string killed = fileText(folder + "Uninstall.log");
    killed.resize(killed.find("[REGISTRY]"));  // version 2 was killed after its records were carried
    writeText(folder + "Uninstall.log", killed + folder + "B.TXT\r\nNONSH");
    EXPECT_EQ(recordsIn(folder), (std::vector<std::string>{at("A.TXT"), "(cut off)"}));
    EXPECT_EQ(install({"B.TXT", "C.TXT"}).size(), 1u);
    EXPECT_EQ(recordsIn(folder), (std::vector<std::string>{at("A.TXT"), at("B.TXT"), at("C.TXT")}));
    EXPECT_EQ(fileText(folder + "Uninstall.log.new"), "(none)");
    EXPECT_TRUE(prompt.messages.empty());
}

TEST(UninstallEntryTest, ReadsTheValuesThatTellWhereItLives) {
    const std::string keyPath = std::string(kUninstallKeyPrefix) + kApp;
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath.c_str());
    EXPECT_FALSE(readUninstallEntryWin32(kApp).exists);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string command = "\"C:\\Apps\\QS\\QSUninstall.exe\"";
    RegSetValueExA(key, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    RegSetValueExA(key, "InstallLocation", 0, REG_DWORD, reinterpret_cast<const BYTE*>("\1\0\0\0"), 4);
    RegCloseKey(key);
    const UninstallEntry entry = readUninstallEntryWin32(kApp);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath.c_str());
    EXPECT_TRUE(entry.exists);
    EXPECT_EQ(entry.uninstallString, command);
    EXPECT_EQ(entry.installLocation, "");  // not text
}

}  // namespace
}  // namespace quillset
