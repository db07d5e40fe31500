// The reader of Uninstall.log, the counterpart of its writer: it accepts exactly the layout the
// installation writes (magic line, title, warning, date, "[FILES]", the records, "[REGISTRY]" and
// the key line, every line ending in CR LF) and nothing else, so that a log that is not ours,
// edited or binary is refused before the uninstaller removes anything. A log that simply stops
// (the installation was killed, the power failed) is read up to its last whole record: the writer
// appends each record after its file is in place, so every whole record names what the run did.
// Portable.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quillset {

struct UninstallRecord {
    enum class Kind { nonShared, shortcut, shared };
    enum class Registration { none, autoRegister, noAutoRegister };  // the line after a shared record
    Kind kind = Kind::nonShared;
    std::string path;  // absolute, as the installation recorded it (short form for non-shared files)
    Registration registration = Registration::none;
    int line = 0;  // of the path line, 1-based
};

struct UninstallLogContents {
    std::string date;  // "month/day/year"
    std::vector<UninstallRecord> records;  // in log order
    std::string registryKey;  // the Uninstall key path below HKEY_LOCAL_MACHINE; empty when cut off
    std::string appName;      // the key's last part, as the installation named it; empty when cut off
    // False for a log that ends before its key line: the run that wrote it did not end. Its
    // records are those it finished; an unfinished last line or record is left out.
    bool complete = true;
};

struct UninstallLogError {
    int line = 0;  // 1-based
    std::string message;
};

// The prefix of the key line: the system's Uninstall key.
extern const char* const kUninstallKeyPrefix;
// The longest path a record may name (the platform's limit less its terminating zero).
constexpr std::size_t kLongestRecordPath = 259;

// The largest file read as an uninstall log: far beyond any log, so that a stray huge file in its
// place is refused rather than read.
constexpr std::size_t kLargestUninstallLog = 64u << 20;

// Reads the log's bytes. Returns true and fills `contents` (also for a log cut off at any byte),
// or false and fills `error`.
bool readUninstallLog(const std::string& bytes, UninstallLogContents& contents, UninstallLogError& error);

}  // namespace quillset
