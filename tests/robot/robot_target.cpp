// robot_target.exe: a small dialog program the robot's self-test drives. It has one of each kind
// of thing the robot must handle, and shows every reaction in a control the robot can read:
//   1001 edit (at most 20 characters)     1002 "Typed: ..." follows 1001 on every change
//   1003 check box "Colour": turns the colour panel from red to green and enables 1004
//   1004 button "Later", disabled at first: shows the hidden two-line static 1006
//   1012 check box "Ask": when it gets checked, a message box owned by the dialog says so
//   1013 "Dialog": opens "Robot dialog", owned by this one, whose 1014 says "Dialog N" (the Nth
//        opened); its OK enables this dialog at once but hides its own window only 250 ms later,
//        a long view of the moment every ending dialog has (EndDialog enables the owner first)
//   1005 "Cancel requests: N" counts IDCANCEL commands (Esc, close box), which never end the dialog
//   1010 "Arguments: ..." the command-line arguments, joined with |
//   1011 "Event: ..." the last event       1009 "Quit -5" ends the program with exit code -5
//   1017 "Next" (default button): asks "Confirm"/"Really?"; Yes ends with exit code 0. It is
//        Setup.exe's IDC_NEXT, so the self-test can name a control as the scenarios do.
//   two controls with ID 0, made with CreateWindowEx: a check box "Extra option" and an edit.
// The dialog sits at the top-left corner of the screen, 440 x 400 pixels, and the colour panel
// fills the lower part of its client area (from y = 215), so screen point (200, 300) lies in it.
#include <cstdlib>  // __argc, __argv
#include <string>
#include <vector>

#include <windows.h>

#include "resource_ids.h"

namespace {

enum : int {
    IdEdit = 1001,
    IdTyped = 1002,
    IdColour = 1003,
    IdLater = 1004,
    IdCancelCount = 1005,
    IdSecret = 1006,
    IdPanel = 1008,
    IdQuit = 1009,
    IdArguments = 1010,
    IdEvent = 1011,
    IdAsk = 1012,
    IdOpenDialog = 1013,
    IdDialogNumber = 1014,
    IdNext = IDC_NEXT,
};

const COLORREF red = RGB(200, 30, 30);
const COLORREF green = RGB(30, 160, 60);
int cancelRequests = 0;
int dialogsOpened = 0;
HWND extraOption = nullptr;

// Builds a dialog template in memory: the header, then each item aligned to 4 bytes. Strings
// are UTF-16; classes are the predefined atoms (0x80 button, 0x81 edit, 0x82 static).
class TemplateBuilder {
public:
    TemplateBuilder(const char* title, short width, short height) {
        DLGTEMPLATE header{};
        header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
        header.cx = width;
        header.cy = height;
        append(&header, sizeof header);
        appendWord(0);  // no menu
        appendWord(0);  // standard dialog class
        appendText(title);
        appendWord(8);  // font size in points, then its face
        appendText("Tahoma");
    }

