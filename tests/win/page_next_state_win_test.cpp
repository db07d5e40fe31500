// A page opens with Next as the script's rules have it and refuses a Next they forbid, without
// waiting for the main window's timer: no timer runs in this program at all, so whatever Next
// shows and does here is the page's own doing.
#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "dialog_driver.h"
#include "page_frame.h"
#include "setup_globals.h"

namespace quillset {
namespace {

struct Case {
    const char* name;
    bool checkedByScript;      // a CheckButton for the licence box
    bool nextEnabledAtOpen;    // as the page first shows it
    bool firstNextEndsPage;    // a Next pressed at once, before anything is ticked
};

// What a second thread saw of the open page, as a user typing ahead would meet it.
struct Seen {
    bool found = false;
    bool nextEnabledAtOpen = false;
    bool openAfterFirstNext = false;
};

void prepareWelcomePage(bool checkedByScript) {
    SetupState& state = setupState();
    state = SetupState{};
    win32Session() = Win32Session{};
    win32Session().instance = GetModuleHandleA(nullptr);
    CustomControl licence;
    licence.type = "CHECKBOX";
    licence.controlName = "licence";
    licence.pageName = "DIALOG_WELCOME";
    licence.text = "I accept the licence";
    licence.left = 203;
    licence.top = 236;
    licence.right = 470;
    licence.bottom = 254;
    state.controls.push_back(licence);
    state.storedStatements.push_back(dynamicState({"DIALOG_WELCOME", "CONTROL", "licence", "VALUE", "1"}));
    if (checkedByScript) state.storedStatements.push_back(CheckedButton{"licence"});
}

class PageNextStateTest : public testing::TestWithParam<Case> {};

TEST_P(PageNextStateTest, OpensWithTheRulesStateAndRefusesAForbiddenNext) {
    const Case& c = GetParam();
    prepareWelcomePage(c.checkedByScript);
    Seen seen;
    std::thread user([&seen] {
        HWND page = nullptr;
        for (const DWORD start = GetTickCount(); page == nullptr && GetTickCount() - start < 30000; Sleep(20))
            page = DialogDriver::shownDialog();
        if (page == nullptr) return;
        seen.found = true;
        seen.nextEnabledAtOpen = IsWindowEnabled(GetDlgItem(page, IDC_NEXT)) != FALSE;
        // Sent, not posted: the page has handled it when the call returns.
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_NEXT, BN_CLICKED), 0);
        seen.openAfterFirstNext = IsWindowVisible(page) != FALSE;
        if (!seen.openAfterFirstNext) return;
        HWND licence = win32Session().controlWindows.front();
        SendMessageA(licence, BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_NEXT, BN_CLICKED), 0);
    });
    const int result = ShowWizardPage(win32Session(), Page::Welcome);
    user.join();

    ASSERT_TRUE(seen.found) << "the welcome page never appeared";
    EXPECT_EQ(seen.nextEnabledAtOpen, c.nextEnabledAtOpen);
    EXPECT_EQ(seen.openAfterFirstNext, !c.firstNextEndsPage);
    EXPECT_EQ(result, 0) << "the page ends with Next once the licence is accepted";
}

INSTANTIATE_TEST_SUITE_P(Licence, PageNextStateTest,
                         testing::Values(Case{"unchecked", false, false, false}, Case{"checkedByScript", true, true, true}),
                         [](const testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace quillset
