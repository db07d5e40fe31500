// Holders that give a system object back on every way out of a scope: a file or snapshot handle,
// a process or thread handle, a loaded library, a file search.
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
struct FileSearchKind {
    using Value = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE search) { FindClose(search); }
};

using FileHandle = Owned<FileHandleKind>;
using KernelHandle = Owned<KernelHandleKind>;
using Library = Owned<LibraryKind>;
using FileSearch = Owned<FileSearchKind>;

}  // namespace quillset
