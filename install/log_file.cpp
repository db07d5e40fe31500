#include "log_file.h"

#include <windows.h>

#include <utility>

#include "handle.h"
#include "step_clock.h"

namespace quillset {

namespace {

const char* const kLogNotCreated = "UNINSTALL WILL NOT BE AVAILABLE, BECAUSE LOG FILE COULD NOT BE CREATED!";

// The bytes go to the file as they are: the writer makes the CR LF line ends itself.
class FileSink : public ByteSink {
public:
    explicit FileSink(FileHandle file) : file_(std::move(file)) {}

    bool write(const char* data, std::size_t size) override {
        const StepClock clock(CopyStep::logWrite);
        while (size > 0) {
            const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(file_.get(), data, chunk, &written, nullptr) || written == 0) return false;
            data += written;
            size -= written;
        }
        return true;
    }

    bool flush() override { return FlushFileBuffers(file_.get()) != FALSE; }

private:
    FileHandle file_;
};

// The log file at `path`, written from its end when `atEnd` is set.
std::unique_ptr<ByteSink> fileSink(const std::string& path, DWORD disposition, bool atEnd) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return nullptr;
    if (atEnd && SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) return nullptr;
    return std::make_unique<FileSink>(std::move(file));
}

}  // namespace

std::unique_ptr<ByteSink> createLogFile(const std::string& path) { return fileSink(path, CREATE_ALWAYS, false); }

std::unique_ptr<ByteSink> openLogFileForAdding(const std::string& path) { return fileSink(path, OPEN_EXISTING, true); }

void logNotCreated(UninstallLog& log, InstallPrompt& prompt) {
    prompt.showMessage(kLogNotCreated, "UNEXPECTED ERROR", Prompt::Ok, PromptOwner::none);
    log.open(nullptr);
}

void openUninstallLog(UninstallLog& log, const std::string& path, InstallPrompt& prompt) {
    std::unique_ptr<ByteSink> sink = createLogFile(path);
    if (sink == nullptr) return logNotCreated(log, prompt);
    log.open(std::move(sink));
}

LogDate todayForLog() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LogDate{now.wYear, now.wMonth, now.wDay};
}

}  // namespace quillset
