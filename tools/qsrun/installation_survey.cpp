#include <windows.h>

#include "installation_survey.h"

#include <bcrypt.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "command_line.h"
#include "path_text.h"
#include "uninstall_log_reader.h"
#include "whole_file.h"

namespace quillset::qsrun {
namespace {

const char* const uninstallRoot = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char* const sessionManager = "System\\CurrentControlSet\\Control\\Session Manager";

// Both registry views: a 32-bit Setup.exe on 64-bit Windows writes its entry in the 32-bit one
// (Wow6432Node), the 64-bit program in the other.
struct RegistryView {
    REGSAM access;
    const char* name;
};
const RegistryView registryViews[] = {{KEY_WOW64_64KEY, "64-bit"}, {KEY_WOW64_32KEY, "32-bit"}};

REGSAM accessOfView(const std::string& name) {
    for (const RegistryView& view : registryViews)
        if (name == view.name) return view.access;
    return 0;
}

// Entries are told apart by view and name: "64-bit\NAME".
std::string entryKey(const char* view, const std::string& name) { return std::string(view) + "\\" + name; }

bool openEntry(const RunReport& report, HKEY& key) {
    return !report.appName.empty() &&
           RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(uninstallRoot) + "\\" + report.appName).c_str(), 0,
                         KEY_READ | accessOfView(report.entryView), &key) == ERROR_SUCCESS;
}

std::string typeName(DWORD type) {
    switch (type) {
        case REG_SZ: return "REG_SZ";
        case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
        case REG_MULTI_SZ: return "REG_MULTI_SZ";
        case REG_DWORD: return "REG_DWORD";
        case REG_BINARY: return "REG_BINARY";
        default: return "type " + std::to_string(type);
    }
}

std::string dataText(DWORD type, const std::string& data) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) return std::string(data.c_str());
    if (type == REG_DWORD && data.size() >= 4) {
        DWORD value = 0;
        std::copy(data.begin(), data.begin() + 4, reinterpret_cast<char*>(&value));
        return std::to_string(value);
    }
    std::string hex;
    char byte[4];
    for (const char c : data) {
        std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(c));
        hex += byte;
    }
    return hex;
}

std::vector<RegistryValueRecord> readValues(HKEY key) {
    std::vector<RegistryValueRecord> values;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameSize = sizeof name;
        DWORD type = 0;
        DWORD dataSize = 0;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, nullptr, &dataSize) != ERROR_SUCCESS) break;
        std::string data(dataSize, '\0');
        nameSize = sizeof name;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &dataSize) !=
            ERROR_SUCCESS)
            break;
        data.resize(dataSize);
        values.push_back(RegistryValueRecord{name, typeName(type), dataText(type, data)});
    }
    return values;
}

std::string serialize(const std::vector<RegistryValueRecord>& values) {
    std::string text;
    for (const RegistryValueRecord& value : values) text += value.name + "=" + value.type + ":" + value.data + "\n";
    return text;
}

// The log beside the uninstaller that an entry's UninstallString names.
std::string logBeside(const std::string& uninstaller) {
    const std::string folder = folderPrefixOf(uninstaller);
    return folder.empty() ? "" : folder + "Uninstall.log";
}

std::string valueOf(const std::string& serialized, const std::string& name) {
    const std::string start = name + "=REG_SZ:";
    const std::size_t at = serialized.rfind(start, 0) == 0 ? 0 : serialized.find("\n" + start);
    if (at == std::string::npos) return "";
    const std::size_t from = serialized.find(':', at) + 1;
    return serialized.substr(from, serialized.find('\n', from) - from);
}

bool writtenSince(const std::string& path, const FILETIME& started) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return !path.empty() && GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
           CompareFileTime(&data.ftLastWriteTime, &started) >= 0;
}

