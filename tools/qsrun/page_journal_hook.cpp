// qsrun-pages.dll: loaded by the system into the program qsrun walks (a hook on its main thread,
// set before the thread first runs). Each time a dialog of that thread has finished
// WM_INITDIALOG, and again when it is destroyed, it appends a record of the dialog (title,
// controls with their texts, states and list rows) to the journal file named by the environment
// variable QSRUN_PAGE_JOURNAL (page_journal.h has the format). It runs inside the program under
// test, so it does as little as it can: no allocation beyond the record, no window of its own,
// one WriteFile per record, and nothing at all when the variable is not set.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "page_journal.h"

namespace {

using quillset::qsrun::escapeJournalText;

std::string textOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return "";
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, &text[0], length + 1)));
    return text;
}

std::string classNameOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool isTopLevelDialog(HWND window) {
    return (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) == 0 && lstrcmpiA(classNameOf(window).c_str(), "#32770") == 0;
}

void appendRows(HWND list, std::string& record) {
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int columns = header != nullptr ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    for (int row = 0; row < rows; ++row) {
        record += "ROW";
        for (int column = 0; column < (columns > 0 ? columns : 1); ++column) {
            char cell[512] = "";
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = cell;
            item.cchTextMax = sizeof cell;
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            record += "\t" + escapeJournalText(cell);
        }
        record += "\n";
    }
}

void writeRecord(HWND dialog, bool closing) {
    char path[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableA("QSRUN_PAGE_JOURNAL", path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    char handle[32];
    std::snprintf(handle, sizeof handle, "%llx", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(dialog)));
    std::string record = std::string("PAGE\t") + (closing ? "closed" : "opened") + "\t" + handle + "\t" +
                         escapeJournalText(textOf(dialog)) + "\n";
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string className = classNameOf(child);
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
        int checked = -1;
        const std::string kind = quillset::qsrun::controlKindOf(className, style);
        if (kind == "check box" || kind == "option button")
            checked = SendMessageA(child, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        char numbers[64];
        std::snprintf(numbers, sizeof numbers, "%d\t", GetDlgCtrlID(child));
        record += "CONTROL\t" + std::string(numbers) + escapeJournalText(className);
        std::snprintf(numbers, sizeof numbers, "\t%lx\t%d\t", static_cast<unsigned long>(style), checked);
        record += numbers + escapeJournalText(textOf(child)) + "\n";
        if (kind == "list") appendRows(child, record);
    }
    record += "END\n";
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

// WH_CALLWNDPROCRET: called after a window procedure of the hooked thread has returned.
extern "C" __declspec(dllexport) LRESULT CALLBACK pageJournalHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if ((call->message == WM_INITDIALOG || call->message == WM_DESTROY) && isTopLevelDialog(call->hwnd))
            writeRecord(call->hwnd, call->message == WM_DESTROY);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
