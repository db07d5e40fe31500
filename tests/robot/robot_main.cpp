// robot.exe SCENARIO: drives a Windows program through a scenario of user steps (see README.md).
// Prints one line per step; exit status 0 when every step held, 1 at the first step that did not
// (the started program is ended then), 2 when the scenario cannot be read.
#include <cstdio>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "robot.h"
#include "scenario_parser.h"

using quillset::robot::Robot;
using quillset::robot::Scenario;
using quillset::robot::Step;

namespace {

// Every line is flushed at once: when a test is stopped from outside, the log shows how far it got.
void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string secondsSince(DWORD started) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", static_cast<double>(GetTickCount() - started) / 1000.0);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    // Plain line feeds: the log is read by scripts and test runners, not only by consoles.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc != 2) {
        std::fputs("usage: robot SCENARIO\n", stderr);
        return 2;
    }
    // A hidden window of our own keeps Wine's virtual desktop up for the whole scenario. Without
    // it the desktop closes as soon as the program under test ends, and a program started right
    // after that (the uninstaller after Setup.exe) can meet the closing desktop and die of an X
    // error before it shows anything.
    CreateWindowExA(0, "STATIC", "robot", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    const std::string path = argv[1];
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    if (!file) {
        std::fprintf(stderr, "robot: cannot read %s\n", path.c_str());
        return 2;
    }
    const Scenario scenario = quillset::robot::parseScenario(content.str());
    if (!scenario.error.empty() || scenario.steps.empty()) {
        std::fprintf(stderr, "robot: %s: %s\n", path.c_str(),
                     scenario.error.empty() ? "no steps" : scenario.error.c_str());
        return 2;
    }

    const DWORD started = GetTickCount();
    Robot robot;
    for (const Step& step : scenario.steps) {
        std::vector<std::string> notes;
        const std::string failure = robot.run(step, notes);
        if (!failure.empty()) {
            say("FAIL " + step.source + ": " + failure);
            const bool wasRunning = robot.programRunning();
            const bool ended = robot.endProgram();
            say("robot: failed at line " + std::to_string(step.line) + " of " + path + " after " +
                secondsSince(started) +
                (!wasRunning ? "" : ended ? "; the program was ended" : "; the program could NOT be ended"));
            return 1;
        }
        say("ok   " + step.source);
        for (const std::string& note : notes) say("     " + note);
    }
    // A scenario says how its program ends; one that leaves it running would disturb the next.
    if (robot.programRunning()) {
        say(robot.endProgram() ? "FAIL end of scenario: the program still runs (ended now; finish with an exit step)"
                               : "FAIL end of scenario: the program still runs and could NOT be ended");
        return 1;
    }
    say("robot: " + std::to_string(scenario.steps.size()) + " steps passed in " + secondsSince(started));
    return 0;
}