// The uninstaller the entry names (the entry quotes it; earlier versions wrote the bare path).
std::string uninstallerOf(const RunReport& report) {
    for (const RegistryValueRecord& value : report.entry)
        if (value.name == "UninstallString") return splitProgramCommand(value.data).program;
    return "";
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string fileVersion(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return "";
    std::string data(size, '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(path.c_str(), 0, size, &data[0]) ||
        !VerQueryValueA(&data[0], "\\", reinterpret_cast<void**>(&info), &length) || info == nullptr)
        return "";
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
}

// The SHA-256 of an open file's bytes, by the system's cryptography (CNG), in lower-case hex; ""
// when it cannot be had. `size` gets the number of bytes read.
std::string sha256Of(HANDLE file, long long& size) {
    size = 0;
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return "";
    BCRYPT_HASH_HANDLE hash = nullptr;
    unsigned char digest[32];
    bool ok = BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
    std::vector<unsigned char> buffer(1 << 16);
    DWORD got = 0;
    while (ok && ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) {
        ok = BCRYPT_SUCCESS(BCryptHashData(hash, buffer.data(), got, 0));
        size += got;
    }
    ok = ok && BCRYPT_SUCCESS(BCryptFinishHash(hash, digest, sizeof digest, 0));
    if (hash != nullptr) BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!ok) return "";
    std::string hex;
    char pair[4];
    for (const unsigned char byte : digest) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        hex += pair;
    }
    return hex;
}

// The log records the product's own files by their short names (C:\PROG~FBU\...), which say
// nothing to a vendor who knows the tree by its long ones.
std::string longPathOf(const std::string& path) {
    char buffer[MAX_PATH * 4] = "";
    const DWORD length = GetLongPathNameA(path.c_str(), buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? buffer : "";
}

}  // namespace

FileRecord describeFile(const std::string& path, const std::string& kind) {
    FileRecord file;
    file.path = path;
    file.kind = kind;
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return file;
    file.exists = true;
    file.longPath = longPathOf(path);
    file.sha256 = sha256Of(handle, file.size);
    CloseHandle(handle);
    file.version = fileVersion(path);
    return file;
}

namespace {

ShortcutRecord describeShortcut(const std::string& path) {
    ShortcutRecord shortcut;
    shortcut.path = path;
    shortcut.exists = exists(path);
    if (!shortcut.exists) return shortcut;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return shortcut;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t widePath[MAX_PATH * 2] = L"";
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH * 2);
        if (SUCCEEDED(file->Load(widePath, STGM_READ))) {
            char text[MAX_PATH * 4] = "";
            if (SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH))) shortcut.target = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetArguments(text, sizeof text))) shortcut.arguments = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text))) shortcut.workingDirectory = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetDescription(text, sizeof text))) shortcut.description = text;
        }
        file->Release();
    }
    link->Release();
    return shortcut;
}

const char* recordKind(UninstallRecord::Kind kind) {
    switch (kind) {
        case UninstallRecord::Kind::shortcut: return "shortcut";
        case UninstallRecord::Kind::shared: return "shared";
        default: return "file";
    }
}

std::vector<RenameRecord> readPendingRenames() {
    std::vector<RenameRecord> renames;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, sessionManager, 0, KEY_READ, &key) != ERROR_SUCCESS) return renames;
    DWORD size = 0;
    DWORD type = 0;
    std::string data;
    if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size > 0) {
        data.assign(size, '\0');
        RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
    }
    RegCloseKey(key);
    // Pairs of zero-ended paths in the native form (\??\C:\...); an empty second path deletes.
    std::vector<std::string> paths;
    for (std::size_t start = 0; start < data.size();) {
        const std::size_t end = data.find('\0', start);
        const std::size_t stop = end == std::string::npos ? data.size() : end;
        paths.push_back(data.substr(start, stop - start));
        start = stop + 1;
    }
    while (!paths.empty() && paths.back().empty()) paths.pop_back();
    const auto plain = [](const std::string& path) { return path.rfind("\\??\\", 0) == 0 ? path.substr(4) : path; };
    for (std::size_t i = 0; i < paths.size(); i += 2)
        renames.push_back(RenameRecord{plain(paths[i]), i + 1 < paths.size() ? plain(paths[i + 1]) : ""});
    return renames;
}

// Whether a path names the same file as another, in long or short form.
std::string longForm(const std::string& path) {
    char buffer[MAX_PATH * 4] = "";
    const DWORD length = GetLongPathNameA(path.c_str(), buffer, sizeof buffer);
    std::string text = length > 0 && length < sizeof buffer ? buffer : path;
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// The files the pending replacements delete at the next restart, in their long forms.
std::set<std::string> deletionsAtRestart() {
    std::set<std::string> deletions;
    for (const RenameRecord& rename : readPendingRenames())
        if (rename.to.empty()) deletions.insert(longForm(rename.from));
    return deletions;
}

}  // namespace

