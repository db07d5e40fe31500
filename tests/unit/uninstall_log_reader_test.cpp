#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../string_sink.h"
#include "uninstall_log.h"
#include "uninstall_log_reader.h"
#include "uninstall_plan.h"

namespace quillset {
namespace {

// A whole log as the installation writes it.
std::string writtenLog() {
    std::string bytes;
    UninstallLog log;
    log.open(std::make_unique<StringSink>(bytes));
    log.writeHeader({2026, 12, 7});
    log.beginFiles();
    log.addFileRecord("C:\\PROGRA~1\\DEMO", "DEMO.EXE", false);
    log.addShortcutRecord("C:\\Start Menu\\Programs\\Demo\\Demo.lnk");
    log.addFileRecord("C:\\windows\\system32", "demo.dll", true);
    log.addRegistrationLine(true);
    log.addFileRecord("C:\\windows\\system32", "notes.txt", true);
    log.addFileRecord("C:\\PROGRA~1\\DEMO", "caf\xE9.txt", false);
    log.beginRegistry();
    log.addRegistryKeyLine(std::string(kUninstallKeyPrefix) + "Demo");
    log.close();
    return bytes;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) ADD_FAILURE() << "no " << from;
    else text.replace(at, from.size(), to);
    return text;
}

TEST(UninstallLogReaderTest, ReadsTheWritersLogRecordForRecord) {
    UninstallLogContents log;
    UninstallLogError error;
    ASSERT_TRUE(readUninstallLog(writtenLog(), log, error)) << error.line << ": " << error.message;
    EXPECT_EQ(log.date, "12/7/2026");
    EXPECT_EQ(log.appName, "Demo");
    using Kind = UninstallRecord::Kind;
    using Registration = UninstallRecord::Registration;
    const struct {
        Kind kind;
        const char* path;
        Registration registration;
        int line;
    } expected[] = {
        {Kind::nonShared, "C:\\PROGRA~1\\DEMO\\DEMO.EXE", Registration::none, 12},
        {Kind::shortcut, "C:\\Start Menu\\Programs\\Demo\\Demo.lnk", Registration::none, 14},
        {Kind::shared, "C:\\windows\\system32\\demo.dll", Registration::autoRegister, 16},
        {Kind::shared, "C:\\windows\\system32\\notes.txt", Registration::none, 19},
        {Kind::nonShared, "C:\\PROGRA~1\\DEMO\\caf\xE9.txt", Registration::none, 21},
    };
    ASSERT_EQ(log.records.size(), std::size(expected));
    for (std::size_t i = 0; i < log.records.size(); ++i) {
        EXPECT_EQ(log.records[i].kind, expected[i].kind) << i;
        EXPECT_EQ(log.records[i].path, expected[i].path) << i;
        EXPECT_EQ(log.records[i].registration, expected[i].registration) << i;
        EXPECT_EQ(log.records[i].line, expected[i].line) << i;
    }
}

TEST(UninstallLogReaderTest, RefusesLogsThatAreNotExactlyOurs) {
    const std::string good = writtenLog();
    const std::string longPath = "C:\\" + std::string(257, 'p');
    const struct {
        std::string bytes;
        int line;
    } cases[] = {
        {"<html>\r\n", 1},
        {"<html>", 1},                                           // cut off, but not where a log begins
        {"TWUNLOG V2", 1},
        {"TWUNLOG V1\r\n\r\nTARNWICK UNINSTALLER", 3},
        {good.substr(0, good.find("DATE:") + 6) + "x", 10},
        {good.substr(0, good.find("[FILES]")) + "[FILE]", 11},
        {good.substr(0, good.find("NONSHARED")) + "NONSHARD", 13},  // a kind line no writer began
        {good.substr(0, good.find("Software\\")) + "Software\\Other", 24},
        {good.substr(0, good.find("DEMO.EXE")) + "D\x01", 12},        // a control character in the cut line
        {good.substr(0, good.find("DEMO.EXE")) + "D\r\r", 12},       // a lone CR before the last byte
        {good + "extra\r\n", 25},
        {good + "extra", 25},
        {replaced(good, "\r\n[FILES]", "\n[FILES]"), 10},        // an editor's line ends
        {replaced(good, "DON\xB4T", "DON'T"), 6},
        {replaced(good, "DATE:12/7/2026", "DATE:12/07/2026"), 10},
        {replaced(good, "NONSHARED", "NONSHARD"), 13},
        {replaced(good, "C:\\PROGRA~1\\DEMO\\DEMO.EXE", "DEMO.EXE"), 12},  // relative
        {replaced(good, "C:\\PROGRA~1\\DEMO\\DEMO.EXE", longPath), 12},   // over the path limit
        {replaced(good, "Demo.lnk", "Demo\x01.lnk"), 14},
        {replaced(good, "Software\\Microsoft", "Software\\Other"), 24},
    };
    for (const auto& c : cases) {
        UninstallLogContents log;
        UninstallLogError error;
        EXPECT_FALSE(readUninstallLog(c.bytes, log, error)) << c.line;
        EXPECT_EQ(error.line, c.line) << error.message;
        EXPECT_FALSE(error.message.empty());
    }
}

// A log cut off at any byte, as a run killed while writing it leaves it, is read up to the last
// record that was written whole; the registration line counts once it is whole too.
TEST(UninstallLogReaderTest, ReadsALogCutOffAtAnyByteUpToItsLastWholeRecord) {
    std::string bytes;
    UninstallLog writer;
    writer.open(std::make_unique<StringSink>(bytes));
    writer.writeHeader({2026, 12, 7});
    const std::size_t dateWritten = bytes.size();
    writer.beginFiles();
    // Where each record (and the shared library's registration line) is whole.
    std::vector<std::size_t> recordEnds;
    writer.addFileRecord("C:\\PROGRA~1\\DEMO", "DEMO.EXE", false);
    recordEnds.push_back(bytes.size());
    writer.addShortcutRecord("C:\\Start Menu\\Programs\\Demo\\Demo.lnk");
    recordEnds.push_back(bytes.size());
    writer.addFileRecord("C:\\windows\\system32", "demo.dll", true);
    recordEnds.push_back(bytes.size());
    writer.addRegistrationLine(true);
    const std::size_t registered = bytes.size();
    writer.addFileRecord("C:\\windows\\system32", "notes.txt", true);
    recordEnds.push_back(bytes.size());
    writer.addFileRecord("C:\\PROGRA~1\\DEMO", "README.TXT", false);
    recordEnds.push_back(bytes.size());
    writer.beginRegistry();
    writer.addRegistryKeyLine(std::string(kUninstallKeyPrefix) + "Demo");
    writer.close();

    UninstallLogContents whole;
    UninstallLogError error;
    ASSERT_TRUE(readUninstallLog(bytes, whole, error));
    ASSERT_EQ(whole.records.size(), recordEnds.size());
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        UninstallLogContents log;
        ASSERT_TRUE(readUninstallLog(bytes.substr(0, cut), log, error))
            << "cut at " << cut << ": line " << error.line << ": " << error.message;
        std::size_t expected = 0;
        while (expected < recordEnds.size() && recordEnds[expected] <= cut) ++expected;
        ASSERT_EQ(log.records.size(), expected) << "cut at " << cut;
        for (std::size_t i = 0; i < expected; ++i) {
            UninstallRecord record = whole.records[i];
            if (i == 2 && cut < registered) record.registration = UninstallRecord::Registration::none;
            EXPECT_EQ(log.records[i].path, record.path) << "cut at " << cut;
            EXPECT_EQ(log.records[i].kind, record.kind) << "cut at " << cut;
            EXPECT_EQ(log.records[i].registration, record.registration) << "cut at " << cut;
            EXPECT_EQ(log.records[i].line, record.line) << "cut at " << cut;
        }
        EXPECT_EQ(log.complete, cut == bytes.size()) << "cut at " << cut;
        EXPECT_EQ(log.appName, cut == bytes.size() ? "Demo" : "") << "cut at " << cut;
        EXPECT_EQ(log.date, cut >= dateWritten ? "12/7/2026" : "") << "cut at " << cut;
    }
}

