#include "plan_output.h"

#include "json_output.h"

namespace quillset {

namespace {

std::string number(long long value) { return std::to_string(value); }

std::string triple(const RgbTriple& rgb) {
    return "[" + number(rgb.red) + "," + number(rgb.green) + "," + number(rgb.blue) + "]";
}

// Joins records as the elements of a JSON array, one per line.
std::string array(const std::vector<std::string>& records) {
    if (records.empty()) return "[]";
    std::string out = "[\n";
    for (std::size_t i = 0; i < records.size(); ++i) out += "  " + records[i] + (i + 1 < records.size() ? ",\n" : "\n");
    return out + "]";
}

std::string stringArray(const std::vector<std::string>& texts) {
    std::string out = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) out += (i ? "," : "") + jsonString(texts[i]);
    return out + "]";
}

}  // namespace

const char* outcomeName(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::runCompleted: return "runCompleted";
        case RunOutcome::runEndedByPage: return "runEndedByPage";
        case RunOutcome::stopped: return "stopped";
    }
    return "";
}

std::string planJson(const SetupState& state, const RunResult& result, const std::vector<HostEvent>& events) {
    std::vector<std::string> variables;
    for (const auto& [name, value] : state.variables.entries())
        variables.push_back(jsonString(name) + ":" + jsonString(value));
    std::string variablesJson = "{";
    for (std::size_t i = 0; i < variables.size(); ++i) variablesJson += (i ? ",\n  " : "\n  ") + variables[i];
    variablesJson += variables.empty() ? "}" : "\n}";

    const Appearance& a = state.appearance;
    const std::string appearance =
        "{\"backgroundTop\":" + triple(a.backgroundTop) + ",\"backgroundBottom\":" + triple(a.backgroundBottom) +
        ",\"redrawWait\":" + number(a.redrawWait) + ",\"captionSize\":" + number(a.captionSize) +
        ",\"captionColor\":" + number(a.captionColor) + ",\"captionColor2\":" + number(a.captionColor2) +
        ",\"captionX\":" + number(a.captionX) + ",\"captionY\":" + number(a.captionY) +
        ",\"captionX2\":" + number(a.captionX2) + ",\"captionY2\":" + number(a.captionY2) + "}";

    std::vector<std::string> sections;
    for (const InstallSection& s : state.sections)
        sections.push_back("{\"name\":" + jsonString(s.name) + ",\"mustInstall\":" + number(s.mustInstall) +
                           ",\"description\":" + jsonString(s.description) + ",\"selected\":" + number(s.selected) + "}");

    std::vector<std::string> files;
    for (const InstallFileEntry& f : state.files)
        files.push_back("{\"sourcePath\":" + jsonString(f.sourcePath) + ",\"destinationPath\":" +
                        jsonString(f.destinationPath) + ",\"sectionName\":" + jsonString(f.sectionName) +
                        ",\"shared\":" + number(f.shared) + ",\"diskNumber\":" + number(f.diskNumber) +
                        ",\"splitPart\":" + number(f.splitPart) + ",\"lastPart\":" + number(f.lastPart) +
                        ",\"createShortcut\":" + number(f.createShortcut) +
                        ",\"shortcutName\":" + jsonString(f.shortcutName) + "}");

    std::vector<std::string> controls;
    for (const CustomControl& c : state.controls)
        controls.push_back("{\"pageName\":" + jsonString(c.pageName) + ",\"controlName\":" + jsonString(c.controlName) +
                           ",\"type\":" + jsonString(c.type) + ",\"text\":" + jsonString(c.text) +
                           ",\"left\":" + number(c.left) + ",\"top\":" + number(c.top) +
                           ",\"right\":" + number(c.right) + ",\"bottom\":" + number(c.bottom) + "}");

    std::vector<std::string> stored;
    for (const StoredStatement& s : state.storedStatements)
        stored.push_back("{\"command\":" + jsonString(s.command) + ",\"arguments\":" + stringArray(s.arguments) + "}");

    std::vector<std::string> eventRecords;
    for (const HostEvent& e : events) {
        switch (e.kind) {
            case HostEvent::Kind::page: {
                std::string record = "{\"page\":" + jsonString(e.page);
                if (!e.controls.empty()) {
                    std::vector<std::string> pageControls;
                    for (const PageControl& c : e.controls)
                        pageControls.push_back("{\"name\":" + jsonString(c.name) + ",\"type\":" + jsonString(c.type) +
                                               ",\"text\":" + jsonString(c.text) + ",\"rect\":[" + number(c.left) + "," +
                                               number(c.top) + "," + number(c.right) + "," + number(c.bottom) +
                                               "],\"checked\":" + (c.checked ? "true" : "false") + "}");
                    record += ",\"controls\":[";
                    for (std::size_t i = 0; i < pageControls.size(); ++i) record += (i ? "," : "") + pageControls[i];
                    record += "]";
                }
                eventRecords.push_back(record + "}");
                break;
            }
            case HostEvent::Kind::message:
                eventRecords.push_back("{\"message\":{\"text\":" + jsonString(e.text) +
                                       ",\"caption\":" + jsonString(e.caption) + "}}");
                break;
            case HostEvent::Kind::repaint: eventRecords.push_back("{\"repaint\":true}"); break;
        }
    }

    return "{\"outcome\":\"" + std::string(outcomeName(result.outcome)) + "\",\"exitCode\":" + number(result.exitCode) +
           ",\n\"variables\":" + variablesJson + ",\n\"appearance\":" + appearance + ",\n\"sections\":" + array(sections) +
           ",\n\"files\":" + array(files) + ",\n\"controls\":" + array(controls) +
           ",\n\"storedStatements\":" + array(stored) + ",\n\"events\":" + array(eventRecords) + "}\n";
}

}  // namespace quillset
