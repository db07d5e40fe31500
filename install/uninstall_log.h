// The writer of Uninstall.log, the record of everything the installation run put on the system,
// from which the uninstaller works. Portable: it writes bytes into a sink and knows no file system.
//
// The layout is exact (the file says so itself): a magic line, a title, a warning, the date, then
// "[FILES]" and one record per installed file or shortcut, then "[REGISTRY]" and the Uninstall key
// path. Every line ends in CR LF on disk; the writer produces those bytes itself, so nothing depends
// on a text-mode stream.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "uninstall_log_reader.h"

namespace quillset {

// Where the log's bytes go: the log file on Windows, a string in tests.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Appends the bytes; false when they could not all be written.
    virtual bool write(const char* data, std::size_t size) = 0;
    // Hands everything written on to its storage (the disk); false when that failed.
    virtual bool flush() { return true; }
};

// A calendar date, as the header's DATE: line shows it (month/day/year, no leading zeros).
struct LogDate {
    int year = 0, month = 0, day = 0;
};

class UninstallLog {
public:
    // Starts a log into `sink`. A null sink means the file could not be created: the log is then
    // failed, and every write is dropped (the caller has told the user).
    void open(std::unique_ptr<ByteSink> sink);

    // True while the log can be written: opened with a sink, no write failed, not closed.
    bool isWritable() const;

    // The magic line, the title, the 217-byte warning block and the date line.
    void writeHeader(const LogDate& date);
    // "[FILES]".
    void beginFiles();
    // directory "\" name, then "SHARED" or "NONSHARED".
    void addFileRecord(const std::string& directory, const std::string& name, bool shared);
    // "AUTOREGSVR" when the library exports DllRegisterServer, else "NOAUTOREGSVR"; only directly
    // after a shared file's record.
    void addRegistrationLine(bool exportsRegisterServer);
    // The .lnk path, then "NONSHARED".
    void addShortcutRecord(const std::string& linkPath);
    // A record as the reader read it from an earlier log, in the same bytes: an upgrade carries it.
    void addRecord(const UninstallRecord& record);
    // "[REGISTRY]".
    void beginRegistry();
    // The Uninstall key path, as its own line.
    void addRegistryKeyLine(const std::string& keyPath);

    // Ends the log, after handing it on to the disk; later writes are dropped. True when every
    // write and the flush succeeded.
    bool close();

private:
    // Writes `text` with every LF as CR LF. After a failed write the log stays failed.
    void writeLines(const std::string& text);

    std::unique_ptr<ByteSink> sink_;
    bool failed_ = false;
};

}  // namespace quillset
