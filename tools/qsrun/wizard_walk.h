// Walking a running program's windows as a user would: each page of Setup.exe gets the answers
// file's choices and Next, each message box the answer the answers file names or its default
// button; everything shown is recorded with a screenshot. Every wait is bounded: a page that never
// comes, or a window nobody expects, ends the walk with a message naming what is on the screen.
#pragma once

#include <set>
#include <string>

#include "answers_file.h"
#include "run_report.h"
#include "robot.h"

namespace quillset::qsrun {

struct WalkOptions {
    std::string program;          // for the report: "Setup.exe", "QSUninstall.exe"
    const Answers* answers = nullptr;  // null: Next everywhere, default buttons
    std::string reportDirectory;  // screenshots go here (page-NN.png)
    unsigned long waitMs = 60000;  // the longest time without anything new on the screen
    std::set<int>* usedLines = nullptr;  // the answers file's lines that were applied
    // The page journal the program writes through qsrun's hook (page_journal.h), "" without one:
    // pages that came and went between two looks at the screen are reported from it.
    std::string journalPath;
    // Setup.exe must show a page; its uninstaller may show only message boxes.
    bool pageExpected = true;
};

// Walks the program the robot has started until it ends. Returns "" when it ended by itself after
// showing what it must (a page, or for the uninstaller any window), otherwise why the walk
// stopped or why the run does not count; the program may still be running then, and the caller
// ends it.
std::string walkProgram(robot::Robot& robot, const WalkOptions& options, RunReport& report);

// The answers that no page used (their lines are not in `used`): "LINE: what" each. A destination
// for a medium without destination page: the run did not do what was asked. Message lines are
// rules for boxes that may come, and are not listed.
std::vector<std::string> unusedAnswers(const Answers& answers, const std::set<int>& used);

}  // namespace quillset::qsrun
