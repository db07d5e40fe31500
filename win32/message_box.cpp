#include "message_box.h"

namespace quillset {

int showMessageBox(const std::string& text, const std::string& caption, UINT style, HWND owner) {
    return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

std::string systemErrorText(DWORD error) {
    // The system allocates the text, so a long one is not cut off (and a buffer too small would
    // give no text at all).
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length > 0 && buffer != nullptr ? std::string(buffer, length) : std::string();
    if (buffer != nullptr) LocalFree(buffer);
    return text;
}

}  // namespace quillset
