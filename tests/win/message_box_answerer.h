// Answers the message boxes this process shows, from a second thread, and remembers what they
// said: lets tests run code that shows MessageBoxA without anyone at the screen.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillset {

class MessageBoxAnswerer {
public:
    struct Seen {
        std::string caption, text;
    };

    explicit MessageBoxAnswerer(int answer = IDOK) : answer_(answer), watcher_([this] { watch(); }) {}
    ~MessageBoxAnswerer() {
        done_ = true;
        watcher_.join();
    }

    std::vector<Seen> seen() {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }

private:
    static BOOL CALLBACK onWindow(HWND window, LPARAM self) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        char className[64] = "";
        GetClassNameA(window, className, sizeof className);
        if (processId == GetCurrentProcessId() && lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window))
            reinterpret_cast<MessageBoxAnswerer*>(self)->answer(window);
        return TRUE;
    }

    void answer(HWND box) {
        char caption[512] = "", text[4096] = "";
        GetWindowTextA(box, caption, sizeof caption);
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message text's static control
        {
            std::lock_guard<std::mutex> lock(mutex_);
            seen_.push_back(Seen{caption, text});
        }
        // Hidden at once so that the same box is not seen twice before it closes.
        ShowWindow(box, SW_HIDE);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED), 0);
    }

    void watch() {
        while (!done_) {
            EnumWindows(onWindow, reinterpret_cast<LPARAM>(this));
            Sleep(10);  // polling interval, not synchronisation: the test waits for its own result
        }
    }

    int answer_;
    std::atomic<bool> done_{false};
    std::mutex mutex_;
    std::vector<Seen> seen_;
    std::thread watcher_;
};

}  // namespace quillset
