#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_set>

#include "page_frame.h"
#include "quit_setup.h"
#include "section_list.h"
#include "source_sizes.h"
#include "win32_install_prompt.h"

namespace quillset {

namespace {

// The one open sections page: its list's rules and the list view's own window procedure, which
// SectionListProc stands in front of while the page is openSections.
struct OpenSectionsPage {
    SetupState* state = nullptr;
    HWND page = nullptr;
    HWND list = nullptr;
    WNDPROC listViewProc = nullptr;
    std::unique_ptr<SectionList> rows;
    std::unique_ptr<SourceSizeThread> sources;  // measures the plain files while the page is open
    bool applying = false;  // the page itself is changing row states
};
OpenSectionsPage openSections;

// Sent by the measuring thread when every plain file is measured.
constexpr UINT kSourcesMeasured = WM_APP + 1;

// Puts the rules' row states into the list view. Changes from anywhere else (the list view's own
// handling of double-clicks, right-clicks or typed letters) are refused, so the list always shows
// what will be installed.
void applyRows() {
    openSections.applying = true;
    const std::vector<SectionRow>& rows = openSections.rows->rows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = (rows[row].selected ? LVIS_SELECTED : 0u) | (rows[row].focused ? LVIS_FOCUSED : 0u);
        SendMessageA(openSections.list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
    openSections.applying = false;
}

// The details below the list: the description, and the must-install note or the install box.
void ShowSectionDetails(HWND page, int row) {
    const std::vector<InstallSection>& sections = openSections.state->sections;
    const bool known = row >= 0 && static_cast<std::size_t>(row) < sections.size();
    const InstallSection* section = known ? &sections[static_cast<std::size_t>(row)] : nullptr;
    SetDlgItemTextA(page, IDC_SECTION_DESCRIPTION, section != nullptr ? section->description.c_str() : "");
    const bool mustInstall = section != nullptr && section->mustInstall != 0;
    ShowWindow(GetDlgItem(page, IDC_SECTION_MUST_INSTALL), mustInstall ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(page, IDC_SECTION_INSTALL), section != nullptr && !mustInstall ? SW_SHOW : SW_HIDE);
    if (section != nullptr && !mustInstall)
        CheckDlgButton(page, IDC_SECTION_INSTALL, section->selected ? BST_CHECKED : BST_UNCHECKED);
}

// After an event of the rules: the rows, and the details of the row they name.
void showEvent(int detailsRow) {
    applyRows();
    if (detailsRow >= 0) ShowSectionDetails(openSections.page, detailsRow);
}

// The list's keys and clicks: the selection means "install", the focus "show the details", and
// the list view's own handling, which ties the two together, never sees them.
LRESULT CALLBACK SectionListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        switch (wParam) {
            case VK_LEFT: showEvent(openSections.rows->pressArrow(ArrowKey::left)); break;
            case VK_UP: showEvent(openSections.rows->pressArrow(ArrowKey::up)); break;
            case VK_RIGHT: showEvent(openSections.rows->pressArrow(ArrowKey::right)); break;
            case VK_DOWN: showEvent(openSections.rows->pressArrow(ArrowKey::down)); break;
            case VK_SPACE: showEvent(openSections.rows->pressSpace()); break;
            default: break;  // every other key does nothing here
        }
        return 0;
    }
    if (message == WM_LBUTTONDOWN) {
        SetFocus(list);
        LVHITTESTINFO hit{};
        hit.pt.x = static_cast<short>(LOWORD(lParam));
        hit.pt.y = static_cast<short>(HIWORD(lParam));
        const int row = static_cast<int>(SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        showEvent(openSections.rows->click(row));
        return 0;
    }
    return CallWindowProcA(openSections.listViewProc, list, message, wParam, lParam);
}

void addColumn(HWND list, int index, const char* title) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = 100;
    column.pszText = const_cast<char*>(title);
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void openPage(SetupState& state, HWND page) {
    openSections.state = &state;
    openSections.page = page;
    openSections.list = GetDlgItem(page, IDC_SECTION_LIST);
    openSections.listViewProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(openSections.list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SectionListProc)));
    SetFocus(openSections.list);
    addColumn(openSections.list, 0, "Section");
    addColumn(openSections.list, 1, "Size (Bytes)");

    // Every source is examined once per opening, the plain files on a thread of their own, so
    // that the page is there at once; their sizes appear when they are all measured.
    std::unordered_set<std::string> declared;
    for (const InstallSection& section : state.sections) declared.insert(section.name);
    std::vector<std::string> paths;
    for (const InstallFileEntry& entry : state.files)
        paths.push_back(!entry.splitPart && declared.count(entry.sectionName) != 0 ? entry.sourcePath : "");
    openSections.sources = std::make_unique<SourceSizeThread>(std::move(paths), page, kSourcesMeasured);

    openSections.applying = true;
    for (std::size_t row = 0; row < state.sections.size(); ++row) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = const_cast<char*>(state.sections[row].name.c_str());
        SendMessageA(openSections.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    openSections.rows = std::make_unique<SectionList>(state.sections);
    showEvent(0);
}

// The size column, once the plain files are measured: the split files are joined and measured
// now, here, where their disk prompts can be shown, and each section sums its files.
void showSizes(SetupState& state, const Win32Session& windows, HWND page) {
    const std::vector<std::uint32_t> plainSizes = openSections.sources->sizes();
    openSections.sources.reset();
    // While a disk prompt may be up, the page waits for its answer.
    const bool splitFiles = std::any_of(state.files.begin(), state.files.end(),
                                        [](const InstallFileEntry& entry) { return entry.splitPart; });
    if (splitFiles) EnableWindow(page, FALSE);
    Win32InstallPrompt prompt(windows.instance, windows.mainWindow, page);
    SourceSizes splitSizes(state, prompt);
    const std::vector<std::int32_t> sizes = sectionSizes(state.sections, state.files, [&](std::size_t entry) {
        return state.files[entry].splitPart ? splitSizes.FileEntryUncompressedSize(entry) : plainSizes[entry];
    });
    if (splitFiles) EnableWindow(page, TRUE);
    if (splitSizes.quitRequested()) QuitSetup(QuitMode::withoutAsking);
    for (std::size_t row = 0; row < sizes.size(); ++row) {
        const std::string size = std::to_string(sizes[row]);
        LVITEMA item{};
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(size.c_str());
        SendDlgItemMessageA(page, IDC_SECTION_LIST, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
}

void closePage() {
    SetWindowLongPtrA(openSections.list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(openSections.listViewProc));
    openSections = OpenSectionsPage{};
}

}  // namespace

// The sections with their sizes; the user chooses the optional ones.
INT_PTR SectionsPageProc(SetupState& state, Win32Session& windows, HWND page, UINT message, WPARAM wParam,
                         LPARAM lParam) {
    PageCommonProc(state, windows, page, message, wParam, lParam, Page::Sections);
    switch (message) {
        case WM_INITDIALOG: openPage(state, page); break;
        case WM_DESTROY: closePage(); break;
        case kSourcesMeasured:
            if (openSections.sources != nullptr) showSizes(state, windows, page);
            break;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_SECTION_INSTALL && openSections.rows != nullptr)
                showEvent(openSections.rows->setInstallBox(IsDlgButtonChecked(page, IDC_SECTION_INSTALL) == BST_CHECKED));
            break;
        case WM_NOTIFY: {
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if (change->hdr.idFrom == IDC_SECTION_LIST && change->hdr.code == LVN_ITEMCHANGING && !openSections.applying) {
                SetWindowLongPtrA(page, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            break;
        }
        default: break;
    }
    return FALSE;
}

}  // namespace quillset
