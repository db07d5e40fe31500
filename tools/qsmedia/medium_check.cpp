#include "medium_check.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "cp1252.h"
#include "platform.h"
#include "qscheck_exit_codes.h"
#include "setup_exit_codes.h"

namespace quillset {

namespace {

// The JSON string that starts after the quote at `i`.
std::string jsonText(const std::string& json, std::size_t i) {
    std::string out;
    for (; i < json.size() && json[i] != '"'; ++i) {
        if (json[i] != '\\' || i + 1 >= json.size()) {
            out += json[i];
            continue;
        }
        const char escaped = json[++i];
        if (escaped == 'u' && i + 4 < json.size()) {
            appendUtf8(out, static_cast<unsigned>(std::stoul(json.substr(i + 1, 4), nullptr, 16)));
            i += 4;
        } else {
            const std::string from = "bfnrt", to = "\b\f\n\r\t";
            const std::size_t k = from.find(escaped);
            out += k == std::string::npos ? escaped : to[k];
        }
    }
    return out;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs one qscheck verb; its output in `output`. -1 when it cannot be run.
int runQscheck(const MediumCheck& check, const std::vector<std::string>& arguments, std::string& output) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("qsmedia-" + std::to_string(std::random_device{}()) + ".out");
    const int status = runProgram(check.qscheck, arguments, file.string());
    output = readText(file.string());
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    return status;
}

}  // namespace

std::vector<std::string> declaredSources(const std::string& planJson) {
    std::vector<std::string> sources;
    const std::string key = "\"sourcePath\":\"";
    for (std::size_t at = planJson.find(key); at != std::string::npos; at = planJson.find(key, at + 1))
        sources.push_back(jsonText(planJson, at + key.size()));
    return sources;
}

bool checkMedium(const MediumCheck& check) {
    std::string output;
    const int planStatus = runQscheck(check, {"plan", check.script, "--sp", check.setupDirectory}, output);
    if (planStatus < 0) {
        std::fprintf(stderr, "qsmedia: error: %s cannot be run (--qscheck names another)\n", check.qscheck.c_str());
        return false;
    }
    bool ok = planStatus == exitStatus(SetupExitCode::normal);
    if (!ok) std::fprintf(stderr, "qsmedia: error: qscheck plan ends with exit code %d:\n%s", planStatus, output.c_str());

    // What the dry run declares (its JSON is UTF-8), against what was laid out (code page 1252).
    std::vector<std::string> declared, expected;
    for (const std::string& source : declaredSources(output)) {
        if (source.compare(0, check.setupDirectory.size(), check.setupDirectory) != 0) continue;
        std::string relative = source.substr(check.setupDirectory.size());
        std::replace(relative.begin(), relative.end(), '/', '\\');
        declared.push_back(relative);
    }
    for (const std::string& source : check.expectedSources) expected.push_back(cp1252ToUtf8(source));
    std::sort(declared.begin(), declared.end());
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> missing, extra;
    std::set_difference(expected.begin(), expected.end(), declared.begin(), declared.end(), std::back_inserter(missing));
    std::set_difference(declared.begin(), declared.end(), expected.begin(), expected.end(), std::back_inserter(extra));
    for (const std::string& path : missing)
        std::fprintf(stderr, "qsmedia: error: the script does not declare [SP]%s (qscheck plan)\n", path.c_str());
    for (const std::string& path : extra)
        std::fprintf(stderr, "qsmedia: error: the script declares [SP]%s twice or by mistake (qscheck plan)\n", path.c_str());
    ok = ok && missing.empty() && extra.empty();

    const int lintStatus = runQscheck(check, {"lint", check.script, "--sp", check.setupDirectory}, output);
    std::fputs(output.c_str(), stdout);
    if (lintStatus != exitStatus(QscheckExitCode::ok) && lintStatus != exitStatus(QscheckExitCode::failed))
        std::fprintf(stderr, "qsmedia: error: qscheck lint ends with exit code %d\n", lintStatus);
    return ok && lintStatus == exitStatus(QscheckExitCode::ok);
}

}  // namespace quillset
