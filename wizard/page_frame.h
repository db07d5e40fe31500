// What every wizard page shares: the page-common handler, the page procedures' form and the way a
// page statement shows its dialog.
#pragma once

#include <windows.h>

#include "page_list.h"
#include "resource_ids.h"
#include "setup_host.h"
#include "setup_state.h"
#include "win32_session.h"

namespace quillset {

// Every page procedure hands each of its messages here, with the setup state and the windows it
// was handed. Records the current page and the page's font; makes the script's controls of the
// page when it opens and removes them when it closes, passes their notifications to their button
// actions; ends the page with PageResult::next on Next and, after a confirmed Cancel, with
// PageResult::cancelled.
void PageCommonProc(SetupState& state, Win32Session& windows, HWND page, UINT message, WPARAM wParam, LPARAM lParam,
                    Page pageId);

// The page procedures, one file each (the page table names them). They are dialog procedures
// with the setup state and the windows handed in: the page frame's dialog procedure for each page
// takes them from setupState() and win32Session() and calls them, so no page looks a global up
// itself.
using PageProcedure = INT_PTR (*)(SetupState& state, Win32Session& windows, HWND page, UINT message, WPARAM wParam,
                                  LPARAM lParam);
INT_PTR WelcomePageProc(SetupState& state, Win32Session& windows, HWND page, UINT message, WPARAM wParam,
                        LPARAM lParam);
INT_PTR DestinationPageProc(SetupState& state, Win32Session& windows, HWND page, UINT message, WPARAM wParam,
                            LPARAM lParam);
INT_PTR SectionsPageProc(SetupState& state, Win32Session& windows, HWND page, UINT message, WPARAM wParam,
                         LPARAM lParam);
INT_PTR ProgramGroupPageProc(SetupState& state, Win32Session& windows, HWND page, UINT message, WPARAM wParam,
                             LPARAM lParam);
INT_PTR CopyPageProc(SetupState& state, Win32Session& windows, HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog procedure of a page, which hands the page's procedure the program's setup state.
DLGPROC pageDialogProcedure(Page page);

// Shows a page modally over the main window and returns the dialog's result (PageResult): next,
// cancelled, installationStopped from the copy page, notShown when the dialog could not be created.
int ShowWizardPage(const Win32Session& windows, Page page);

}  // namespace quillset
