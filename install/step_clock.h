// Where the copy phase's time goes: a clock around each of its steps, for measuring only. It is
// compiled in when the build is configured with -DQUILLSET_STEP_CLOCK=ON (off by default: then a
// StepClock is an empty object and reportStepClock does nothing, so shipped builds hold none of
// it). Such a Setup.exe adds up each step's time and calls over the run and, when the run ends,
// appends one line per step to the file the environment variable QS_STEP_CLOCK names:
//   STEP SECONDS CALLS
// bench/README.md ("Many small files") tells how the benchmark uses it.
#pragma once

namespace quillset {

enum class CopyStep {
    beforeFiles,          // the log begun, the program group made: the run before its first file
    file,                 // one file, whole: the steps below that lie inside it, and the rest
    sourceShortPath,      // the source's short path (the folder's, the name's from a listing)
    directories,          // the destination's folders made
    destinationLookedAt,  // whether a file is there to ask about
    installer,            // the platform's installer
    installedShortPath,   // the installed file's short path, for the log
    temporaryCopies,      // what the installer left behind removed
    logWrite,             // bytes written to the log (its header too, before the first file)
    progress,             // the page told of the file
    afterFiles,           // the Uninstall entry and the log's end
    count
};

#ifdef QUILLSET_STEP_CLOCK
class StepClock {
public:
    explicit StepClock(CopyStep step);
    ~StepClock();
    StepClock(const StepClock&) = delete;
    StepClock& operator=(const StepClock&) = delete;

private:
    CopyStep step_;
    long long started_;
};

void reportStepClock();
#else
class StepClock {
public:
    explicit StepClock(CopyStep) {}
    StepClock(const StepClock&) = delete;
    StepClock& operator=(const StepClock&) = delete;
};

inline void reportStepClock() {}
#endif

}  // namespace quillset
