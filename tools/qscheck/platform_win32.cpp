#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

#include "platform.h"

namespace quillset {

NameCharacterTest platformNameCharacterTest() {
    return [](unsigned char c) { return IsCharAlphaNumericA(static_cast<CHAR>(c)) != FALSE; };
}

void useBinaryStandardOutput() { _setmode(_fileno(stdout), _O_BINARY); }

}  // namespace quillset
