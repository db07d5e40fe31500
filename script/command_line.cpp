#include "command_line.h"

#include "process_names.h"

namespace quillset {

std::string quoteCommandLineArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count double only in front of a quote.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string withoutLeadingBlanks(const std::string& text, std::size_t from) {
    while (from < text.size() && isBlank(text[from])) ++from;
    return from < text.size() ? text.substr(from) : "";
}

bool endsWordWithExe(const std::string& text, std::size_t end) {
    if (end < 4 || (end < text.size() && !isBlank(text[end]))) return false;
    return lowerCaseAscii(text.substr(end - 4, 4)) == ".exe";
}

}  // namespace

ProgramCommand splitProgramCommand(const std::string& commandLine) {
    const std::string line = withoutLeadingBlanks(commandLine, 0);
    if (!line.empty() && line[0] == '"') {
        const std::size_t close = line.find('"', 1);
        if (close == std::string::npos) return {line.substr(1), ""};
        return {line.substr(1, close - 1), withoutLeadingBlanks(line, close + 1)};
    }
    std::size_t end = std::string::npos;
    for (std::size_t i = line.size(); i >= 4 && end == std::string::npos; --i)
        if (endsWordWithExe(line, i)) end = i;
    if (end == std::string::npos) {
        end = 0;
        while (end < line.size() && !isBlank(line[end])) ++end;
    }
    return {line.substr(0, end), withoutLeadingBlanks(line, end)};
}

}  // namespace quillset
