#include "dynamic_state.h"

namespace quillset {

void CALLBACK DynamicStateTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    // NOT BUILT YET: the dynamic Next rules (destination accepted, SetNextDynamicState) come with
    // the dynamic states; until then the timer runs and changes nothing.
}

}  // namespace quillset
