#include "uninstall_log.h"

#include <utility>

namespace quillset {

namespace {

// The warning block of the header (row 3 of the layout), as one write; LF before the CR LF
// expansion. The character between "DON" and "T" is the byte 0xB4 (acute accent, code page 1252).
constexpr char kWarningBlock[] =
    "MAKE NO CHANGES TO THIS FILE, ITS FORMAT IS EXACTLY DEFINED!\n"
    "NO REAL PARSER DOES EXIST, SO DON"
    "\xB4"
    "T MODIFY ANYTHING!\n"
    "ANY ERRORS COULD CAUSE CATASTROPHAL (!) DAMAGE TO YOUR SYSTEM, YOU\n"
    "COULD BE UNABLE TO RESTART WINDOWS\n"
    "\n";
static_assert(sizeof(kWarningBlock) - 1 == 217, "the warning block is one write of 217 bytes");

}  // namespace

void UninstallLog::open(std::unique_ptr<ByteSink> sink) {
    sink_ = std::move(sink);
    failed_ = sink_ == nullptr;
}

bool UninstallLog::isWritable() const { return sink_ != nullptr && !failed_; }

void UninstallLog::writeHeader(const LogDate& date) {
    writeLines("TWUNLOG V1\n\n");
    writeLines("TARNWICK UNINSTALLATION LOG FILE\n\n");
    writeLines(std::string(kWarningBlock, sizeof(kWarningBlock) - 1));
    writeLines("DATE:" + std::to_string(date.month) + "/" + std::to_string(date.day) + "/" +
               std::to_string(date.year) + "\n");
}

void UninstallLog::beginFiles() { writeLines("[FILES]\n"); }

void UninstallLog::addFileRecord(const std::string& directory, const std::string& name, bool shared) {
    writeLines(directory + "\\" + name + (shared ? "\nSHARED\n" : "\nNONSHARED\n"));
}

void UninstallLog::addRegistrationLine(bool exportsRegisterServer) {
    writeLines(exportsRegisterServer ? "AUTOREGSVR\n" : "NOAUTOREGSVR\n");
}

void UninstallLog::addShortcutRecord(const std::string& linkPath) { writeLines(linkPath + "\nNONSHARED\n"); }

void UninstallLog::addRecord(const UninstallRecord& record) {
    writeLines(record.path + (record.kind == UninstallRecord::Kind::shared ? "\nSHARED\n" : "\nNONSHARED\n"));
    if (record.registration != UninstallRecord::Registration::none)
        addRegistrationLine(record.registration == UninstallRecord::Registration::autoRegister);
}

void UninstallLog::beginRegistry() { writeLines("[REGISTRY]\n"); }

void UninstallLog::addRegistryKeyLine(const std::string& keyPath) { writeLines(keyPath + "\n"); }

bool UninstallLog::close() {
    // A log that stays in the system's cache is lost with the power: the run is over only when
    // its record is on the disk. Destroying the sink closes the file; isWritable() is false after.
    if (isWritable() && !sink_->flush()) failed_ = true;
    const bool whole = isWritable();
    sink_.reset();
    return whole;
}

void UninstallLog::writeLines(const std::string& text) {
    if (!isWritable()) return;
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 8 + 2);
    for (char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    if (!sink_->write(bytes.data(), bytes.size())) failed_ = true;
}

}  // namespace quillset
