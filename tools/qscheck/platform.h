// What qscheck asks of the platform it runs on.
#pragma once

#include "script_reader.h"

namespace quillset {

// The name-character rule of the platform's reader: IsCharAlphaNumericA on Windows, the code page
// 1252 table elsewhere.
NameCharacterTest platformNameCharacterTest();

// Makes standard output byte-exact (no LF to CR LF translation), so that the Windows and the
// native tool print identical bytes.
void useBinaryStandardOutput();

}  // namespace quillset
