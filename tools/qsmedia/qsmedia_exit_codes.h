// qsmedia's exit statuses.
#pragma once

namespace quillset {

enum class QsmediaExitCode : int {
    ok = 0,      // the medium is laid out and passed its check; or --help, --version
    failed = 1,  // a description error, a file problem or a failed check (said on standard error)
    usage = 64,  // a wrong command line (as BSD's EX_USAGE)
};

constexpr int exitStatus(QsmediaExitCode code) { return static_cast<int>(code); }

}  // namespace quillset