UninstallLogContents logOf(std::initializer_list<std::pair<UninstallRecord::Kind, const char*>> records) {
    UninstallLogContents log;
    int line = 12;
    for (const auto& [kind, path] : records) log.records.push_back({kind, path, UninstallRecord::Registration::none, line += 2});
    return log;
}

TEST(UninstallPlanTest, RefusesNonSharedFilesInSystemPlaces) {
    using Kind = UninstallRecord::Kind;
    const std::vector<std::string> system = {"C:\\windows", "C:\\windows\\system32"};
    const struct {
        Kind kind;
        const char* path;
        bool safe;
    } cases[] = {
        {Kind::nonShared, "C:\\App\\a.txt", true},
        {Kind::shared, "C:\\WINDOWS\\SYSTEM32\\demo.dll", true},
        {Kind::nonShared, "C:\\WINDOWS\\notepad.exe", false},
        {Kind::shortcut, "c:\\windows\\fonts\\x.lnk", false},
        {Kind::nonShared, "C:\\windowsapps\\a.txt", true},  // a sibling that only starts alike
        {Kind::nonShared, "D:\\", false},
        {Kind::nonShared, "C:\\App\\..\\windows\\win.ini", false},
        {Kind::nonShared, "C:\\App\\*.*", false},
        // Forms that every file call reads as a place in the system folders.
        {Kind::nonShared, "C:\\WINDOWS/win.ini", false},
        {Kind::nonShared, "C:/windows/system32/x.dll", false},
        {Kind::nonShared, "C:\\\\windows\\win.ini", false},
        {Kind::nonShared, "C:\\App/../windows/win.ini", false},
        {Kind::nonShared, "C:\\WINDOWS.\\win.ini", false},
        {Kind::nonShared, "C:\\WINDOWS \\win.ini", false},
        {Kind::nonShared, "\\\\?\\C:\\WINDOWS\\win.ini", false},
        {Kind::nonShared, "\\\\.\\C:\\WINDOWS\\win.ini", false},
        {Kind::nonShared, "C:\\App/sub//a.txt", true},  // other separators, an ordinary place
        {Kind::nonShared, "\\\\server\\share\\App\\a.txt", true},
    };
    for (const auto& c : cases) {
        UninstallLogError error;
        EXPECT_EQ(checkRecordsAreSafe(logOf({{Kind::nonShared, "C:\\App\\first.txt"}, {c.kind, c.path}}), system, error),
                  c.safe)
            << c.path;
        if (!c.safe) {
            EXPECT_EQ(error.line, 16) << c.path;
        }
    }
}

