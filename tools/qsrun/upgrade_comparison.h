// What an installation over an earlier one did to the earlier one's files (qsrun --upgrade-from).
// Portable, so it is unit tested natively.
#pragma once

#include <vector>

#include "run_report.h"

namespace quillset::qsrun {

// `earlier` is the earlier medium's run as surveyed right after it; `earlierNow` holds the same
// files (in the same order) as found after the later run; `later` is the later run. A file is
// the same file under any of its path forms and in any case (the long form where known).
// Replaced: its bytes changed; kept: its bytes are the earlier medium's; removed: it is gone;
// added: the later log names it and the earlier did not.
UpgradeReport compareUpgrade(const RunReport& earlier, const std::vector<FileRecord>& earlierNow, const RunReport& later);

}  // namespace quillset::qsrun
