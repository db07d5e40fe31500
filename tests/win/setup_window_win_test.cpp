// The splash and main window classes and the quit question, against the real window manager.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "message_box_answerer.h"
#include "page_frame.h"
#include "setup_globals.h"
#include "setup_window.h"

namespace quillset {
namespace {

TEST(SetupWindowTest, BothClassesShareTheProcedureCursorAndMenuColouredBackground) {
    setupState().instance = GetModuleHandleA(nullptr);
    HWND splash = CreateSetupWindow(nullptr, kSplashClassName, nullptr, WS_POPUP | WS_BORDER | WS_SYSMENU, 0, 0, 400, 200);
    HWND main = CreateSetupWindow("Setup", kMainClassName, nullptr, WS_POPUP, 0, 0, 300, 200);
    ASSERT_NE(splash, nullptr);
    ASSERT_NE(main, nullptr);
    for (const char* className : {kSplashClassName, kMainClassName}) {
        WNDCLASSEXA info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), className, &info)) << className;
        EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW)) << className;
        EXPECT_EQ(info.lpfnWndProc, SetupWindowProc) << className;
        EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(5))) << className;
        EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW))) << className;
    }
    char title[32] = "";
    GetWindowTextA(main, title, sizeof title);
    EXPECT_STREQ(title, "Setup");
    DestroyWindow(splash);
    DestroyWindow(main);

    // Unregistering removes both classes (and ends COM, which nothing here started).
    CoInitialize(nullptr);
    UnregisterSetupClasses();
    WNDCLASSEXA gone{};
    gone.cbSize = sizeof gone;
    EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), kMainClassName, &gone));
    EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), kSplashClassName, &gone));
}

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
