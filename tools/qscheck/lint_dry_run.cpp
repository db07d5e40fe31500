// The checks that need the script carried out: the interpreter runs it without a screen (pages
// answer Next, no process runs), so that AddFile searches the patterns Setup.exe would search and
// computed variable names get the values they would have.
#include <unordered_map>

#include "builtin_variables.h"
#include "interpreter.h"
#include "lint_script.h"
#include "path_text.h"
#include "pe_header.h"

namespace quillset {
namespace {

// Which arguments of a command have their [NAME] references replaced (AddFile's destination when
// the file is installed), and which variables the command sets, besides SetVariable's own.
struct VariableUse {
    const char* command;
    std::vector<std::size_t> substituted;
    std::vector<const char*> sets;
};

const std::vector<VariableUse>& variableUses() {
    static const std::vector<VariableUse> uses = {
        {"SetAppName", {0}, {"APPNAME", "PROGRAMGROUP", "DP"}},
        {"SetDeveloperName", {0}, {"DEVELOPERNAME"}},
        {"SetVariable", {0, 1}, {}},
        {"SetWelcomeString", {0, 1}, {"WELCOMESTRING", "WELCOMESTRING_CAP"}},
        {"SetWelcomeString2", {0}, {"WELCOMESTRING2"}},
        {"SetCaption", {0}, {"CAPTION"}},
        {"AddFile", {0, 1}, {}},
        {"ShowMessage", {0, 1}, {}},
        {"AddWindow", {3}, {}},
        {"ShowDest", {}, {"DP"}},                    // the user's destination
        {"ShowProgramGroup", {}, {"PROGRAMGROUP"}},  // the user's program group
    };
    return uses;
}

const VariableUse* variableUse(const std::string& command) {
    for (const VariableUse& use : variableUses())
        if (command == use.command) return &use;
    return nullptr;
}

struct Search {
    std::string pattern;      // as the interpreter asked for it, variables replaced
    std::size_t filesBefore;  // the file entries declared before it
};

// Whether a pattern lies on the medium, which the dry run's setup directory stands for: a relative
// pattern (one that a setup directory would go before) or one below the setup directory. Patterns
// elsewhere (C:\WINDOWS\...) name the target computer, which lint cannot see.
bool liesInSetupDirectory(const std::string& pattern, const std::string& setupDirectory) {
    const bool relative = patternInSetupDirectory("X", pattern) != pattern;
    return relative || pattern.compare(0, setupDirectory.size(), setupDirectory) == 0;
}

// The first file of files[from, to) whose name holds a '?': the native file search puts one for
// each character that code page 1252 lacks (Windows' own puts '?' or a look-alike letter, which
// qscheck.exe cannot tell from a real one), and no Windows file name has one of its own. Empty
// when there is none.
std::string nameWithoutCodePage(const std::vector<InstallFileEntry>& files, std::size_t from, std::size_t to) {
    for (std::size_t f = from; f < to; ++f) {
        const std::string& source = files[f].sourcePath;
        const std::string name = fileNameOf(source);
        if (name.find('?') != std::string::npos) return name;
    }
    return "";
}

// The PE header of a file the dry run names, read through options.readFile.
PeHeader peHeaderOf(const std::string& path, const LintOptions& options) {
    if (!options.readFile) return PeHeader{};
    return readPeHeader([&](std::uint64_t offset, std::size_t length) { return options.readFile(path, offset, length); });
}

// A 64-bit program among files[from, to), the files of one AddFile, where they have the shared
// flag: the 32-bit Setup.exe would put it where 64-bit Windows redirects it (pe_header.h).
void checkSharedPrograms(LintScript& script, std::size_t statement, const std::vector<InstallFileEntry>& files,
                         std::size_t from, std::size_t to, const PeHeader& setupProgram, const LintOptions& options) {
    for (std::size_t f = from; f < to; ++f) {
        if (!files[f].shared) continue;
        const std::string& source = files[f].sourcePath;
        // A relative source lies in the setup directory, which is Setup.exe's current directory.
        const std::string path = patternInSetupDirectory(options.dryRun.setupDirectory, source);
        const std::string problem = sharedFileMachineProblem(peHeaderOf(path, options), setupProgram);
        if (!problem.empty())
            script.warn(statement, script.argumentOffset(statement, 3), "shared-64-bit",
                        "the shared file " + quoted(fileNameOf(source)) + " is " + problem +
                            "; install it as an ordinary file (shared flag \"0\") into the application's folder");
    }
}

void checkFiles(LintScript& script, const std::vector<Search>& searches, const std::vector<InstallFileEntry>& files,
                const LintOptions& options) {
    const std::string& setupDirectory = options.dryRun.setupDirectory;
    // The Setup.exe of the medium, which decides where shared files go.
    const PeHeader setupProgram = peHeaderOf(patternInSetupDirectory(setupDirectory, "Setup.exe"), options);
    std::size_t k = 0;
    for (std::size_t s = 0; s < script.statements().size() && k < searches.size(); ++s) {
        if (!script.wellFormed(s) || script.statements()[s].command != "AddFile") continue;
        const std::size_t after = k + 1 < searches.size() ? searches[k + 1].filesBefore : files.size();
        const Search& search = searches[k++];
        if (!liesInSetupDirectory(search.pattern, setupDirectory)) continue;
        if (after == search.filesBefore)
            script.warn(s, script.argumentOffset(s, 0), "missing-files",
                        "no file matches " + quoted(patternInSetupDirectory(setupDirectory, search.pattern)));
        const std::string name = nameWithoutCodePage(files, search.filesBefore, after);
        if (!name.empty())
            script.warn(s, script.argumentOffset(s, 0), "file-name-code-page",
                        "the name of the file " + quoted(name) +
                            " has characters that code page 1252 lacks (shown as '?'): Setup.exe finds the "
                            "file but cannot copy it; rename it");
        checkSharedPrograms(script, s, files, search.filesBefore, after, setupProgram, options);
    }
}

void checkVariables(LintScript& script, const std::vector<std::string>& builtIn, VariableTable valuesAtEnd) {
    std::vector<std::string> set = builtIn;  // in the order a close match is looked for
    for (std::size_t s = 0; s < script.statements().size(); ++s) {
        const VariableUse* use = variableUse(script.statements()[s].command);
        if (use == nullptr || !script.wellFormed(s)) continue;
        set.insert(set.end(), use->sets.begin(), use->sets.end());
        if (use->sets.empty() && script.statements()[s].command == "SetVariable") {
            // A computed name ("[APPNAME]X") is taken with the values the run ended with.
            std::string name = script.statements()[s].arguments[0];
            valuesAtEnd.substituteVariables(name);
            set.push_back(name);
        }
    }
    NameSuggestions setNames(std::move(set));
    // The warning for each unset name, made once: a script may refer to one thousands of times.
    std::unordered_map<std::string, std::string> warnings;
    for (std::size_t s = 0; s < script.statements().size(); ++s) {
        const VariableUse* use = variableUse(script.statements()[s].command);
        if (use == nullptr || !script.wellFormed(s)) continue;
        for (std::size_t argument : use->substituted) {
            const std::string& text = script.statements()[s].arguments[argument];
            ArgumentOffsets offsets(script, s, argument);
            // References as the substitution finds them: from a '[' to the first ']' after it.
            for (std::size_t open = text.find('['); open != std::string::npos; open = text.find('[', open + 1)) {
                const std::size_t close = text.find(']', open);
                if (close == std::string::npos) break;
                std::string name = text.substr(open + 1, close - open - 1);
                if (!setNames.contains(name)) {
                    auto warning = warnings.find(name);
                    if (warning == warnings.end()) {
                        std::string message = "[" + name + "] names a variable that nothing sets: it is replaced by an "
                                              "empty text" + setNames.didYouMean(name);
                        warning = warnings.emplace(std::move(name), std::move(message)).first;
                    }
                    script.warn(s, offsets.at(open), "unset-variable", warning->second);
                }
                open = close;
            }
        }
    }
}

// The statements that Setup.exe carries out, written out again for the reader: a statement with a
// wrong argument count would stop the run, and lint reports it and goes on.
std::string wellFormedStatements(const LintScript& script) {
    std::string text;
    for (std::size_t s = 0; s < script.statements().size(); ++s)
        if (script.wellFormed(s)) text += statementText(script.statements()[s].command, script.statements()[s].arguments);
    return text;
}

}  // namespace

void checkFilesAndVariables(LintScript& script, const LintOptions& options) {
    SetupState state;
    setBuiltinVariables(state, options.dryRun);
    std::vector<std::string> builtIn;
    for (const auto& variable : state.variables.entries()) builtIn.push_back(variable.first);
    // The copy run reads these into the Uninstall entry; a script sets them, or the entry goes
    // without them, and a text may show them either way.
    for (const std::string& name : uninstallEntryVariables()) builtIn.push_back(name);

    std::vector<Search> searches;
    RecordingHost host([&](const std::string& pattern) {
        searches.push_back({pattern, state.files.size()});
        return options.findFiles ? options.findFiles(pattern) : std::vector<FoundFile>{};
    });
    SetupScript wellFormed(options.isNameCharacter, nullptr);
    wellFormed.tokenize(wellFormedStatements(script));
    runStatements(wellFormed, state, host);

    if (options.checkFiles) checkFiles(script, searches, state.files, options);
    checkVariables(script, builtIn, state.variables);
    checkCaptionWidth(script, state);
}

}  // namespace quillset
