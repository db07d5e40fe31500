// The script's own controls on the built-in pages (AddWindow): made when their page opens, gone
// when it closes, and the messages their buttons show.
#pragma once

#include <windows.h>

#include "page_list.h"
#include "setup_state.h"
#include "win32_session.h"

namespace quillset {

// Creates the controls of `pageId` in script order, with the page's font and the check state of
// CheckButton statements, and keeps their windows in `windows`. A type that is no window class
// creates nothing.
void createPageControls(const SetupState& state, Win32Session& windows, HWND page, Page pageId);

// Destroys the controls of `pageId`.
void destroyPageControls(const SetupState& state, Win32Session& windows, Page pageId);

// A notification from a custom control: its ShowMessage "COMMAND" statements show their messages,
// in script order. Buttons, check boxes and options act on a click; an edit control when the user
// leaves it after changing its text (never per keystroke, never for a focus change alone, so a
// message box cannot start a loop of boxes); other controls on every notification.
void RunButtonActions(const SetupState& state, const Win32Session& windows, HWND control, WORD notification);

}  // namespace quillset
