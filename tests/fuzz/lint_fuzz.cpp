// Whole scripts through `qscheck lint`, as a script author runs it with --sp: the reader's marks,
// every check, the dry run through the interpreter and both outputs. Its test runs with a time
// limit per input: lint must stay linear in the script's size, and the seeds hold scripts (a text
// with many references) that take seconds when it is not.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cp1252.h"
#include "lint.h"

using namespace quillset;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = toTextMode(std::string(reinterpret_cast<const char*>(data), size));
    LintOptions options;
    options.isNameCharacter = isCp1252AlphaNumeric;
    options.dryRun.setupDirectory = "D:\\Setup";
    options.checkFiles = true;
    // Patterns naming "missing" find nothing, the others a file, a folder and a name with '?'.
    options.findFiles = [](const std::string& pattern) {
        if (pattern.find("missing") != std::string::npos) return std::vector<FoundFile>{};
        return std::vector<FoundFile>{{"Demo.exe", false}, {"data", true}, {"?d?.txt", false}};
    };
    const std::vector<LintFinding> findings = lintScript(text, options);

    // Every finding lies in the text, in the order of the text, and is told at least once.
    std::size_t lines = 1;
    for (char c : text) lines += c == '\n';
    int lastLine = 1, lastColumn = 1;
    for (const LintFinding& finding : findings) {
        if (finding.line < lastLine || static_cast<std::size_t>(finding.line) > lines || finding.column < 1 ||
            finding.count < 1 || finding.message.empty() || finding.check.empty())
            std::abort();
        if (finding.line == lastLine && finding.column < lastColumn) std::abort();
        lastLine = finding.line;
        lastColumn = finding.column;
    }
    lintText("SetupScript.ini", findings);
    lintJson("SetupScript.ini", findings);
    return 0;
}
