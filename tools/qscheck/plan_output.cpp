#include "plan_output.h"

#include "json_output.h"

namespace quillset {

namespace {

std::string number(long long value) { return std::to_string(value); }

std::string triple(const RgbTriple& rgb) {
    return "[" + number(rgb.red) + "," + number(rgb.green) + "," + number(rgb.blue) + "]";
}

// Appends the records of a JSON array to the output as they are made, one per line: the output
// of 10,000 files is held once, not once per record list and again joined.
class ArrayWriter {
public:
    explicit ArrayWriter(std::string& out) : out_(out) {}
    ArrayWriter(const ArrayWriter&) = delete;
    ArrayWriter& operator=(const ArrayWriter&) = delete;
    ~ArrayWriter() { out_ += empty_ ? "[]" : "\n]"; }

    void add(const std::string& record) {
        out_ += empty_ ? "[\n  " : ",\n  ";
        empty_ = false;
        out_ += record;
    }

private:
    std::string& out_;
    bool empty_ = true;
};

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

    std::string out = "{\"outcome\":\"" + std::string(outcomeName(result.outcome)) +
                      "\",\"exitCode\":" + number(exitStatus(result.exitCode)) + ",\n\"variables\":" + variablesJson +
                      ",\n\"appearance\":" + appearance + ",\n\"sections\":";
    {
        ArrayWriter sections(out);
        for (const InstallSection& s : state.sections)
            sections.add("{\"name\":" + jsonString(s.name) + ",\"mustInstall\":" + number(s.mustInstall) +
                         ",\"description\":" + jsonString(s.description) + ",\"selected\":" + number(s.selected) + "}");
    }
    out += ",\n\"files\":";
    {
        ArrayWriter files(out);
        for (const InstallFileEntry& f : state.files)
            files.add("{\"sourcePath\":" + jsonString(f.sourcePath) + ",\"destinationPath\":" +
                      jsonString(f.destinationPath) + ",\"sectionName\":" + jsonString(f.sectionName) +
                      ",\"shared\":" + number(f.shared) + ",\"diskNumber\":" + number(f.diskNumber) +
                      ",\"splitPart\":" + number(f.splitPart) + ",\"lastPart\":" + number(f.lastPart) +
                      ",\"createShortcut\":" + number(f.createShortcut) +
                      ",\"shortcutName\":" + jsonString(f.shortcutName) + "}");
    }
    out += ",\n\"controls\":";
    {
        ArrayWriter controls(out);
        for (const CustomControl& c : state.controls)
            controls.add("{\"pageName\":" + jsonString(c.pageName) + ",\"controlName\":" + jsonString(c.controlName) +
                         ",\"type\":" + jsonString(c.type) + ",\"text\":" + jsonString(c.text) +
                         ",\"left\":" + number(c.left) + ",\"top\":" + number(c.top) +
                         ",\"right\":" + number(c.right) + ",\"bottom\":" + number(c.bottom) + "}");
    }
    out += ",\n\"storedStatements\":";
    {
        ArrayWriter stored(out);
        for (const StoredStatement& s : state.storedStatements)
            stored.add("{\"command\":" + jsonString(storedCommand(s)) + ",\"arguments\":" +
                       stringArray(storedArguments(s)) + "}");
    }
    out += ",\n\"events\":";
    {
        ArrayWriter eventRecords(out);
        for (const HostEvent& e : events) {
            switch (e.kind) {
                case HostEvent::Kind::page: {
                    std::string record = "{\"page\":" + jsonString(e.page);
                    if (!e.controls.empty()) {
                        record += ",\"controls\":[";
                        for (std::size_t i = 0; i < e.controls.size(); ++i) {
                            const PageControl& c = e.controls[i];
                            record += (i ? ",{\"name\":" : "{\"name\":") + jsonString(c.name) + ",\"type\":" +
                                      jsonString(c.type) + ",\"text\":" + jsonString(c.text) + ",\"rect\":[" +
                                      number(c.left) + "," + number(c.top) + "," + number(c.right) + "," +
                                      number(c.bottom) + "],\"checked\":" + (c.checked ? "true" : "false") + "}";
                        }
                        record += "]";
                    }
                    eventRecords.add(record + "}");
                    break;
                }
                case HostEvent::Kind::message:
                    eventRecords.add("{\"message\":{\"text\":" + jsonString(e.text) +
                                     ",\"caption\":" + jsonString(e.caption) + "}}");
                    break;
                case HostEvent::Kind::repaint: eventRecords.add("{\"repaint\":true}"); break;
            }
        }
    }
    out += "}\n";
    return out;
}

}  // namespace quillset
