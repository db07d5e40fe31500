// The steps that look into list views (row states and texts, clicks on rows) and the free-space
// check. A list view answers only with pointers into its own process, so the robot lends it
// memory there.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "robot.h"

#include <commctrl.h>

namespace quillset::robot {

namespace {

// How long a list view may take to answer one message.
constexpr UINT listTimeoutMs = 5000;

// Sends `message` with a copy of `data` placed in the program's memory as lParam, and copies the
// answer back into `data`. `extra` bytes follow the copy, for texts the control writes.
bool sendWithBuffer(HANDLE process, HWND window, UINT message, WPARAM wParam, void* data, std::size_t size,
                    std::size_t extra, std::string* text, LRESULT* result) {
    char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, size + extra, MEM_COMMIT, PAGE_READWRITE));
    if (remote == nullptr) return false;
    bool ok = true;
    if (text != nullptr) {  // the first pointer-sized member after the data points at the text space
        LVITEMA* item = static_cast<LVITEMA*>(data);
        item->pszText = remote + size;
        item->cchTextMax = static_cast<int>(extra);
    }
    DWORD_PTR answer = 0;
    ok = WriteProcessMemory(process, remote, data, size, nullptr) &&
         SendMessageTimeoutA(window, message, wParam, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                             listTimeoutMs, &answer) &&
         ReadProcessMemory(process, remote, data, size, nullptr);
    if (ok && text != nullptr) {
        std::string buffer(extra, '\0');
        ok = ReadProcessMemory(process, remote + size, &buffer[0], extra, nullptr);
        text->assign(buffer.c_str());
    }
    if (result != nullptr) *result = static_cast<LRESULT>(answer);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return ok;
}

std::string statesText(UINT state) {
    std::string text;
    if (state & LVIS_SELECTED) text = "selected";
    if (state & LVIS_FOCUSED) text += text.empty() ? "focused" : ",focused";
    return text.empty() ? "-" : text;
}

int rowCount(HWND list) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, listTimeoutMs, &count)) return -1;
    return static_cast<int>(count);
}

}  // namespace

HWND Robot::listControl(const ControlRef& ref, std::string& why) const {
    HWND list = findControl(current_, ref);
    if (list == nullptr) why = "no such control: " + quoteWord(ref.word);
    return list;
}

std::string Robot::waitForRow(const ControlRef& listRef, int row, const std::string& states,
                              const std::vector<std::string>& texts) {
    if (std::string missing = requireCurrentWindow(); !missing.empty()) return missing;
    std::string why;
    std::string seen;
    std::string wanted = states;
    for (const std::string& text : texts) wanted += " " + quoteWord(text);
    const bool held = waitUntil(timeoutMs_, [&] {
        HWND list = listControl(listRef, why);
        if (list == nullptr) return false;
        DWORD_PTR state = 0;
        if (!SendMessageTimeoutA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED | LVIS_FOCUSED,
                                 SMTO_ABORTIFHUNG, listTimeoutMs, &state))
            return false;
        seen = statesText(static_cast<UINT>(state));
        for (std::size_t column = 0; column < texts.size(); ++column) {
            LVITEMA item{};
            item.iSubItem = static_cast<int>(column);
            std::string text;
            if (!sendWithBuffer(process_.hProcess, list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), &item, sizeof item,
                                1024, &text, nullptr))
                return false;
            seen += " " + quoteWord(text);
        }
        return seen == wanted;
    });
    if (held) return "";
    return why.empty() ? "row " + std::to_string(row) + " is " + seen : why;
}

std::string Robot::waitForRowCount(const ControlRef& listRef, int wanted) {
    if (std::string missing = requireCurrentWindow(); !missing.empty()) return missing;
    std::string why;
    int count = -1;
    const bool held = waitUntil(timeoutMs_, [&] {
        HWND list = listControl(listRef, why);
        count = list != nullptr ? rowCount(list) : -1;
        return count == wanted;
    });
    return held ? "" : why.empty() ? "the list has " + std::to_string(count) + " rows" : why;
}

std::vector<std::string> Robot::rowTexts(HWND list) const {
    std::vector<std::string> texts;
    const int count = rowCount(list);
    for (int row = 0; row < count; ++row) {
        LVITEMA item{};
        std::string text;
        if (!sendWithBuffer(process_.hProcess, list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), &item, sizeof item, 1024,
                            &text, nullptr))
            return {};
        texts.push_back(text);
    }
    return texts;
}

std::vector<std::vector<std::string>> Robot::rowCells(HWND list) const {
    std::vector<std::vector<std::string>> rows;
    DWORD_PTR header = 0;
    DWORD_PTR columns = 0;
    if (!SendMessageTimeoutA(list, LVM_GETHEADER, 0, 0, SMTO_ABORTIFHUNG, listTimeoutMs, &header) || header == 0 ||
        !SendMessageTimeoutA(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, listTimeoutMs,
                             &columns))
        columns = 1;
    const int count = rowCount(list);
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < static_cast<int>(columns); ++column) {
            LVITEMA item{};
            item.iSubItem = column;
            std::string text;
            if (!sendWithBuffer(process_.hProcess, list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), &item, sizeof item,
                                1024, &text, nullptr))
                return {};
            cells.push_back(text);
        }
        rows.push_back(cells);
    }
    return rows;
}

// Posts a left click at the middle of a row's label, or below the rows (near the bottom of the
// list's client area), as the mouse would send it.
std::string Robot::clickRow(const ControlRef& listRef, std::optional<int> row) {
    if (std::string missing = requireCurrentWindow(); !missing.empty()) return missing;
    std::string why;
    HWND list = listControl(listRef, why);
    if (list == nullptr) return why;
    POINT point{};
    if (!row) {
        RECT client{};
        GetClientRect(list, &client);
        point = POINT{10, client.bottom - 4};
    } else {
        RECT bounds{};
        bounds.left = LVIR_LABEL;
        LRESULT found = 0;
        if (!sendWithBuffer(process_.hProcess, list, LVM_GETITEMRECT, static_cast<WPARAM>(*row), &bounds, sizeof bounds,
                            0, nullptr, &found) ||
            !found)
            return "row " + std::to_string(*row) + " is not in the list";
        point = POINT{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    }
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    return "";
}

// The control shows "N kb" with N the free kilobytes of ROOT as the robot measures them, within
// 1 % (other programs write meanwhile).
std::string Robot::waitForFreeSpace(const ControlRef& ref, const std::string& root) {
    if (std::string missing = requireCurrentWindow(); !missing.empty()) return missing;
    std::string shown;
    const bool held = waitUntil(timeoutMs_, [&] {
        HWND control = findControl(current_, ref);
        ULARGE_INTEGER available{};
        if (control == nullptr || !readText(control, shown) ||
            !GetDiskFreeSpaceExA(root.c_str(), &available, nullptr, nullptr))
            return false;
        unsigned long long kilobytes = 0;
        char unit[8] = "";
        if (std::sscanf(shown.c_str(), "%llu %7s", &kilobytes, unit) != 2 || std::strcmp(unit, "kb") != 0) return false;
        const double measured = static_cast<double>(available.QuadPart / 1024);
        return kilobytes > 0 && std::abs(static_cast<double>(kilobytes) - measured) <= measured / 100;
    });
    return held ? "" : "text is " + quoteWord(shown);
}

}  // namespace quillset::robot
