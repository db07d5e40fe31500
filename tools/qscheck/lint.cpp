#include "lint.h"

#include "cp1252.h"
#include "json_output.h"
#include "lint_script.h"

namespace quillset {

std::vector<LintFinding> lintScript(const std::string& text, const LintOptions& options) {
    LintScript script(text, options.isNameCharacter);
    checkSyntax(script);
    checkCommands(script);
    checkReferences(script);
    checkFilesAndVariables(script, options);
    return script.takeFindings();
}

bool hasLintErrors(const std::vector<LintFinding>& findings) {
    for (const LintFinding& finding : findings)
        if (finding.severity == LintSeverity::error) return true;
    return false;
}

namespace {

const char* severityName(LintSeverity severity) { return severity == LintSeverity::error ? "error" : "warning"; }

std::string repetitions(const LintFinding& finding) {
    return finding.count > 1 ? " (" + std::to_string(finding.count) + " times in this statement)" : "";
}

}  // namespace

std::string lintText(const std::string& file, const std::vector<LintFinding>& findings) {
    std::string out;
    for (const LintFinding& f : findings)
        out += file + ":" + std::to_string(f.line) + ":" + std::to_string(f.column) + ": " + severityName(f.severity) +
               ": " + cp1252ToUtf8(f.message) + repetitions(f) + " [" + f.check + "]\n";
    return out;
}

std::string lintJson(const std::string& file, const std::vector<LintFinding>& findings) {
    std::string out = "[";
    for (const LintFinding& f : findings) {
        out += out.size() == 1 ? "" : ",";
        out += "{\"file\":" + jsonString(file) + ",\"line\":" + std::to_string(f.line) +
               ",\"column\":" + std::to_string(f.column) + ",\"severity\":\"" + severityName(f.severity) +
               "\",\"check\":\"" + f.check + "\",\"message\":" + jsonString(f.message) +
               ",\"count\":" + std::to_string(f.count) + "}";
    }
    return out + "]\n";
}

}  // namespace quillset
