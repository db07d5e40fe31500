// report.html: the run as a plain page a person looks through, each page's screenshot beside its
// texts and controls, then the tables of what was installed. No script, no style sheet of its own
// beyond a few rules, screenshots by their file names beside the report. Portable.
#pragma once

#include <string>

#include "run_report.h"

namespace quillset::qsrun {

std::string reportHtml(const RunReport& report);

// A code page 1252 text as HTML text: markup characters escaped, other characters beyond ASCII as
// character references, so the page needs no declared encoding to show them.
std::string htmlText(const std::string& cp1252Text);

}  // namespace quillset::qsrun
