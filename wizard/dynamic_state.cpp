#include "dynamic_state.h"

#include <vector>

#include "next_state.h"
#include "resource_ids.h"
#include "setup_globals.h"

namespace quillset {

namespace {

ControlReading readControl(const CustomControl& control) {
    HWND window = static_cast<HWND>(control.window);
    ControlReading reading;
    reading.checkState = static_cast<int>(SendMessageA(window, BM_GETCHECK, 0, 0));
    char text[1024] = "";
    reading.text.assign(text, static_cast<std::size_t>(GetWindowTextA(window, text, sizeof text)));
    return reading;
}

}  // namespace

bool nextAllowed(const SetupState& state) {
    return nextEnabled(state.choices.destinationAccepted, state.session.currentPageName, state.storedStatements,
                       state.controls, readControl);
}

void applyNextState(const SetupState& state) {
    HWND next = GetDlgItem(static_cast<HWND>(state.session.pageWindow), IDC_NEXT);
    if (next == nullptr) return;  // no page, or the copy page
    const bool enabled = nextAllowed(state);
    // Next changes only when its state does, so it is drawn once per change and an idle page costs
    // nothing but the evaluation.
    if ((IsWindowEnabled(next) != FALSE) != enabled) EnableWindow(next, enabled ? TRUE : FALSE);
}

void CALLBACK DynamicStateTimerProc(HWND, UINT, UINT_PTR, DWORD) { applyNextState(setupState()); }

}  // namespace quillset
