// Holders that give a system object back on every way out of a scope: a file or snapshot handle,
// a process or thread handle, a loaded library, a registry key, a file search (FileSearch, in
// find_files.h, holds one with the entry at hand).
#pragma once

#include <windows.h>

#include <utility>

namespace quillset {

// Owns one value that Kind::close gives back, unless it is Kind::invalid(). Moves, never copies.
template <typename Kind>
class Owned {
public:
    using Value = typename Kind::Value;

    Owned() = default;
    explicit Owned(Value value) : value_(value) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : value_(std::exchange(other.value_, Kind::invalid())) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset();
            value_ = std::exchange(other.value_, Kind::invalid());
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    bool valid() const { return value_ != Kind::invalid(); }
    Value get() const { return value_; }
    void reset() {
        if (valid()) Kind::close(value_);
        value_ = Kind::invalid();
    }

private:
    Value value_ = Kind::invalid();
};

// CreateFileA and CreateToolhelp32Snapshot fail with INVALID_HANDLE_VALUE.
struct FileHandleKind {
    using Value = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE handle) { CloseHandle(handle); }
};
// OpenProcess and CreateThread fail with nullptr.
struct KernelHandleKind {
    using Value = HANDLE;
    static HANDLE invalid() { return nullptr; }
    static void close(HANDLE handle) { CloseHandle(handle); }
};
struct LibraryKind {
    using Value = HMODULE;
    static HMODULE invalid() { return nullptr; }
    static void close(HMODULE library) { FreeLibrary(library); }
};
// RegOpenKeyExA and RegCreateKeyExA hand a key back only on success.
struct RegistryKeyKind {
    using Value = HKEY;
    static HKEY invalid() { return nullptr; }
    static void close(HKEY key) { RegCloseKey(key); }
};
// FindFirstFileA fails with INVALID_HANDLE_VALUE.
struct FileSearchKind {
    using Value = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE search) { FindClose(search); }
};

using FileHandle = Owned<FileHandleKind>;
using KernelHandle = Owned<KernelHandleKind>;
using Library = Owned<LibraryKind>;
using RegistryKey = Owned<RegistryKeyKind>;

// The key `path` below `parent`, opened for `access`; a holder of none when it cannot be opened.
inline RegistryKey openRegistryKey(HKEY parent, const char* path, REGSAM access) {
    HKEY key = nullptr;
    return RegistryKey(RegOpenKeyExA(parent, path, 0, access, &key) == ERROR_SUCCESS ? key : nullptr);
}

// The key `path` below `parent`, made where it is missing (kept across restarts) and opened for
// `access`; a holder of none when that fails.
inline RegistryKey createRegistryKey(HKEY parent, const char* path, REGSAM access) {
    HKEY key = nullptr;
    return RegistryKey(RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                                       nullptr) == ERROR_SUCCESS
                           ? key
                           : nullptr);
}

}  // namespace quillset
