// The script's own controls on the built-in pages (AddWindow): made when their page opens, gone
// when it closes, and the messages their buttons show.
#pragma once

#include <windows.h>

#include "page_list.h"
#include "setup_state.h"

namespace quillset {

// Creates the controls of `pageId` in script order, with the page's font and the check state of
// CheckButton statements. A type that is no window class creates nothing.
void createPageControls(SetupState& state, HWND page, Page pageId);

// Destroys the controls of `pageId`.
void destroyPageControls(SetupState& state, Page pageId);

// A notification from a custom control: its ShowMessage "COMMAND" statements show their messages,
// in script order. Buttons, check boxes and options act on a click; an edit control when the user
// leaves it after changing its text (never per keystroke, never for a focus change alone, so a
// message box cannot start a loop of boxes); other controls on every notification.
void RunButtonActions(SetupState& state, HWND control, WORD notification);

}  // namespace quillset
