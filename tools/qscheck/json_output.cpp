#include "json_output.h"

#include <array>
#include <cstdio>

#include "cp1252.h"

namespace quillset {

namespace {

// What each code page 1252 byte becomes inside a JSON string, worked out once: most bytes of a
// script stand for themselves, and a large script is printed one table look-up per byte.
struct JsonByteTable {
    std::array<std::string, 256> text;
    std::array<bool, 256> plain{};  // the byte stands for itself

    JsonByteTable() {
        for (int byte = 0; byte < 256; ++byte) {
            const unsigned code = cp1252ToUnicode(static_cast<unsigned char>(byte));
            std::string& out = text[static_cast<std::size_t>(byte)];
            switch (code) {
                case '"': out = "\\\""; continue;
                case '\\': out = "\\\\"; continue;
                case '\n': out = "\\n"; continue;
                case '\r': out = "\\r"; continue;
                case '\t': out = "\\t"; continue;
                default: break;
            }
            if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
                out = escaped;
            } else {
                out = cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
            }
            plain[static_cast<std::size_t>(byte)] = out.size() == 1;
        }
    }
};

const JsonByteTable& jsonBytes() {
    static const JsonByteTable table;
    return table;
}

}  // namespace

void appendJsonString(std::string& out, const std::string& cp1252Text) {
    const JsonByteTable& table = jsonBytes();
    out += '"';
    // Runs of bytes that stand for themselves are appended whole.
    const auto* const begin = reinterpret_cast<const unsigned char*>(cp1252Text.data());
    const auto* const end = begin + cp1252Text.size();
    const unsigned char* run = begin;
    for (const unsigned char* p = begin; p != end; ++p) {
        if (table.plain[*p]) continue;
        out.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
        out += table.text[*p];
        run = p + 1;
    }
    out.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(end - run));
    out += '"';
}

std::string jsonString(const std::string& cp1252Text) {
    std::string out;
    appendJsonString(out, cp1252Text);
    return out;
}

void appendStatementJson(std::string& out, const ScriptStatement& statement) {
    out += "{\"line\":";
    out += std::to_string(statement.line);
    out += ",\"command\":";
    appendJsonString(out, statement.command);
    out += ",\"arguments\":[";
    for (std::size_t i = 0; i < statement.arguments.size(); ++i) {
        if (i > 0) out += ',';
        appendJsonString(out, statement.arguments[i]);
    }
    out += "]}";
}

std::string statementJson(const ScriptStatement& statement) {
    std::string out;
    appendStatementJson(out, statement);
    return out;
}

}  // namespace quillset
