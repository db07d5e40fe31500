// Answers the next dialog or message box this process shows, from a second thread, as a user would: reads
// its caption and the texts of the controls asked for, tries to dismiss it with IDCANCEL (what
// Escape and the close box send) and WM_CLOSE, then clicks one button. Lets tests call code that
// shows a modal dialog and check what it showed and what it returned.
#pragma once

#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace quillset {

class DialogDriver {
public:
    struct Seen {
        bool found = false;  // a dialog of this process appeared
        std::string caption;
        std::map<int, std::string> texts;  // control ID -> text
        bool openAfterCancel = false;      // still shown after IDCANCEL and WM_CLOSE
        bool closedByClick = false;        // gone after the click; false: the driver had to end it
    };

    // `tryDismissing`: first send what Escape and the close box send (a message box would take them
    // as an answer, so its tests leave them out).
    DialogDriver(std::vector<int> controls, int button, bool tryDismissing = true)
        : controls_(std::move(controls)), button_(button), tryDismissing_(tryDismissing),
          driver_([this] { drive(); }) {}
    ~DialogDriver() { finish(); }

    // Waits for the driver to finish (call it after the dialog has returned).
    Seen seen() {
        finish();
        return seen_;
    }

    // The dialog (or message box) this process shows now, if any.
    static HWND shownDialog() {
        HWND found = nullptr;
        EnumWindows(
            [](HWND window, LPARAM result) -> BOOL {
                DWORD processId = 0;
                GetWindowThreadProcessId(window, &processId);
                char className[64] = "";
                GetClassNameA(window, className, sizeof className);
                if (processId != GetCurrentProcessId() || lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window))
                    return TRUE;
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    static std::string textOf(HWND window) {
        if (window == nullptr) return "<no such control>";
        const auto length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
        std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        return text.data();
    }

private:
    // Generous: the machines running the tests are often busy.
    static constexpr DWORD timeoutMs = 30000;

    void drive() {
        HWND dialog = nullptr;
        for (const DWORD start = GetTickCount(); dialog == nullptr; Sleep(10)) {  // polling interval
            if (done_ || GetTickCount() - start > timeoutMs) return;
            dialog = shownDialog();
        }
        seen_.found = true;
        seen_.caption = textOf(dialog);
        for (const int id : controls_) seen_.texts[id] = textOf(GetDlgItem(dialog, id));

        if (tryDismissing_) {
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            SendMessageA(dialog, WM_CLOSE, 0, 0);
            seen_.openAfterCancel = IsWindow(dialog) && IsWindowVisible(dialog);
        }

        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, button_)));
        for (const DWORD start = GetTickCount(); IsWindow(dialog); Sleep(10)) {
            if (GetTickCount() - start > timeoutMs) {
                EndDialog(dialog, -2);  // the click did not end it: end it so the test fails, not hangs
                return;
            }
        }
        seen_.closedByClick = true;
    }

    void finish() {
        done_ = true;
        if (driver_.joinable()) driver_.join();
    }

    std::vector<int> controls_;
    int button_;
    bool tryDismissing_;
    Seen seen_;
    std::atomic<bool> done_{false};
    std::thread driver_;
};

}  // namespace quillset