UninstallEntries readUninstallEntries() {
    UninstallEntries entries;
    for (const RegistryView& view : registryViews) {
        HKEY root = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, uninstallRoot, 0, KEY_READ | view.access, &root) != ERROR_SUCCESS) continue;
        for (DWORD index = 0;; ++index) {
            char name[1024];
            DWORD size = sizeof name;
            if (RegEnumKeyExA(root, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            HKEY key = nullptr;
            if (RegOpenKeyExA(root, name, 0, KEY_READ | view.access, &key) != ERROR_SUCCESS) continue;
            entries[entryKey(view.name, name)] = serialize(readValues(key));
            RegCloseKey(key);
        }
        RegCloseKey(root);
    }
    return entries;
}

void surveyInstallation(const UninstallEntries& before, const FILETIME& started, RunReport& report) {
    const UninstallEntries after = readUninstallEntries();
    std::string found;  // "VIEW\\NAME"
    for (const auto& [name, values] : after) {
        const auto earlier = before.find(name);
        if (earlier == before.end() || earlier->second != values) found = name;
    }
    // An installation over an earlier one writes the same values again: its log is new, though.
    if (found.empty()) {
        for (const auto& [name, values] : after)
            if (writtenSince(logBeside(splitProgramCommand(valueOf(values, "UninstallString")).program), started)) found = name;
    }
    report.pendingRenames = readPendingRenames();
    if (found.empty()) return;
    const std::size_t split = found.find('\\');
    report.entryView = found.substr(0, split);
    report.appName = found.substr(split + 1);
    report.entryHive = "HKEY_LOCAL_MACHINE";
    HKEY key = nullptr;
    if (openEntry(report, key)) {
        report.entry = readValues(key);
        RegCloseKey(key);
    }
    // The uninstaller reads the log beside itself, in the destination the entry names.
    report.log.path = logBeside(uninstallerOf(report));
    if (report.log.path.empty()) return;
    std::string bytes;
    if (!readWholeFile(report.log.path, bytes)) {
        report.log.error = "cannot be read";
        return;
    }
    UninstallLogContents contents;
    UninstallLogError error;
    if (!readUninstallLog(bytes, contents, error)) {
        report.log.error = std::to_string(error.line) + ": " + error.message;
        return;
    }
    report.log.read = true;
    report.log.date = contents.date;
    report.log.key = contents.registryKey;
    for (const UninstallRecord& record : contents.records) {
        const char* kind = recordKind(record.kind);
        const char* registration = record.registration == UninstallRecord::Registration::autoRegister     ? "register"
                                   : record.registration == UninstallRecord::Registration::noAutoRegister ? "no-register"
                                                                                                          : "";
        report.log.records.push_back(LogRecordEntry{record.line, kind, record.path, longPathOf(record.path), registration});
        if (record.kind == UninstallRecord::Kind::shortcut) report.shortcuts.push_back(describeShortcut(record.path));
        else report.files.push_back(describeFile(record.path, kind));
    }
}

void surveyRemains(RunReport& report) {
    const std::set<std::string> dueForDeletion = deletionsAtRestart();
    UninstallReport& uninstall = report.uninstall;
    std::set<std::string> seen;  // long forms: the log records short ones
    const auto look = [&](const std::string& path, bool shared) {
        if (!exists(path) || !seen.insert(longForm(path)).second) return;
        if (dueForDeletion.count(longForm(path))) uninstall.dueAtRestart.push_back(path);
        else if (shared) uninstall.kept.push_back(path);
        else uninstall.remaining.push_back(path);
    };
    for (const LogRecordEntry& record : report.log.records) look(record.path, record.kind == "shared");
    if (!report.log.path.empty()) look(report.log.path, false);
    look(uninstallerOf(report), false);
    HKEY key = nullptr;
    if (openEntry(report, key)) {
        uninstall.entryRemains = true;
        RegCloseKey(key);
    }
}

void surveyEarlierRemains(const RunReport& earlier, RunReport& report) {
    const std::set<std::string> dueForDeletion = deletionsAtRestart();
    for (const FileRecord& file : earlier.files)
        if (file.kind != "shared" && exists(file.path) && !dueForDeletion.count(longForm(file.path)))
            report.upgrade.remainingAfterUninstall.push_back(file.longPath.empty() ? file.path : file.longPath);
}

}  // namespace quillset::qsrun
