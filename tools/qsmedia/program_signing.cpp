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

}  // namespace

bool signPrograms(const SigningOptions& options, const fs::path& programs, const std::string& appName,
                  SignedPrograms& signedPrograms) {
    const struct {
        const std::string& file;
        const char* option;
    } named[] = {{options.certificate, "--sign"}, {options.key, "--key"}, {options.passwordFile, "--pass-file"}};
    for (const auto& n : named)
        if (!n.file.empty() && !readable(n.file)) return fail(n.file + " cannot be read (" + n.option + ")");

    const std::string program =
        options.osslsigncode.empty() ? findProgram(programFileName("osslsigncode")) : options.osslsigncode;
    if (program.empty())
        return fail("signing needs osslsigncode, and there is none on PATH: install it (Debian's package "
                    "osslsigncode) or name it with --osslsigncode");
    if (!signedPrograms.make("sign"))
        return fail("no private folder for the signed programs can be made in the temporary directory");

    // The password goes in a file, not on the command line, where other users could read it.
    std::vector<std::string> common{"sign"};
    if (options.key.empty()) common.insert(common.end(), {"-pkcs12", options.certificate});
    else common.insert(common.end(), {"-certs", options.certificate, "-key", options.key});
    if (!options.passwordFile.empty()) common.insert(common.end(), {"-readpass", options.passwordFile});
    common.insert(common.end(), {"-h", "sha256", "-n", cp1252ToUtf8(appName)});

    const fs::path output = signedPrograms.folder / "osslsigncode.out";
    for (const std::string name : {"Setup.exe", kUninstallerName}) {
        std::vector<std::string> arguments = common;
        arguments.insert(arguments.end(), {"-in", (programs / name).string(), "-out", (signedPrograms.folder / name).string()});
        const int status = runProgram(program, arguments, output.string());
        if (status < 0) return fail(program + " cannot be run (--osslsigncode names another)");
        if (status != 0)
            return fail(program + " cannot sign " + (programs / name).string() + " (exit status " +
                        std::to_string(status) + "); it says:\n" + readText(output));
        // An exit status alone is not trusted: Wine, for one, reports 0 for a Linux program it starts.
        std::error_code error;
        if (!fs::is_regular_file(signedPrograms.folder / name, error))
            return fail(program + " ends without an error but writes no signed " + name);
    }
    return true;
}

}  // namespace quillset