TEST(UninstallPlanTest, RemovesInReverseOrderAndTriesTheEmptiedFoldersDeepestFirst) {
    using Kind = UninstallRecord::Kind;
    const UninstallLogContents log = logOf({
        {Kind::nonShared, "C:\\APP~1\\QSUNIN~1.EXE"},
        {Kind::nonShared, "C:\\APP~1\\A.TXT"},
        {Kind::shortcut, "C:\\Menu\\Programs\\Group\\Sub\\A.lnk"},
        {Kind::shared, "C:\\windows\\system32\\x.dll"},
        {Kind::nonShared, "C:\\APP~1\\DOCS\\DEEP\\B.TXT"},
        {Kind::nonShared, "C:\\app folder\\a.txt"},  // the same file as A.TXT, in long form
        {Kind::shared, "C:\\windows\\system32\\x.dll"},
    });
    const auto longForm = [](const std::string& path) {
        std::string result = path;
        const std::size_t at = result.find("APP~1");
        if (at != std::string::npos) result.replace(at, 5, "app folder");
        if (result.find("QSUNIN~1.EXE") != std::string::npos) result.replace(result.find("QSUNIN~1.EXE"), 12, "QSUninstall.exe");
        return result;
    };
    const UninstallPlan plan = planUninstall(log, longForm, "C:\\app folder\\QSUninstall.exe", {"C:\\Menu\\Programs"});
    EXPECT_TRUE(plan.removesItself);
    EXPECT_EQ(plan.removals, (std::vector<std::string>{"C:\\app folder\\a.txt", "C:\\app folder\\DOCS\\DEEP\\B.TXT",
                                                       "C:\\Menu\\Programs\\Group\\Sub\\A.lnk"}));
    EXPECT_EQ(plan.sharedKept, (std::vector<std::string>{"C:\\windows\\system32\\x.dll"}));
    EXPECT_EQ(plan.directories,
              (std::vector<std::string>{"C:\\Menu\\Programs\\Group\\Sub", "C:\\app folder\\DOCS\\DEEP",
                                        "C:\\Menu\\Programs\\Group", "C:\\app folder\\DOCS", "C:\\app folder"}));
}

}  // namespace
}  // namespace quillset
