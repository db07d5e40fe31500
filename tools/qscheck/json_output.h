// JSON text for qscheck's machine-readable output. Script texts are code page 1252; JSON is UTF-8.
#pragma once

#include <string>

#include "script_reader.h"

namespace quillset {

// A JSON string literal (with its quotes) for a code page 1252 text: converted to UTF-8, with
// `"`, `\`, LF, CR and tab escaped by their short forms and every other control character
// (below 0x20, DEL, and the C1 controls) as \u00xx.
std::string jsonString(const std::string& cp1252Text);
// The same, appended to `out`.
void appendJsonString(std::string& out, const std::string& cp1252Text);

// One statement as a single line of JSON without a line end:
// {"line":L,"command":"NAME","arguments":["A1","A2"]}
std::string statementJson(const ScriptStatement& statement);
// The same, appended to `out`.
void appendStatementJson(std::string& out, const ScriptStatement& statement);

}  // namespace quillset