    void add(WORD classAtom, int id, const char* text, DWORD style, short x, short y, short cx, short cy) {
        while (bytes_.size() % 4 != 0) bytes_.push_back(0);
        DLGITEMTEMPLATE item{};
        item.style = style | WS_CHILD;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = static_cast<WORD>(id);
        append(&item, sizeof item);
        appendWord(0xFFFF);
        appendWord(classAtom);
        appendText(text);
        appendWord(0);  // no creation data
        ++reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit;
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    void append(const void* data, std::size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    void appendWord(WORD word) { append(&word, sizeof word); }
    void appendText(const char* text) {
        for (const char* c = text; *c != '\0'; ++c) appendWord(static_cast<unsigned char>(*c));
        appendWord(0);
    }

    // Heap blocks are aligned more than the DWORD boundary the template must start on.
    std::vector<unsigned char> bytes_;
};

std::string textOf(HWND control) {
    char text[256] = "";
    GetWindowTextA(control, text, sizeof text);
    return text;
}

void showEvent(HWND dialog, const std::string& event) { SetDlgItemTextA(dialog, IdEvent, ("Event: " + event).c_str()); }

void onInit(HWND dialog) {
    SetWindowPos(dialog, nullptr, 0, 0, 440, 400, SWP_NOZORDER);
    RECT client;
    GetClientRect(dialog, &client);
    MoveWindow(GetDlgItem(dialog, IdPanel), 0, 215, client.right, client.bottom - 215, FALSE);

    SendDlgItemMessageA(dialog, IdEdit, EM_LIMITTEXT, 20, 0);
    SetDlgItemTextA(dialog, IdEdit, "start text");

    std::string arguments;
    for (int i = 1; i < __argc; ++i) arguments += (i > 1 ? "|" : "") + std::string(__argv[i]);
    SetDlgItemTextA(dialog, IdArguments, ("Arguments: " + arguments).c_str());

    // Controls without an ID, made after the template's, as a program adds its own at run time.
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    extraOption = CreateWindowExA(0, "BUTTON", "Extra option", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 148, 150,
                                  20, dialog, nullptr, instance, nullptr);
    HWND extraEdit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, 200, 148, 150, 22, dialog,
                                     nullptr, instance, nullptr);
    SendMessageA(extraOption, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(extraEdit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

INT_PTR CALLBACK ownedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    const UINT_PTR closingTimer = 1;
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextA(dialog, IdDialogNumber, ("Dialog " + std::to_string(++dialogsOpened)).c_str());
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                EnableWindow(GetWindow(dialog, GW_OWNER), TRUE);
                SetTimer(dialog, closingTimer, 250, nullptr);
            }
            return TRUE;
        case WM_TIMER:
            KillTimer(dialog, closingTimer);
            EndDialog(dialog, IDOK);
            return TRUE;
        default:
            return FALSE;
    }
}

void openOwnedDialog(HWND owner) {
    TemplateBuilder owned("Robot dialog", 120, 50);
    owned.add(0x82, IdDialogNumber, "", WS_VISIBLE, 5, 5, 110, 10);
    owned.add(0x80, IDOK, "OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 30, 30, 60, 14);
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), owned.get(), owner, ownedDialogProc, 0);
    showEvent(owner, "Dialog closed");
}

void onCommand(HWND dialog, int id, int code, HWND control) {
    switch (id) {
        case IdEdit:
            if (code == EN_CHANGE) SetDlgItemTextA(dialog, IdTyped, ("Typed: " + textOf(control)).c_str());
            break;
        case IdColour: {
            const bool checked = IsDlgButtonChecked(dialog, IdColour) == BST_CHECKED;
            EnableWindow(GetDlgItem(dialog, IdLater), checked);
            InvalidateRect(GetDlgItem(dialog, IdPanel), nullptr, TRUE);
            break;
        }
        case IdAsk:
            if (IsDlgButtonChecked(dialog, IdAsk) == BST_CHECKED) MessageBoxA(dialog, "Checked.", "Asked", MB_OK);
            break;
        case IdOpenDialog:
            openOwnedDialog(dialog);
            break;
        case IdLater:
            ShowWindow(GetDlgItem(dialog, IdSecret), SW_SHOW);
            showEvent(dialog, "Later clicked");
            break;
        case IDCANCEL:
            SetDlgItemTextA(dialog, IdCancelCount, ("Cancel requests: " + std::to_string(++cancelRequests)).c_str());
            break;
        case IdQuit:
            EndDialog(dialog, -5);
            break;
        case IdNext:
            // Without an owner window, as a program asks before quitting.
            if (MessageBoxA(nullptr, "Really?", "Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES) EndDialog(dialog, 0);
            else showEvent(dialog, "Next refused");
            break;
        case 0:
            if (control == extraOption) {
                showEvent(dialog, SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "Extra option checked"
                                                                                          : "Extra option unchecked");
            }
            break;
        default:
            break;
    }
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onInit(dialog);
            return TRUE;
        case WM_COMMAND:
            onCommand(dialog, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID != IdPanel) return FALSE;
            HBRUSH brush = CreateSolidBrush(IsDlgButtonChecked(dialog, IdColour) == BST_CHECKED ? green : red);
            FillRect(item->hDC, &item->rcItem, brush);
            DeleteObject(brush);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    TemplateBuilder dialog("Robot target", 260, 230);
    dialog.add(0x81, IdEdit, "", WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 5, 5, 120, 12);
    dialog.add(0x82, IdTyped, "", WS_VISIBLE, 130, 7, 125, 10);
    dialog.add(0x80, IdColour, "Colour", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 5, 22, 120, 10);
    dialog.add(0x80, IdLater, "Later", WS_VISIBLE | WS_DISABLED | WS_TABSTOP | BS_PUSHBUTTON, 130, 20, 60, 14);
    dialog.add(0x80, IdAsk, "Ask", WS_VISIBLE | BS_AUTOCHECKBOX, 200, 22, 55, 10);
    dialog.add(0x82, IdCancelCount, "Cancel requests: 0", WS_VISIBLE, 5, 38, 120, 10);
    dialog.add(0x82, IdSecret, "Say \"hi\"\nLine two", 0, 130, 38, 125, 20);
    dialog.add(0x82, IdArguments, "", WS_VISIBLE, 5, 50, 250, 10);
    dialog.add(0x82, IdEvent, "Event: none", WS_VISIBLE, 5, 60, 250, 10);
    dialog.add(0x80, IdQuit, "Quit -5", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 5, 100, 60, 14);
    dialog.add(0x80, IdOpenDialog, "Dialog", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 95, 100, 60, 14);
    dialog.add(0x80, IdNext, "Next", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 185, 100, 60, 14);
    dialog.add(0x82, IdPanel, "", WS_VISIBLE | SS_OWNERDRAW, 0, 0, 10, 10);
    return static_cast<int>(DialogBoxIndirectParamA(instance, dialog.get(), nullptr, dialogProc, 0));
}
