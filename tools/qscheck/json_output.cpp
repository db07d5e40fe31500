#include "json_output.h"

#include <cstdio>

#include "cp1252.h"

namespace quillset {

std::string jsonString(const std::string& cp1252Text) {
    std::string out = "\"";
    for (char ch : cp1252Text) {
        const unsigned code = cp1252ToUnicode(static_cast<unsigned char>(ch));
        switch (code) {
            case '"': out += "\\\""; continue;
            case '\\': out += "\\\\"; continue;
            case '\n': out += "\\n"; continue;
            case '\r': out += "\\r"; continue;
            case '\t': out += "\\t"; continue;
            default: break;
        }
        if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
            out += escaped;
        } else {
            out += cp1252ToUtf8(std::string(1, ch));
        }
    }
    out += '"';
    return out;
}

std::string statementJson(const ScriptStatement& statement) {
    std::string out = "{\"line\":" + std::to_string(statement.line) +
                      ",\"command\":" + jsonString(statement.command) + ",\"arguments\":[";
    for (std::size_t i = 0; i < statement.arguments.size(); ++i) {
        if (i > 0) out += ',';
        out += jsonString(statement.arguments[i]);
    }
    out += "]}";
    return out;
}

}  // namespace quillset
