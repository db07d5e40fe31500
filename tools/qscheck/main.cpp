// qscheck — the script inspector for setup script authors.
//
//   qscheck statements FILE   every statement the setup program reads from FILE, one JSON object
//                             per line: {"line":L,"command":"NAME","arguments":["A1",...]}
//
// Exit status: 0 on success, 1 when FILE cannot be read, 64 for a wrong command line.
#include <cstdio>
#include <string>

#include "json_output.h"
#include "platform.h"
#include "script_reader.h"

namespace {

int usage() {
    std::fputs("usage: qscheck statements FILE\n", stderr);
    return 64;
}

int printStatements(const std::string& path) {
    quillset::SetupScript script(quillset::platformNameCharacterTest(),
                                 [](const std::string&, const std::string& text) {
                                     std::fprintf(stderr, "%s\n", text.c_str());
                                 });
    if (script.read(path) != 0) return 1;
    quillset::useBinaryStandardOutput();
    for (const quillset::ScriptStatement& statement : script.statements()) {
        const std::string line = quillset::statementJson(statement) + "\n";
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "statements") return printStatements(argv[2]);
    return usage();
}
