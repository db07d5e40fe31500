// The quit question, against the real window manager.
#include <windows.h>

#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "page_frame.h"

namespace quillset {
namespace {

// Whether the calling thread has a quit message waiting, and its code.
bool takeQuitMessage(WPARAM& code) {
    MSG message;
    if (!PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
    code = message.wParam;
    return true;
}

TEST(QuitSetupTest, AsksInModeOneAndPostsTheQuitCode) {
    struct Case {
        int mode;
        int answer;
        bool expected;
        bool asks;
        int quitCode;  // -1: no quit message
    };
    for (const Case c : {Case{1, IDYES, true, true, 1}, Case{1, IDNO, false, true, -1}, Case{2, IDNO, true, false, 2}}) {
        DialogDriver driver({0xFFFF}, c.answer, false);  // 0xFFFF: the message box's text
        EXPECT_EQ(QuitSetup(c.mode), c.expected) << c.mode;
        const DialogDriver::Seen seen = driver.seen();
        EXPECT_EQ(seen.found, c.asks) << c.mode;
        if (c.asks) {
            EXPECT_EQ(seen.caption, "Quit setup");
            EXPECT_EQ(seen.texts.at(0xFFFF),
                      "Are you really sure to quit setup? The application will be deleted if you click on Yes");
        }
        WPARAM code = 0;
        const bool posted = takeQuitMessage(code);
        EXPECT_EQ(posted, c.quitCode >= 0) << c.mode;
        if (posted) {
            EXPECT_EQ(static_cast<int>(code), c.quitCode);
        }
    }
}

}  // namespace
}  // namespace quillset
