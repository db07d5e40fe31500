// The small window a single-file installer shows while it unpacks: the application's name, a
// progress bar and Cancel. The unpacking runs on a worker thread, so the window keeps answering;
// Cancel stops it between two blocks. The window stays, hidden, while Setup.exe runs, to hear
// of the end of the Windows session.
#pragma once

#include <windows.h>

#include <string>

#include "payload_format.h"

namespace quillset {

struct UnpackOutcome {
    enum class Kind { unpacked, cancelled, damaged, failed, outOfMemory } kind = Kind::failed;
    std::string failedPath;  // failed: the file or folder that could not be written
    DWORD error = 0;         // failed: the system's error code
};

// The window (created hidden); nullptr when it cannot be made. `sessionEnding` is called on the
// window's thread when Windows ends the session while the window exists.
HWND createUnpackWindow(HINSTANCE instance, const std::string& appName, void (*sessionEnding)(void* context),
                        void* context);

// Shows the window, unpacks the payload of `file` (checked by checkPayload) into `folder` on a
// worker thread, and hides the window again.
UnpackOutcome unpackWithWindow(HWND window, PayloadFile& file, const CheckedPayload& payload, const std::string& folder);

// Runs the window's messages until `process` ends.
void waitWithWindow(HWND window, HANDLE process);

}  // namespace quillset
