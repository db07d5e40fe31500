#include "log_file.h"

#include <windows.h>

#include <utility>

#include "handle.h"

namespace quillset {

namespace {

const char* const kLogNotCreated = "UNINSTALL WILL NOT BE AVAILABLE, BECAUSE LOG FILE COULD NOT BE CREATED!";

// The bytes go to the file as they are: the writer makes the CR LF line ends itself.
class FileSink : public ByteSink {
public:
    explicit FileSink(FileHandle file) : file_(std::move(file)) {}

    bool write(const char* data, std::size_t size) override {
        while (size > 0) {
            const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(file_.get(), data, chunk, &written, nullptr) || written == 0) return false;
            data += written;
            size -= written;
        }
        return true;
    }

private:
    FileHandle file_;
};

}  // namespace

void openUninstallLog(UninstallLog& log, const std::string& path, InstallPrompt& prompt) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        prompt.showMessage(kLogNotCreated, "UNEXPECTED ERROR", Prompt::Ok, PromptOwner::none);
        log.open(nullptr);
        return;
    }
    log.open(std::make_unique<FileSink>(std::move(file)));
}

LogDate todayForLog() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LogDate{now.wYear, now.wMonth, now.wDay};
}

}  // namespace quillset
