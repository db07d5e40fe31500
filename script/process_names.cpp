#include "process_names.h"

#include "path_text.h"

namespace quillset {

std::string lowerCaseAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string recordedProcessName(const char* fileName) {
    return fileNameOf(lowerCaseAscii(fileName != nullptr ? fileName : ""));
}

}  // namespace quillset
