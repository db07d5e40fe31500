#include "process_names.h"

namespace quillset {

std::string lowerCaseAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string recordedProcessName(const char* fileName) {
    std::string name = lowerCaseAscii(fileName != nullptr ? fileName : "");
    const std::size_t backslash = name.rfind('\\');
    if (backslash != std::string::npos) name.erase(0, backslash + 1);
    return name;
}

}  // namespace quillset
