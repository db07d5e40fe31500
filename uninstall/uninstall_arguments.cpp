#include "uninstall_arguments.h"

#include "command_line.h"

namespace quillset {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool sameOption(const std::string& word, const char* option) {
    std::string lowered = word;
    for (char& c : lowered) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lowered == option;
}

}  // namespace

UninstallArguments parseUninstallArguments(const std::string& commandLine) {
    const std::string rest = splitProgramCommand(commandLine).arguments;
    UninstallArguments arguments;
    bool quiet = false;
    for (std::size_t start = 0; start < rest.size();) {
        if (isBlank(rest[start])) {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < rest.size() && !isBlank(rest[end])) ++end;
        const std::string word = rest.substr(start, end - start);
        start = end;
        if (sameOption(word, "/s")) {
            quiet = true;
        } else if (sameOption(word, "/?")) {
            if (arguments.mode != UninstallMode::wrongUsage) arguments.mode = UninstallMode::usage;
        } else if (arguments.mode != UninstallMode::wrongUsage) {
            arguments.mode = UninstallMode::wrongUsage;
            arguments.unknown = word;
        }
    }
    if (quiet && arguments.mode == UninstallMode::interactive) arguments.mode = UninstallMode::quiet;
    return arguments;
}

std::string uninstallUsage(const UninstallArguments& arguments) {
    std::string text;
    if (arguments.mode == UninstallMode::wrongUsage) text = "Unknown argument \"" + arguments.unknown + "\".\n\n";
    return text +
           "Usage: QSUninstall.exe [/S]\n\n"
           "Without arguments, it asks before it removes the application and reports what it did.\n"
           "/S removes the application quietly: no question, no window.\n\n"
           "Exit codes:\n"
           "0  removed\n"
           "3010  removed; files in use go when Windows restarts\n"
           "1  the user declined\n"
           "2  the uninstall log was refused: nothing removed\n"
           "3  something could not be removed\n"
           "1605  nothing to remove: no uninstall log\n"
           "64  wrong command line";
}

}  // namespace quillset
