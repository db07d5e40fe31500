#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "uninstall_entry.h"

namespace quillset {
namespace {

using Kind = UninstallEntryValue::Kind;
using Variables = std::map<std::string, std::string>;

// "Name=REG_SZ:text", "Name=REG_DWORD:n" or "Name=-" (removed), in the order written.
std::vector<std::string> described(const std::vector<UninstallEntryValue>& values) {
    std::vector<std::string> lines;
    for (const UninstallEntryValue& value : values) {
        if (value.kind == Kind::text) lines.push_back(value.name + "=REG_SZ:" + value.text);
        else if (value.kind == Kind::number) lines.push_back(value.name + "=REG_DWORD:" + std::to_string(value.number));
        else lines.push_back(value.name + "=-");
    }
    return lines;
}

TEST(UninstallEntry, ValuesFromTheVariablesAndTheRun) {
    const Variables everything = {{"APPNAME", "Demo"},         {"DP", "C:\\Program Files\\Demo\\"},
                                  {"DEVELOPERNAME", "Tarn Co"}, {"APPVERSION", "2.1"},
                                  {"APPURL", "https://x.test/"}, {"APPICON", "bin\\demo.exe,1"}};
    const UninstallEntryRun run{"C:\\Program Files\\Demo\\demo.exe", {2026, 3, 7}, 2049};
    const struct {
        const char* what;
        Variables variables;
        UninstallEntryRun run;
        std::vector<std::string> expected;
    } cases[] = {
        {"every variable set",
         everything,
         run,
         {"DisplayName=REG_SZ:Demo", "UninstallString=REG_SZ:\"C:\\Program Files\\Demo\\QSUninstall.exe\"",
          "QuietUninstallString=REG_SZ:\"C:\\Program Files\\Demo\\QSUninstall.exe\" /S", "Publisher=REG_SZ:Tarn Co",
          "DisplayVersion=REG_SZ:2.1", "URLInfoAbout=REG_SZ:https://x.test/",
          "DisplayIcon=REG_SZ:C:\\Program Files\\Demo\\bin\\demo.exe,1", "InstallLocation=REG_SZ:C:\\Program Files\\Demo\\",
          "InstallDate=REG_SZ:20260307", "EstimatedSize=REG_DWORD:3", "NoModify=REG_DWORD:1", "NoRepair=REG_DWORD:1"}},
        // Unset (or empty) variables remove the values an earlier installation may have left; the
        // icon falls back to the first shortcut's program; an unreadable log leaves the size out.
        {"nothing set, a destination without its backslash",
         {{"APPNAME", "Demo"}, {"DP", "D:\\Apps\\Demo"}, {"APPVERSION", ""}},
         {"D:\\Apps\\Demo\\run.exe", {2001, 12, 31}, std::nullopt},
         {"DisplayName=REG_SZ:Demo", "UninstallString=REG_SZ:\"D:\\Apps\\Demo\\QSUninstall.exe\"",
          "QuietUninstallString=REG_SZ:\"D:\\Apps\\Demo\\QSUninstall.exe\" /S", "Publisher=-", "DisplayVersion=-",
          "URLInfoAbout=-", "DisplayIcon=REG_SZ:D:\\Apps\\Demo\\run.exe", "InstallLocation=REG_SZ:D:\\Apps\\Demo",
          "InstallDate=REG_SZ:20011231", "EstimatedSize=-", "NoModify=REG_DWORD:1", "NoRepair=REG_DWORD:1"}},
    };
    for (const auto& c : cases) EXPECT_EQ(described(uninstallEntryValues(c.variables, c.run)), c.expected) << c.what;
}

TEST(UninstallEntry, IconAndSizeEdges) {
    const auto valueNamed = [](const Variables& variables, const UninstallEntryRun& run, const std::string& name) {
        for (const std::string& line : described(uninstallEntryValues(variables, run)))
            if (line.compare(0, name.size() + 1, name + "=") == 0) return line.substr(name.size() + 1);
        return std::string("(none)");
    };
    const UninstallEntryRun withShortcut{"C:\\A\\a.exe", {2026, 1, 1}, 0};
    const struct {
        const char* icon;
        const char* expected;
    } icons[] = {
        {"D:\\Icons\\a.ico", "REG_SZ:D:\\Icons\\a.ico"},             // absolute: as it is
        {"\\\\server\\share\\a.ico", "REG_SZ:\\\\server\\share\\a.ico"},  // a network path too
        {"a.ico", "REG_SZ:C:\\A\\a.ico"},                            // relative: in the destination
        {"", "REG_SZ:C:\\A\\a.exe"},                                 // unset: the first shortcut's program
    };
    for (const auto& c : icons)
        EXPECT_EQ(valueNamed({{"DP", "C:\\A\\"}, {"APPICON", c.icon}}, withShortcut, "DisplayIcon"), c.expected) << c.icon;
    EXPECT_EQ(valueNamed({{"DP", "C:\\A\\"}}, UninstallEntryRun{}, "DisplayIcon"), "-");

    // KiB, rounded up; an empty installation is 0; beyond what a REG_DWORD holds, its largest value.
    const struct {
        std::uint64_t bytes;
        const char* expected;
    } sizes[] = {{0, "REG_DWORD:0"}, {1, "REG_DWORD:1"}, {1024, "REG_DWORD:1"}, {1025, "REG_DWORD:2"},
                 {std::uint64_t{1} << 50, "REG_DWORD:4294967295"}};
    for (const auto& c : sizes)
        EXPECT_EQ(valueNamed({}, UninstallEntryRun{"", {2026, 1, 1}, c.bytes}, "EstimatedSize"), c.expected) << c.bytes;
}

TEST(UninstallEntry, FilesOfTheLogInTheDestination) {
    const std::string log =
        "TWUNLOG V1\r\n\r\nTARNWICK UNINSTALLATION LOG FILE\r\n\r\nDATE:1/2/2026\r\n[FILES]\r\n"
        "C:\\PROGRA~1\\DEMO\\A.TXT\r\nNONSHARED\r\n"
        "C:\\windows\\system32\\x.dll\r\nSHARED\r\nAUTOREGSVR\r\n"
        "C:\\Program Files\\Demo\\lib\\y.dll\r\nSHARED\r\nNOAUTOREGSVR\r\n"
        "C:\\Users\\u\\Start Menu\\Programs\\Demo\\Demo.lnk\r\nNONSHARED\r\n"
        "C:\\PROGRA~1\\DEMO\\A.TXT\r\nNONSHARED\r\n"  // named twice (an upgrade's merged log)
        "C:\\Program Files\\Demo2\\b.txt\r\nNONSHARED\r\n"
        "[REGISTRY]\r\nSoftware\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo\r\n";
    const std::vector<std::string> paths = loggedPaths(log);
    ASSERT_EQ(paths.size(), 6u);
    EXPECT_EQ(paths[1], "C:\\windows\\system32\\x.dll");
    EXPECT_EQ(paths[3], "C:\\Users\\u\\Start Menu\\Programs\\Demo\\Demo.lnk");
    // A log cut off inside a record keeps the whole records before it.
    EXPECT_EQ(loggedPaths(log.substr(0, log.find("NONSHARED"))).size(), 0u);

    // Short and long forms of the destination, in any case; a folder whose name only begins alike
    // (Demo2) is not inside; each file once.
    EXPECT_EQ(pathsInDestination(paths, {"c:\\program files\\demo\\", "C:\\PROGRA~1\\DEMO"}),
              (std::vector<std::string>{"C:\\PROGRA~1\\DEMO\\A.TXT", "C:\\Program Files\\Demo\\lib\\y.dll"}));
    EXPECT_TRUE(pathsInDestination(paths, {"", "\\"}).empty());
}

}  // namespace
}  // namespace quillset
