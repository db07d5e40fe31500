// The quit question, against the real window manager.
#include <windows.h>

#include <gtest/gtest.h>

#include "message_box_answerer.h"
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
        MessageBoxAnswerer answerer(c.answer);
        EXPECT_EQ(QuitSetup(c.mode), c.expected) << c.mode;
        const auto seen = answerer.seen();
        if (c.asks) {
            ASSERT_EQ(seen.size(), 1u);
            EXPECT_EQ(seen[0].caption, "Quit setup");
            EXPECT_EQ(seen[0].text,
                      "Are you really sure to quit setup? The application will be deleted if you click on Yes");
        } else {
            EXPECT_TRUE(seen.empty());
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
