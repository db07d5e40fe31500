// Which family of Windows the program runs on. The two families replace files in use, walk the
// process list and remove a running program in different ways.
#pragma once

namespace quillset {

enum class WindowsFamily {
    nt,         // Windows NT, 2000 and later
    windows9x,  // Windows 95, 98 and ME
    other,      // Win32s or a platform this program does not know
};

// Asked of the system once; every later call answers from that.
WindowsFamily windowsFamily();

}  // namespace quillset
