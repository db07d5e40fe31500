#include "step_clock.h"

#include <windows.h>

#include <cstdio>

namespace quillset {

namespace {

struct StepTotal {
    long long ticks = 0;
    long long calls = 0;
};

StepTotal totals[static_cast<int>(CopyStep::count)];

// In the order of CopyStep.
const char* const kStepNames[] = {"before-files", "file", "source-short-path", "directories", "destination-looked-at",
                                  "installer", "installed-short-path", "temporary-copies", "log-write", "progress",
                                  "after-files"};
static_assert(sizeof kStepNames / sizeof kStepNames[0] == static_cast<int>(CopyStep::count), "a name per step");

long long ticksNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

}  // namespace

StepClock::StepClock(CopyStep step) : step_(step), started_(ticksNow()) {}

StepClock::~StepClock() {
    StepTotal& total = totals[static_cast<int>(step_)];
    total.ticks += ticksNow() - started_;
    ++total.calls;
}

void reportStepClock() {
    char path[MAX_PATH] = "";
    if (GetEnvironmentVariableA("QS_STEP_CLOCK", path, sizeof path) == 0) return;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    FILE* out = std::fopen(path, "a");
    if (out == nullptr) return;
    for (int step = 0; step < static_cast<int>(CopyStep::count); ++step)
        std::fprintf(out, "%s %.6f %lld\n", kStepNames[step],
                     static_cast<double>(totals[step].ticks) / static_cast<double>(frequency.QuadPart),
                     totals[step].calls);
    std::fclose(out);
}

}  // namespace quillset
