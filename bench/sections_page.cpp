// Times the opening of the sections page with many files: how long the user waits for the page,
// and until its size column is filled (every source is examined, on a thread of the page's own).
// Creates its own payload of N files of 1 KiB in ten sections in the TEMP directory, opens the
// page five times and prints the medians, beside the least the platform charges for the same
// answers: each source opened once, its first bytes read and its size asked, in a bare loop.
//
//   sections_page.exe [FILES]        (default 10000)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "page_frame.h"
#include "setup_globals.h"

using namespace quillset;

namespace {

constexpr int kSections = 10;
constexpr int kRuns = 5;

std::string payloadDirectory() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "qs-sections-bench";
}

bool writeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

// The size column's sum over all rows.
long long listedBytes(HWND page) {
    HWND list = GetDlgItem(page, IDC_SECTION_LIST);
    long long total = 0;
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        char text[32] = "";
        LVITEMA item{};
        item.iSubItem = 1;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        total += std::atoll(text);
    }
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    const int fileCount = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::string directory = payloadDirectory();
    CreateDirectoryA(directory.c_str(), nullptr);
    const std::string kibibyte(1024, 'x');

    SetupState& state = setupState();
    win32Session().instance = GetModuleHandleA(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    for (int section = 0; section < kSections; ++section)
        state.sections.push_back(InstallSection{"Section " + std::to_string(section), section % 2, "", false});
    for (int file = 0; file < fileCount; ++file) {
        InstallFileEntry entry;
        entry.sourcePath = directory + "\\file" + std::to_string(file) + ".dat";
        entry.destinationPath = "[DP]\\";
        entry.sectionName = "Section " + std::to_string(file % kSections);
        if (!writeFile(entry.sourcePath, kibibyte)) {
            std::fprintf(stderr, "cannot write %s\n", entry.sourcePath.c_str());
            return 1;
        }
        state.files.push_back(entry);
    }

    // The platform's least cost of the same answers: one opening of each source, its first bytes
    // read and its size asked, without the page. Timed in every round beside the page.
    const auto openEachSource = [&] {
        long long total = 0;
        for (const InstallFileEntry& entry : state.files) {
            HANDLE file = CreateFileA(entry.sourcePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE) continue;
            char head[8];
            DWORD got = 0;
            ReadFile(file, head, sizeof head, &got, nullptr);
            total += GetFileSize(file, nullptr);
            CloseHandle(file);
        }
        return total;
    };
    std::vector<double> opened, measured, floor;
    LARGE_INTEGER frequency, start, shown, filled;
    QueryPerformanceFrequency(&frequency);
    const auto milliseconds = [&](const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
        return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
    };
    int status = 0;
    for (int run = 0; run < kRuns && status == 0; ++run) {
        QueryPerformanceCounter(&start);
        HWND page = CreateDialogParamA(win32Session().instance, MAKEINTRESOURCEA(IDD_SECTIONS),
                                       nullptr, pageDialogProcedure(Page::Sections), 0);
        QueryPerformanceCounter(&shown);
        // The page's messages run until the size column holds every file's bytes (a minute at most).
        // The list is looked at whenever a message came and at least every 10 ms, so that the figure
        // never waits for a wake-up that did not come (a wait of a whole second here once made
        // every figure a whole number of seconds).
        const DWORD deadline = GetTickCount() + 60000;
        while (page != nullptr && listedBytes(page) != 1024LL * fileCount && GetTickCount() < deadline) {
            MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        }
        QueryPerformanceCounter(&filled);
        if (page == nullptr || listedBytes(page) != 1024LL * fileCount) {
            std::fprintf(stderr, "the page did not list the files' sizes\n");
            status = 1;
        }
        if (page != nullptr) DestroyWindow(page);
        LARGE_INTEGER loopStart, loopEnd;
        QueryPerformanceCounter(&loopStart);
        if (openEachSource() != 1024LL * fileCount) {
            std::fprintf(stderr, "the sources could not all be opened\n");
            status = 1;
        }
        QueryPerformanceCounter(&loopEnd);
        floor.push_back(milliseconds(loopStart, loopEnd));
        opened.push_back(milliseconds(start, shown));
        measured.push_back(milliseconds(start, filled));
    }
    std::vector<double> ratios;
    for (std::size_t run = 0; run < measured.size(); ++run) ratios.push_back(measured[run] / floor[run]);
    for (std::vector<double>* values : {&opened, &measured, &floor, &ratios}) std::sort(values->begin(), values->end());
    std::printf("sections page, %d files in %d sections (medians of %zu openings): open after %.1f ms, "
                "sizes shown after %.1f ms; each source opened once, alone: %.1f ms (sizes shown over it: %.2f)\n",
                fileCount, kSections, opened.size(), opened[opened.size() / 2], measured[measured.size() / 2],
                floor[floor.size() / 2], ratios[ratios.size() / 2]);

    for (const InstallFileEntry& entry : state.files) DeleteFileA(entry.sourcePath.c_str());
    RemoveDirectoryA(directory.c_str());
    return status;
}
