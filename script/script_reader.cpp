#include "script_reader.h"

#include <cstdio>
#include <utility>

namespace quillset {

namespace {
const char* const kOpenFailedCaption = "Fatal error";
const char* const kOpenFailedText =
    "Could not open 'SetupScript.INI' in setup directory. Setup cannot be continued.";
}  // namespace

SetupScript::SetupScript(NameCharacterTest isNameCharacter, FatalMessageSink reportFatal)
    : isNameCharacter_(std::move(isNameCharacter)), reportFatal_(std::move(reportFatal)) {}

std::string toTextMode(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        // Ctrl-Z marks the end of a text file for the C runtime's text mode; anything after it
        // (padding left by old editors and copy tools) is not part of the script.
        if (c == '\x1a') break;
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;  // CR LF -> LF
        text.push_back(c);
    }
    return text;
}

int SetupScript::read(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::string bytes;
    bool readFailed = file == nullptr;
    if (file != nullptr) {
        char chunk[16384];
        std::size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
        // A directory opens on some C libraries but cannot be read: that is no script either.
        readFailed = std::ferror(file) != 0;
        std::fclose(file);
    }
    if (readFailed) {
        if (reportFatal_) reportFatal_(kOpenFailedCaption, kOpenFailedText);
        return -1;
    }
    tokenize(toTextMode(bytes));
    return 0;
}

void SetupScript::tokenize(const std::string& text) {
    bool inName = false, inArguments = false, inQuote = false, inComment = false;
    const std::size_t length = text.size();
    int line = 1;

    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        // The character after the last one reads as NUL.
        const unsigned char next = i + 1 < length ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (i > 0 && text[i - 1] == '\n') ++line;

        if (inComment) {
            if (c == '\n') inComment = false;
            continue;
        }

        if (!inName && !inArguments) {  // between statements
            if (c == '/' && next == '/') {
                inComment = true;
            } else if (isNameCharacter_(c)) {
                statements_.push_back(ScriptStatement{std::string(1, static_cast<char>(c)), {}, line});
                inName = true;
            }
            continue;
        }

        ScriptStatement& statement = statements_.back();
        if (c == '(' && !inQuote) {
            // The name flag stays as it is: after `)` a name character still extends the name.
            inArguments = true;
        } else if (inQuote) {
            if (c == '"' && next != '"') {
                inQuote = false;
            } else {
                statement.arguments.back().push_back(static_cast<char>(c));
                if (c == '"') ++i;  // a doubled quote yields one quote
            }
        } else if (!inArguments) {
            if (isNameCharacter_(c))
                statement.command.push_back(static_cast<char>(c));
            else
                inName = false;
        } else if (c == '"') {
            inQuote = true;
            statement.arguments.emplace_back();
        } else if (c == ')') {
            inArguments = false;
        }
        // Everything else inside the parentheses (commas, blanks, unquoted words) is ignored.
    }
}

int SetupScript::statementCount() const { return static_cast<int>(statements_.size()); }

int SetupScript::getStatement(int index, std::string& command,
                              std::vector<std::string>& arguments) const {
    if (index < 0 || index >= statementCount()) return -1;
    const ScriptStatement& statement = statements_[static_cast<std::size_t>(index)];
    command = statement.command;
    arguments = statement.arguments;
    return 0;
}

}  // namespace quillset
