#include "dynamic_state.h"

#include <vector>

#include "next_state.h"
#include "resource_ids.h"
#include "setup_globals.h"

namespace quillset {

namespace {

// A control whose page is not open has no window: it reads as unchecked and empty.
ControlReading readControl(const Win32Session& windows, std::size_t control) {
    HWND window = control < windows.controlWindows.size() ? windows.controlWindows[control] : nullptr;
    ControlReading reading;
    if (window == nullptr) return reading;
    reading.checkState = static_cast<int>(SendMessageA(window, BM_GETCHECK, 0, 0));
    char text[1024] = "";
    reading.text.assign(text, static_cast<std::size_t>(GetWindowTextA(window, text, sizeof text)));
    return reading;
}

}  // namespace

bool nextAllowed(const SetupState& state, const Win32Session& windows) {
    return nextEnabled(state.choices.destinationAccepted, state.session.currentPageName, state.storedStatements,
                       state.controls, [&windows](std::size_t control) { return readControl(windows, control); });
}

void applyNextState(const SetupState& state, const Win32Session& windows) {
    HWND next = GetDlgItem(windows.pageWindow, IDC_NEXT);
    if (next == nullptr) return;  // no page, or the copy page
    const bool enabled = nextAllowed(state, windows);
    // Next changes only when its state does, so it is drawn once per change and an idle page costs
    // nothing but the evaluation.
    if ((IsWindowEnabled(next) != FALSE) != enabled) EnableWindow(next, enabled ? TRUE : FALSE);
}

void CALLBACK DynamicStateTimerProc(HWND, UINT, UINT_PTR, DWORD) { applyNextState(setupState(), win32Session()); }

}  // namespace quillset
