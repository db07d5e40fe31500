#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../string_sink.h"
#include "earlier_installation.h"
#include "uninstall_log.h"
#include "uninstall_log_merge.h"

namespace quillset {
namespace {

using Kind = UninstallRecord::Kind;
using Registration = UninstallRecord::Registration;

UninstallRecord record(const char* path, Kind kind = Kind::nonShared, Registration registration = Registration::none) {
    UninstallRecord r;
    r.path = path;
    r.kind = kind;
    r.registration = registration;
    return r;
}

// "path kind[+registration]" per record, for readable comparisons.
std::vector<std::string> described(const std::vector<UninstallRecord>& records) {
    std::vector<std::string> lines;
    for (const UninstallRecord& r : records) {
        std::string line = r.path + (r.kind == Kind::shared ? " SHARED" : " NONSHARED");
        if (r.registration == Registration::autoRegister) line += "+AUTOREGSVR";
        if (r.registration == Registration::noAutoRegister) line += "+NOAUTOREGSVR";
        lines.push_back(line);
    }
    return lines;
}

// A log as the installation writes it, for `appName`; `withKey` false cuts it off before its key
// line, as a killed run leaves it.
std::string logOf(const std::string& appName, const std::vector<UninstallRecord>& records, bool withKey = true) {
    std::string bytes;
    UninstallLog log;
    log.open(std::make_unique<StringSink>(bytes));
    log.writeHeader({2026, 12, 7});
    log.beginFiles();
    for (const UninstallRecord& r : records) log.addRecord(r);
    if (withKey) {
        log.beginRegistry();
        log.addRegistryKeyLine(std::string(kUninstallKeyPrefix) + appName);
    }
    log.close();
    return bytes;
}

TEST(UninstallLogMergeTest, WhichEarlierLogsAreCarried) {
    const std::vector<UninstallRecord> records = {record("C:\\APP\\A.TXT"), record("C:\\APP\\OLD.TXT")};
    const std::string whole = logOf("QS App", records);
    const struct {
        const char* what;
        std::string bytes;
        EarlierLogUse use;
        const char* why;
    } cases[] = {
        {"this application's whole log", whole, EarlierLogUse::carry, ""},
        {"the key named in another case", logOf("qs APP", records), EarlierLogUse::carry, ""},
        {"cut off by a killed run", logOf("QS App", records, false), EarlierLogUse::carry, ""},
        {"cut off inside a record", whole.substr(0, whole.find("OLD.TXT") + 3), EarlierLogUse::carry, ""},
        {"made but never written", "", EarlierLogUse::carry, ""},
        {"another application's", logOf("Other App", records), EarlierLogUse::keepAside, "the log of Other App"},
        {"edited: LF line ends", "TWUNLOG V1\n\n", EarlierLogUse::keepAside, "line 1: a line end that is not CR LF"},
        {"not a log", "MZ\x03", EarlierLogUse::keepAside, "line 1: a control character (byte 3): not a text log"},
        {"a record damaged", logOf("QS App", {record("APP\\A.TXT")}), EarlierLogUse::keepAside,
         "line 12: expected a full path or \"[REGISTRY]\""},
    };
    for (const auto& c : cases) {
        const EarlierLog judged = judgeEarlierLog(c.bytes, "QS App");
        EXPECT_EQ(judged.use, c.use) << c.what;
        EXPECT_EQ(judged.why, c.why) << c.what;
    }
    EXPECT_EQ(described(judgeEarlierLog(whole, "QS App").contents.records),
              (std::vector<std::string>{"C:\\APP\\A.TXT NONSHARED", "C:\\APP\\OLD.TXT NONSHARED"}));
    // The killed run's last record, its kind line cut, is not one: its file may not be whole.
    EXPECT_EQ(judgeEarlierLog(whole.substr(0, whole.find("OLD.TXT") + 12), "QS App").contents.records.size(), 1u);
}

TEST(UninstallLogMergeTest, CarriedThenMergedRecords) {
    const UninstallRecord dll = record("C:\\WINDOWS\\SYSTEM32\\X.DLL", Kind::shared, Registration::autoRegister);
    const struct {
        const char* what;
        std::vector<std::vector<UninstallRecord>> earlier;
        std::vector<UninstallRecord> written;  // by this run, after the carried ones
        std::vector<std::string> carried, merged;
    } cases[] = {
        {"a first installation carries nothing", {}, {record("C:\\APP\\A.TXT")}, {}, {"C:\\APP\\A.TXT NONSHARED"}},
        {"an upgrade keeps what it does not install again, first",
         {{record("C:\\APP\\A.TXT"), record("C:\\APP\\OLD.TXT"), record("C:\\APP\\SUB\\KEEP.TXT")}},
         {record("C:\\APP\\A.TXT"), record("C:\\APP\\NEW.TXT")},
         {"C:\\APP\\A.TXT NONSHARED", "C:\\APP\\OLD.TXT NONSHARED", "C:\\APP\\SUB\\KEEP.TXT NONSHARED"},
         {"C:\\APP\\OLD.TXT NONSHARED", "C:\\APP\\SUB\\KEEP.TXT NONSHARED", "C:\\APP\\A.TXT NONSHARED",
          "C:\\APP\\NEW.TXT NONSHARED"}},
        {"a place is one whatever the case of its letters",
         {{record("C:\\APP\\A.TXT")}}, {record("c:\\app\\a.txt")}, {"C:\\APP\\A.TXT NONSHARED"},
         {"c:\\app\\a.txt NONSHARED"}},
        {"the run's record wins where the kind changed: the new registration line",
         {{record("C:\\WINDOWS\\SYSTEM32\\X.DLL", Kind::shared, Registration::noAutoRegister)}}, {dll},
         {"C:\\WINDOWS\\SYSTEM32\\X.DLL SHARED+NOAUTOREGSVR"}, {"C:\\WINDOWS\\SYSTEM32\\X.DLL SHARED+AUTOREGSVR"}},
        {"a file kept that the user did not let the run overwrite keeps its record",
         {{record("C:\\APP\\A.TXT"), record("C:\\APP\\B.TXT")}}, {record("C:\\APP\\B.TXT")},
         {"C:\\APP\\A.TXT NONSHARED", "C:\\APP\\B.TXT NONSHARED"},
         {"C:\\APP\\A.TXT NONSHARED", "C:\\APP\\B.TXT NONSHARED"}},
        {"an earlier log's own duplicates are carried once; the run's stay as written",
         {{record("C:\\APP\\R.TXT"), record("C:\\APP\\R.TXT"), record("C:\\G\\Read.lnk", Kind::shortcut)}},
         {record("C:\\APP\\S.TXT"), record("C:\\APP\\S.TXT")},
         {"C:\\APP\\R.TXT NONSHARED", "C:\\G\\Read.lnk NONSHARED"},
         {"C:\\APP\\R.TXT NONSHARED", "C:\\G\\Read.lnk NONSHARED", "C:\\APP\\S.TXT NONSHARED",
          "C:\\APP\\S.TXT NONSHARED"}},
        {"the log of another folder and its records follow the destination's",
         {{record("C:\\NEW\\A.TXT")}, {record("C:\\OLD\\UNINST~1.LOG")}, {record("C:\\OLD\\A.TXT"), record("C:\\NEW\\A.TXT")}},
         {},
         {"C:\\NEW\\A.TXT NONSHARED", "C:\\OLD\\UNINST~1.LOG NONSHARED", "C:\\OLD\\A.TXT NONSHARED"},
         {"C:\\NEW\\A.TXT NONSHARED", "C:\\OLD\\UNINST~1.LOG NONSHARED", "C:\\OLD\\A.TXT NONSHARED"}},
    };
    for (const auto& c : cases) {
        const std::vector<UninstallRecord> carried = carriedRecords(c.earlier);
        EXPECT_EQ(described(carried), c.carried) << c.what;
        EXPECT_EQ(described(mergedRecords(carried, c.written)), c.merged) << c.what;
    }
}

TEST(UninstallLogMergeTest, ACarriedRecordKeepsItsBytes) {
    const std::string earlier = logOf("QS App", {record("C:\\APP\\A.TXT"), record("C:\\G\\A.lnk", Kind::shortcut),
                                                 record("C:\\S\\X.DLL", Kind::shared, Registration::autoRegister),
                                                 record("C:\\S\\Y.DLL", Kind::shared, Registration::noAutoRegister),
                                                 record("C:\\S\\N.TXT", Kind::shared)});
    const EarlierLog judged = judgeEarlierLog(earlier, "QS App");
    EXPECT_EQ(logOf("QS App", carriedRecords({judged.contents.records})), earlier);
}

TEST(UninstallLogMergeTest, KeptNamesNeverRepeat) {
    EXPECT_EQ(keptLogName(1), "Uninstall.log.previous");
    EXPECT_EQ(keptLogName(2), "Uninstall.log.previous-2");
    EXPECT_EQ(keptLogName(kKeptLogNames), "Uninstall.log.previous-99");
}

TEST(EarlierInstallationTest, TheFolderAnEntryNames) {
    const std::vector<std::string> logs = {"C:\\Program Files\\QS App\\Uninstall.log", "D:\\Apps\\QS\\Uninstall.log",
                                           "\\\\server\\share\\QS\\Uninstall.log"};
    const auto holdsLog = [&](const std::string& path) {
        for (const std::string& log : logs)
            if (log == path) return true;
        return false;
    };
    const struct {
        UninstallEntry entry;
        const char* folder;
    } cases[] = {
        {{true, "", "C:\\Program Files\\QS App\\QSUninstall.exe"}, "C:\\Program Files\\QS App\\"},
        {{true, "", "\"C:\\Program Files\\QS App\\QSUninstall.exe\""}, "C:\\Program Files\\QS App\\"},
        {{true, "", "  \"C:\\Program Files\\QS App\\QSUninstall.exe\" /S"}, "C:\\Program Files\\QS App\\"},
        {{true, "D:\\Apps\\QS", "\"C:\\Program Files\\QS App\\QSUninstall.exe\""}, "D:\\Apps\\QS\\"},
        {{true, "D:\\Apps\\QS\\", ""}, "D:\\Apps\\QS\\"},
        {{true, "E:\\Gone\\", "C:\\Program Files\\QS App\\QSUninstall.exe"}, "C:\\Program Files\\QS App\\"},
        {{true, "\\\\server\\share\\QS", ""}, "\\\\server\\share\\QS\\"},
        {{false, "D:\\Apps\\QS", "C:\\Program Files\\QS App\\QSUninstall.exe"}, ""},
        {{true, "", "C:\\Elsewhere\\QSUninstall.exe"}, ""},
        {{true, "QS", "QSUninstall.exe"}, ""},
        {{true, "", "\"C:\\Program Files\\QS App\\QSUninstall.exe"}, ""},
        {{true, "", "MsiExec.exe /X{1234}"}, ""},
        {{true, "", ""}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(earlierInstallationFolder(c.entry, holdsLog), c.folder)
            << c.entry.installLocation << " | " << c.entry.uninstallString;
}

TEST(EarlierInstallationTest, SameFolder) {
    EXPECT_TRUE(sameFolder("C:\\Program Files\\QS App\\", "c:\\program files\\qs app"));
    EXPECT_FALSE(sameFolder("C:\\QS App\\", "C:\\QS App 2\\"));
}

}  // namespace
}  // namespace quillset
