#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "uninstall_log.h"

namespace quillset {
namespace {

// Collects the log's bytes in strings owned by the test, so they outlive the sink. Fails every
// write from the `failAt`-th (1-based) on, without taking its bytes; 0 never fails.
struct SinkRecord {
    std::string bytes;
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
        record_.bytes.append(data, size);
        return true;
    }

private:
    SinkRecord& record_;
    int failAt_;
};

// The log's bytes themselves are checked whole by the end-to-end tests' Uninstall.log checks.
TEST(UninstallLogTest, NothingReachesTheSinkAfterItFailedOrTheLogClosed) {
    for (const bool failing : {true, false}) {
        SCOPED_TRACE(failing ? "sink fails at the title line" : "log closed");
        SinkRecord record;
        UninstallLog log;
        EXPECT_FALSE(log.isWritable());
        log.open(std::make_unique<RecordingSink>(record, failing ? 2 : 0));
        EXPECT_TRUE(log.isWritable());
        if (failing) {
            log.writeHeader({2001, 1, 15});
        } else {
            log.beginFiles();
            log.close();
        }
        EXPECT_FALSE(log.isWritable());
        EXPECT_EQ(record.destroyed, !failing);
        log.beginFiles();
        log.addFileRecord("C:\\X", "Y", false);
        log.beginRegistry();
        log.addRegistryKeyLine("key");
        // What came before stays; nothing reached the sink after.
        EXPECT_EQ(record.bytes, failing ? "TWUNLOG V1\r\n\r\n" : "[FILES]\r\n");
        EXPECT_EQ(record.calls, failing ? 2 : 1);
        log.close();
        EXPECT_TRUE(record.destroyed);
    }
}

}  // namespace
}  // namespace quillset
