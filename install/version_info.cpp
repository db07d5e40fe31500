// Reads version resources through the version library.
#include "version_info.h"

#include <cstring>
#include <vector>

#include "version_library.h"

namespace quillset {
namespace {

// The platform's English name of a language identifier, or an empty text (see VersionInfo).
std::string englishLanguageName(WORD language) {
    if (PRIMARYLANGID(language) == LANG_NEUTRAL) return {};
    const LCID locale = MAKELCID(language, SORT_DEFAULT);
    const int size = GetLocaleInfoA(locale, LOCALE_SENGLANGUAGE, nullptr, 0);
    if (size <= 0) return {};
    std::vector<char> name(static_cast<size_t>(size) + 1, '\0');
    if (GetLocaleInfoA(locale, LOCALE_SENGLANGUAGE, name.data(), size) == 0) return {};
    return std::string(name.data(), std::strlen(name.data()));
}

}  // namespace

bool readVersionInfo(const std::string& file, VersionInfo& info) {
    DWORD ignored = 0;
    const DWORD size = versionInfoSize(file.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<char> block(size);
    if (!versionInfo(file.c_str(), 0, size, block.data())) return false;

    void* value = nullptr;
    UINT length = 0;
    if (!versionQueryValue(block.data(), "\\", &value, &length) || value == nullptr || length < sizeof(VS_FIXEDFILEINFO))
        return false;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    VersionInfo read;
    read.fileVersionHigh = fixed->dwFileVersionMS;
    read.fileVersionLow = fixed->dwFileVersionLS;

    value = nullptr;
    length = 0;
    if (versionQueryValue(block.data(), "\\VarFileInfo\\Translation", &value, &length) && value != nullptr &&
        length >= 2 * sizeof(WORD)) {
        const auto* entry = static_cast<const WORD*>(value);
        read.hasTranslation = true;
        read.language = entry[0];
        read.codePage = entry[1];
        read.languageName = englishLanguageName(read.language);
    }
    info = read;
    return true;
}

}  // namespace quillset
