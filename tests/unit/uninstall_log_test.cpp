#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "uninstall_log.h"

namespace quillset {
namespace {

// Collects the log's bytes in strings owned by the test, so they outlive the sink. Fails every
// write from the `failAt`-th (1-based) on, without taking its bytes; 0 never fails.
struct SinkRecord {
    std::string bytes;
    std::vector<std::string> writes;  // each write's bytes, in order
    int calls = 0;
    bool destroyed = false;
};

class RecordingSink : public ByteSink {
public:
    explicit RecordingSink(SinkRecord& record, int failAt = 0) : record_(record), failAt_(failAt) {}
    ~RecordingSink() override { record_.destroyed = true; }
    bool write(const char* data, std::size_t size) override {
        ++record_.calls;
        if (failAt_ != 0 && record_.calls >= failAt_) return false;
        record_.writes.emplace_back(data, size);
        record_.bytes.append(data, size);
        return true;
    }

private:
    SinkRecord& record_;
    int failAt_;
};

// The hand-written expected log of a whole run (CR LF line ends, the byte 0xB4, a 0xE9 in a path).
std::string expectedRunBytes() {
    const std::string dir = std::string(__FILE__).substr(0, std::string(__FILE__).find_last_of("/\\") + 1);
    std::ifstream in(dir + "expected/uninstall_log_run.bin", std::ios::binary);
    EXPECT_TRUE(in) << "missing " << dir << "expected/uninstall_log_run.bin";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const char kKeyPrefix[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

TEST(UninstallLogTest, WholeRunMatchesTheHandWrittenFileByteForByte) {
    SinkRecord record;
    UninstallLog log;
    EXPECT_FALSE(log.isWritable());
    log.open(std::make_unique<RecordingSink>(record));
    EXPECT_TRUE(log.isWritable());
    log.writeHeader({2001, 1, 15});
    log.beginFiles();
    log.addFileRecord("C:\\PROGRA~1\\MYAPPL~1", "README~1.FIR", false);
    log.addFileRecord("C:\\WINDOWS\\SYSTEM32", "server.dll", true);
    log.addRegistrationLine(true);
    log.addFileRecord("C:\\WINDOWS\\SYSTEM32", "helper.dll", true);
    log.addRegistrationLine(false);
    log.addFileRecord("C:\\WINDOWS\\FONTS", "demo.ttf", true);
    log.addShortcutRecord("C:\\WINDOWS\\Start Menu\\Programs\\D\xE9mo\\D\xE9mo.lnk");
    log.beginRegistry();
    log.addRegistryKeyLine(std::string(kKeyPrefix) + "Demo App");
    log.close();
    EXPECT_FALSE(log.isWritable());
    EXPECT_TRUE(record.destroyed);

    const std::string expected = expectedRunBytes();
    EXPECT_EQ(record.bytes.size(), 615u);
    EXPECT_EQ(record.bytes, expected);
    // The warning block goes to the sink in one write: 217 bytes with LF, 222 with CR LF.
    ASSERT_GE(record.writes.size(), 3u);
    EXPECT_EQ(record.writes[2].size(), 222u);
    EXPECT_EQ(record.writes[2].rfind("MAKE NO CHANGES", 0), 0u);
    EXPECT_EQ(record.writes[2].find("DON\xB4T"), 92u);
}

TEST(UninstallLogTest, SinkFailingMidwayDropsEveryLaterWrite) {
    SinkRecord record;
    UninstallLog log;
    log.open(std::make_unique<RecordingSink>(record, 2));  // the title line fails
    log.writeHeader({2001, 1, 15});
    EXPECT_FALSE(log.isWritable());
    log.beginFiles();
    log.addFileRecord("C:\\X", "Y", false);
    log.beginRegistry();
    log.addRegistryKeyLine("key");
    EXPECT_EQ(record.bytes, "TWUNLOG V1\r\n\r\n");  // what came before the failure stays
    EXPECT_EQ(record.calls, 2);                     // nothing reached the sink after it
    log.close();
    EXPECT_TRUE(record.destroyed);
}

TEST(UninstallLogTest, NothingAfterClose) {
    SinkRecord record;
    UninstallLog log;
    log.open(std::make_unique<RecordingSink>(record));
    log.beginFiles();
    log.close();
    EXPECT_TRUE(record.destroyed);
    log.addFileRecord("C:\\X", "Y", true);
    log.beginRegistry();
    EXPECT_EQ(record.bytes, "[FILES]\r\n");
    EXPECT_EQ(record.calls, 1);
}

}  // namespace
}  // namespace quillset
