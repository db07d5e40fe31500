// qscheck lint: finds, with its place in the script, what the setup program accepts silently or
// rejects only at run time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dry_run.h"
#include "script_reader.h"

namespace quillset {

enum class LintSeverity { warning, error };

struct LintFinding {
    int line = 0, column = 0;  // 1-based; a column counts characters (bytes) from the line's start
    LintSeverity severity = LintSeverity::warning;
    std::string check;         // the check's name, e.g. "unknown-command"
    std::string message;       // code page 1252, as the script's texts are
    int count = 1;             // how often the statement gives this warning; line and column are the first's
};

struct LintOptions {
    NameCharacterTest isNameCharacter;
    // The dry run that follows AddFile and computed variable names: the folders it assumes, and its
    // file search (setupDirectoryFinder over the platform's).
    DryRunSettings dryRun;
    RecordingHost::FileFinder findFiles;
    bool checkFiles = false;  // report AddFile patterns that match nothing in the setup directory
    // Reads part of a file the dry run found (its path as the dry run names it): what the file
    // checks look at, the header of a shared file. Files read as empty without it.
    std::function<std::string(const std::string& path, std::uint64_t offset, std::size_t length)> readFile;
};

// Every finding for a script's text (in text-mode form, as the reader reads it), by line and column.
std::vector<LintFinding> lintScript(const std::string& text, const LintOptions& options);

// Whether any finding is an error: something that stops the setup program.
bool hasLintErrors(const std::vector<LintFinding>& findings);

// The findings as a compiler prints them, one line each: "FILE:LINE:COLUMN: warning: TEXT [check]",
// the texts in UTF-8; a warning told more than once in its statement adds "(N times in this
// statement)" to its text.
std::string lintText(const std::string& file, const std::vector<LintFinding>& findings);

// The findings as a JSON array of {"file","line","column","severity","check","message","count"}
// objects.
std::string lintJson(const std::string& file, const std::vector<LintFinding>& findings);

}  // namespace quillset
