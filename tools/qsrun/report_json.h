// report.json: one JSON document for a qsrun run (its schema is documented in docs/qsrun.md).
// UTF-8, the programs' code page 1252 texts converted. Portable.
#pragma once

#include <string>

#include "run_report.h"

namespace quillset::qsrun {

std::string reportJson(const RunReport& report);

}  // namespace quillset::qsrun
