// Files around the robot's program: a medium that changes under its feet (a file deleted, written,
// a disk folder renamed away and back), and a moment in its work awaited by a file appearing or
// going.
#include "robot.h"

namespace quillset::robot {

std::string Robot::deleteFile(const std::string& path) {
    return DeleteFileA(path.c_str()) ? "" : "cannot delete " + quoteWord(path);
}

std::string Robot::writeFile(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return ok ? "" : "cannot write " + quoteWord(path);
}

std::string Robot::renameFile(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) ? "" : "cannot rename " + quoteWord(from) + " to " + quoteWord(to);
}

std::string Robot::waitForFile(const std::string& path, int minimumBytes) {
    LARGE_INTEGER size{};
    const auto bigEnough = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
        size.LowPart = data.nFileSizeLow;
        size.HighPart = static_cast<LONG>(data.nFileSizeHigh);
        return size.QuadPart >= minimumBytes;
    };
    if (waitUntil(timeoutMs_, bigEnough)) return "";
    return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES
               ? "no file " + quoteWord(path) + " after " + describeTimeout()
               : quoteWord(path) + " holds " + std::to_string(size.QuadPart) + " bytes after " + describeTimeout();
}

std::string Robot::waitForNoFile(const std::string& path) {
    if (waitUntil(timeoutMs_, [&] { return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; })) return "";
    return quoteWord(path) + " is still there after " + describeTimeout();
}

}  // namespace quillset::robot
