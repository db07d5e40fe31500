#include "program_signing.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "cp1252.h"
#include "medium_contents.h"
#include "platform.h"

namespace fs = std::filesystem;

namespace quillset {

namespace {

bool fail(const std::string& message) {
    std::fprintf(stderr, "qsmedia: error: %s\n", message.c_str());
    return false;
}

bool readable(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && std::ifstream(path, std::ios::binary).good();
}

// A file's text without its last line end.
std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string result = text.str();
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
    return result;
}

// The osslsigncode program and the arguments every signature takes; false after saying why.
bool prepareSigning(const SigningOptions& options, const std::string& appName, std::string& program,
                    std::vector<std::string>& common) {
    const struct {
        const std::string& file;
        const char* option;
    } named[] = {{options.certificate, "--sign"}, {options.key, "--key"}, {options.passwordFile, "--pass-file"}};
    for (const auto& n : named)
        if (!n.file.empty() && !readable(n.file)) return fail(n.file + " cannot be read (" + n.option + ")");

    program = options.osslsigncode.empty() ? findProgram(programFileName("osslsigncode")) : options.osslsigncode;
    if (program.empty())
        return fail("signing needs osslsigncode, and there is none on PATH: install it (Debian's package "
                    "osslsigncode) or name it with --osslsigncode");

    // The password goes in a file, not on the command line, where other users could read it.
    common = {"sign"};
    if (options.key.empty()) common.insert(common.end(), {"-pkcs12", options.certificate});
    else common.insert(common.end(), {"-certs", options.certificate, "-key", options.key});
    if (!options.passwordFile.empty()) common.insert(common.end(), {"-readpass", options.passwordFile});
    common.insert(common.end(), {"-h", "sha256", "-n", cp1252ToUtf8(appName)});
    return true;
}

// One program signed into a new file; osslsigncode's messages go to `messages`.
bool signOne(const std::string& program, const std::vector<std::string>& common, const fs::path& input,
             const fs::path& output, const fs::path& messages) {
    std::vector<std::string> arguments = common;
    arguments.insert(arguments.end(), {"-in", input.string(), "-out", output.string()});
    const int status = runProgram(program, arguments, messages.string());
    if (status < 0) return fail(program + " cannot be run (--osslsigncode names another)");
    if (status != 0)
        return fail(program + " cannot sign " + input.string() + " (exit status " + std::to_string(status) +
                    "); it says:\n" + readText(messages));
    // An exit status alone is not trusted: Wine, for one, reports 0 for a Linux program it starts.
    std::error_code error;
    if (!fs::is_regular_file(output, error))
        return fail(program + " ends without an error but writes no signed " + output.filename().string());
    return true;
}

}  // namespace

bool signPrograms(const SigningOptions& options, const fs::path& programs, const std::string& appName,
                  SignedPrograms& signedPrograms) {
    std::string program;
    std::vector<std::string> common;
    if (!prepareSigning(options, appName, program, common)) return false;
    if (!signedPrograms.make("sign"))
        return fail("no private folder for the signed programs can be made in the temporary directory");
    const fs::path messages = signedPrograms.folder / "osslsigncode.out";
    for (const std::string name : {"Setup.exe", kUninstallerName})
        if (!signOne(program, common, programs / name, signedPrograms.folder / name, messages)) return false;
    return true;
}

bool signProgram(const SigningOptions& options, const fs::path& input, const fs::path& output,
                 const std::string& appName, const fs::path& scratch) {
    std::string program;
    std::vector<std::string> common;
    return prepareSigning(options, appName, program, common) &&
           signOne(program, common, input, output, scratch / "osslsigncode.out");
}

}  // namespace quillset
