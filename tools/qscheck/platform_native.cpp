#include "cp1252.h"
#include "platform.h"

namespace quillset {

NameCharacterTest platformNameCharacterTest() { return isCp1252AlphaNumeric; }

void useBinaryStandardOutput() {}

}  // namespace quillset
