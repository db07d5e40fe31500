// A file's version resource: its language and code page (for the language conflict dialog) and
// its file version (for the locked-file replacement).
#pragma once

#include <windows.h>

#include <string>

namespace quillset {

struct VersionInfo {
    // Whether the resource has a "\VarFileInfo\Translation" entry. Without one, `language` and
    // `codePage` are 0 and `languageName` is empty: the resource names no language, and a code
    // page of 0 is one a translation entry may really carry, so this flag tells the two apart.
    bool hasTranslation = false;
    // The platform's English name of the language (LOCALE_SENGLANGUAGE); empty when the platform
    // has none, and for the neutral identifiers (primary language LANG_NEUTRAL: 0x0000, the
    // user default 0x0400, the system default 0x0800, ...), which the locale functions would
    // resolve to the user's or the system's language although the file declares none.
    std::string languageName;
    WORD language = 0;  // first word of the first translation entry
    WORD codePage = 0;  // second word of that entry
    DWORD fileVersionHigh = 0;  // dwFileVersionMS
    DWORD fileVersionLow = 0;   // dwFileVersionLS
};

// True when the file has a version resource with its fixed file information; `info` is then
// filled (the file version always, the language and code page when a translation entry exists,
// see `hasTranslation`). False, with `info` left as it was, when the file has no version
// resource, cannot be read, or does not exist.
bool readVersionInfo(const std::string& file, VersionInfo& info);

}  // namespace quillset
