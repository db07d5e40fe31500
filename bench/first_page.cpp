// Times how long programs take from their start to their first window: Setup.exe on a few media
// to its first page, beside an empty program to its one dialog (empty_program.exe), under the same
// Wine, the cases of a round one after the other in an order that turns each round.
//
//   first_page_bench.exe ROUNDS CASE FOLDER PROGRAM TITLE [CASE FOLDER PROGRAM TITLE]...
//
// Each run starts PROGRAM in FOLDER and watches its top-level windows until a dialog (class
// #32770) titled TITLE is visible and painted, then ends the program. TITLE "-" waits for the
// program to end instead (a script that shows no page). The clock starts just before
// CreateProcessA. Printed per run and as medians per case (milliseconds; "-" for a window that
// never came):
//
//   CASE: first window W ms, main window M ms, page P ms, end E ms
//
// the first window of any kind (the splash of Setup.exe), Setup.exe's main window, the page, and
// for TITLE "-" the program's end. A first round, not counted, starts every program once. Exit
// status 1 when a run did not reach its page (or end) within a minute.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "window_queries.h"

namespace {

using namespace quillset;

constexpr char kMainWindowClass[] = "SETUPMAINCLASS_HALLO_WIE_GEHTS";
constexpr DWORD kRunLimit = 60000;  // milliseconds
constexpr double kNever = -1;

struct Case {
    std::string name, folder, program, title;
    std::vector<double> firstWindow, mainWindow, page, end;
};

struct Moments {
    double firstWindow = kNever, mainWindow = kNever, page = kNever, end = kNever;
};

LARGE_INTEGER frequency;

double millisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Look {
    DWORD processId;
    const std::string* pageTitle;
    bool anyWindow = false, mainWindow = false, page = false;
};

// What the program shows now: any visible window, its main window, the page painted.
BOOL CALLBACK lookAtWindow(HWND window, LPARAM lookParameter) {
    Look& look = *reinterpret_cast<Look*>(lookParameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != look.processId || !IsWindowVisible(window)) return TRUE;
    look.anyWindow = true;
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == kMainWindowClass) look.mainWindow = true;
    if (std::string(className) == "#32770") {
        char title[256] = "";
        GetWindowTextA(window, title, sizeof title);
        if (title == *look.pageTitle && !robot::waitsToBePainted(window)) look.page = true;
    }
    return TRUE;
}

// One run: the moments at which each thing was first seen. Looks every millisecond; a look costs
// a few calls to the window server, the same for every case.
bool runOnce(const Case& run, Moments& moments) {
    std::string commandLine = "\"" + run.program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, run.folder.c_str(), &startup,
                        &process)) {
        std::fprintf(stderr, "%s: cannot start %s in %s (error %lu)\n", run.name.c_str(), run.program.c_str(),
                     run.folder.c_str(), GetLastError());
        return false;
    }
    const bool waitForEnd = run.title == "-";
    bool reached = false;
    while (!reached) {
        const bool ended = WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0;
        const double now = millisecondsSince(start);
        Look look{process.dwProcessId, &run.title};
        if (!ended) EnumWindows(lookAtWindow, reinterpret_cast<LPARAM>(&look));
        if (look.anyWindow && moments.firstWindow == kNever) moments.firstWindow = now;
        if (look.mainWindow && moments.mainWindow == kNever) moments.mainWindow = now;
        if (look.page) moments.page = now;
        if (ended) moments.end = now;
        reached = waitForEnd ? ended : look.page;
        if (!reached && (ended || now > kRunLimit)) break;
    }
    if (!reached)
        std::fprintf(stderr, "%s: %s\n", run.name.c_str(),
                     waitForEnd ? "the program did not end within a minute"
                                : ("no painted window \"" + run.title + "\" (the program " +
                                   (moments.end == kNever ? "still runs)" : "ended)")).c_str());
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return reached;
}

std::string figure(double milliseconds) {
    if (milliseconds == kNever) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", milliseconds);
    return text;
}

double median(std::vector<double> values) {
    values.erase(std::remove(values.begin(), values.end(), kNever), values.end());
    if (values.empty()) return kNever;
    std::sort(values.begin(), values.end());
    const std::size_t half = values.size() / 2;
    return values.size() % 2 != 0 ? values[half] : (values[half - 1] + values[half]) / 2;
}

void print(const char* prefix, const std::string& name, const Moments& m) {
    std::printf("%s%s: first window %s ms, main window %s ms, page %s ms, end %s ms\n", prefix, name.c_str(),
                figure(m.firstWindow).c_str(), figure(m.mainWindow).c_str(), figure(m.page).c_str(),
                figure(m.end).c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6 || (argc - 2) % 4 != 0 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: first_page_bench.exe ROUNDS CASE FOLDER PROGRAM TITLE [CASE FOLDER PROGRAM TITLE]...\n");
        return 2;
    }
    QueryPerformanceFrequency(&frequency);
    const int rounds = std::atoi(argv[1]);
    std::vector<Case> cases;
    for (int i = 2; i + 3 < argc; i += 4) cases.push_back(Case{argv[i], argv[i + 1], argv[i + 2], argv[i + 3], {}, {}, {}, {}});

    for (int round = 0; round <= rounds; ++round) {
        for (std::size_t i = 0; i < cases.size(); ++i) {
            Case& run = cases[(i + static_cast<std::size_t>(round)) % cases.size()];
            Moments moments;
            if (!runOnce(run, moments)) return 1;
            if (round == 0) continue;  // every program once, to have its files in the caches
            run.firstWindow.push_back(moments.firstWindow);
            run.mainWindow.push_back(moments.mainWindow);
            run.page.push_back(moments.page);
            run.end.push_back(moments.end);
            print(("round " + std::to_string(round) + " ").c_str(), run.name, moments);
        }
    }
    std::printf("medians of %d rounds:\n", rounds);
    for (const Case& run : cases)
        print("median ", run.name,
              Moments{median(run.firstWindow), median(run.mainWindow), median(run.page), median(run.end)});
    return 0;
}
