// What Setup.exe and QSUninstall.exe take from the C++ runtime instead of the library's own, so
// that they fit on a floppy with room to spare. Neither program throws or catches an exception:
// the only ones the library could raise are out-of-memory and a length beyond any string, after
// which there is nothing sensible left to do. The library's versions of the functions below raise
// exceptions, and with them come its exception classes, a second kind of string for their
// messages, the unwinder and a demangler for the message of an uncaught exception: over 150 KB of
// a program of 250. These end the program with a message instead, as an uncaught exception would.
//
// Linked into the two programs only (an object library: its definitions come before the C++
// library's, so the library's never get linked). The tools keep the library's exceptions: they
// catch the file system's.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void fail(const char* what) {
    FatalAppExitA(0, what);
    std::abort();  // FatalAppExitA does not return; this tells the compiler so
}

}  // namespace

namespace std {

void __throw_bad_alloc() { fail("Out of memory."); }
void __throw_bad_array_new_length() { fail("Out of memory."); }
void __throw_length_error(const char*) { fail("Out of memory: a text or list would be too long."); }
void __throw_logic_error(const char* what) { fail(what); }
void __throw_out_of_range(const char* what) { fail(what); }
void __throw_out_of_range_fmt(const char* what, ...) { fail(what); }
void __throw_invalid_argument(const char* what) { fail(what); }
void __throw_bad_function_call() { fail("Internal error: an empty function was called."); }

}  // namespace std

namespace __gnu_cxx {

// The handler of an exception nobody catches; the library's demangles the exception's type name.
void __verbose_terminate_handler() { fail("Fatal application error."); }

}  // namespace __gnu_cxx

// Allocation that never throws: memory comes from the C library, and running out ends the program.
void* operator new(std::size_t size) {
    if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
    fail("Out of memory.");
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size != 0 ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size != 0 ? size : 1); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
