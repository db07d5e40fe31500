#include "log_output.h"

#include "json_output.h"

namespace quillset {

std::string uninstallLogJson(const UninstallLogContents& log) {
    std::string out = "{\"date\":" + jsonString(log.date) + ",\"records\":[";
    for (std::size_t i = 0; i < log.records.size(); ++i) {
        const UninstallRecord& record = log.records[i];
        const char* kind = record.kind == UninstallRecord::Kind::shared     ? "shared"
                           : record.kind == UninstallRecord::Kind::shortcut ? "shortcut"
                                                                            : "nonshared";
        const char* registration = record.registration == UninstallRecord::Registration::autoRegister ? "\"AUTOREGSVR\""
                                   : record.registration == UninstallRecord::Registration::noAutoRegister
                                       ? "\"NOAUTOREGSVR\""
                                       : "null";
        out += std::string(i == 0 ? "" : ",") + "{\"line\":" + std::to_string(record.line) + ",\"kind\":\"" + kind +
               "\",\"path\":" + jsonString(record.path) + ",\"registration\":" + registration + "}";
    }
    return out + "],\"key\":" + jsonString(log.registryKey) + ",\"complete\":" + (log.complete ? "true" : "false") +
           "}\n";
}

}  // namespace quillset
