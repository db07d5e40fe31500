#include "script_reader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>

namespace quillset {

namespace {

const char* const kOpenFailedCaption = "Fatal error";
const char* const kOpenFailedText =
    "Could not open 'SetupScript.INI' in setup directory. Setup cannot be continued.";

// The C runtime's text mode over bytes that arrive in pieces: CR LF becomes LF, a lone CR stays,
// and a Ctrl-Z (0x1A) byte ends the text. A CR at the end of a piece waits for the next one.
class TextModeDecoder {
public:
    // Converts `length` raw bytes at `from` and writes the text to `to`, which may be `from` itself
    // or lie before it (it never runs ahead of the reading). `to` needs room for one more byte than
    // `length`: the CR held back from the last piece. `last` says no more bytes follow. Returns
    // the number of text bytes written.
    std::size_t decode(const char* from, std::size_t length, char* to, bool last) {
        if (ended_) return 0;
        // Ctrl-Z marks the end of a text file for the C runtime's text mode; anything after it
        // (padding left by old editors and copy tools) is not part of the script.
        if (const void* stop = std::memchr(from, '\x1a', length)) {
            length = static_cast<std::size_t>(static_cast<const char*>(stop) - from);
            ended_ = last = true;
        }
        char* const start = to;
        if (heldCr_) {
            heldCr_ = false;
            if (length == 0 || from[0] != '\n') *to++ = '\r';  // a lone CR stays
        }
        // From CR to CR: the bytes between them move as one run.
        std::size_t i = 0;
        while (i < length) {
            const void* cr = std::memchr(from + i, '\r', length - i);
            const std::size_t end = cr == nullptr ? length : static_cast<std::size_t>(static_cast<const char*>(cr) - from);
            std::memmove(to, from + i, end - i);
            to += end - i;
            if (end == length) break;
            i = end + 1;
            if (i == length) {
                if (last) *to++ = '\r';
                else heldCr_ = true;
            } else if (from[i] != '\n') {
                *to++ = '\r';  // a lone CR stays; CR LF becomes the LF alone
            }
        }
        return static_cast<std::size_t>(to - start);
    }

    bool ended() const { return ended_; }

private:
    bool heldCr_ = false;
    bool ended_ = false;
};

// The statement under construction, with the argument texts of earlier statements kept for reuse:
// a tool that streams a large script then allocates nothing per statement once it is under way.
class StatementBuilder {
public:
    void start(unsigned char nameCharacter, int line) {
        started_ = true;
        statement_.command.assign(1, static_cast<char>(nameCharacter));
        statement_.line = line;
    }

    ScriptStatement& statement() { return statement_; }

    std::string& newArgument() {
        if (spare_.empty()) {
            statement_.arguments.emplace_back();
        } else {
            statement_.arguments.push_back(std::move(spare_.back()));
            spare_.pop_back();
            statement_.arguments.back().clear();
        }
        return statement_.arguments.back();
    }

    // Hands the statement over, if one was begun, and makes ready for the next one.
    void finish(const StatementSink& onStatement) {
        if (!started_) return;
        onStatement(statement_);
        started_ = false;
        statement_.command.clear();
        for (std::string& argument : statement_.arguments) spare_.push_back(std::move(argument));
        statement_.arguments.clear();
    }

private:
    ScriptStatement statement_;
    std::vector<std::string> spare_;
    bool started_ = false;
};

// The reader's state machine over text (in text-mode form) that may arrive in pieces. It takes
// one character at a time, except the text inside quotes, the rest of a comment line and the
// count of line ends, which it takes in runs (with memchr and count): quoted texts are most of a
// script's bytes.
class Tokenizer {
public:
    Tokenizer(const NameCharacterTest& isNameCharacter, StatementSink onStatement, const ReaderMarkSink* marks = nullptr)
        : onStatement_(std::move(onStatement)), marks_(marks) {
        // The name test asked once per byte value, not once per character of the script.
        for (int c = 0; c < 256; ++c) isName_[static_cast<std::size_t>(c)] = isNameCharacter(static_cast<unsigned char>(c));
    }

    // Reads `length` characters. Unless `last` is set, more text follows, and a character whose
    // meaning depends on the next one (a `/`, or a `"` inside quotes) ending the piece is left
    // unread. Returns how many characters were read; the caller hands the rest in again, first.
    std::size_t read(const char* data, std::size_t length, bool last) {
        // The character after the last one of the text reads as NUL.
        const auto at = [&](std::size_t i) -> unsigned char { return i < length ? static_cast<unsigned char>(data[i]) : 0; };
        const auto needsNext = [&](std::size_t i) { return i + 1 == length && !last; };
        linesCountedTo_ = 0;

        std::size_t i = 0;
        while (i < length) {
            if (inComment_) {
                // A comment runs to the line end, which is read between statements again.
                const void* lineEnd = std::memchr(data + i, '\n', length - i);
                if (lineEnd == nullptr) {
                    i = length;
                } else {
                    i = static_cast<std::size_t>(static_cast<const char*>(lineEnd) - data) + 1;
                    inComment_ = false;
                }
                continue;
            }

            if (!inName_ && !inArguments_) {  // between statements
                const unsigned char c = at(i);
                if (c == '/' && needsNext(i)) break;
                if (c == '/' && at(i + 1) == '/') {
                    inComment_ = true;
                    i += 2;
                    continue;
                }
                if (isName_[c]) {
                    builder_.finish(onStatement_);
                    builder_.start(c, lineAt(data, i));
                    mark(ReaderMark::commandStarted, i);
                    inName_ = true;
                }
                ++i;
                continue;
            }

            if (inQuote_) {
                // Everything up to the next quote belongs to the argument.
                const void* quote = std::memchr(data + i, '"', length - i);
                const std::size_t end =
                    quote == nullptr ? length : static_cast<std::size_t>(static_cast<const char*>(quote) - data);
                argument_->append(data + i, end - i);
                i = end;
                if (end == length || needsNext(end)) break;
                if (at(end + 1) == '"') {
                    argument_->push_back('"');  // a doubled quote yields one quote
                    i += 2;
                } else {
                    inQuote_ = false;
                    i += 1;
                }
                continue;
            }

            const unsigned char c = at(i++);
            if (c == '(') {
                mark(inArguments_ ? ReaderMark::ignored : ReaderMark::listOpened, i - 1);
                // The name flag stays as it is: after `)` a name character still extends the name.
                inArguments_ = true;
            } else if (!inArguments_) {
                if (isName_[c])
                    builder_.statement().command.push_back(static_cast<char>(c));
                else
                    inName_ = false;
            } else if (c == '"') {
                mark(ReaderMark::argumentOpened, i - 1);
                inQuote_ = true;
                argument_ = &builder_.newArgument();
            } else if (c == ')') {
                mark(ReaderMark::listClosed, i - 1);
                inArguments_ = false;
            } else {
                // Everything else inside the parentheses (commas, blanks, unquoted words) is ignored.
                mark(ReaderMark::ignored, i - 1);
            }
        }
        lineAt(data, i);
        readBefore_ += i;
        if (last) builder_.finish(onStatement_);
        return i;
    }

private:
    // The line of position `i`: 1 + the line ends before it, counted up to there.
    int lineAt(const char* data, std::size_t i) {
        line_ += static_cast<int>(std::count(data + linesCountedTo_, data + i, '\n'));
        linesCountedTo_ = i;
        return line_;
    }

    void mark(ReaderMark kind, std::size_t i) {
        if (marks_ != nullptr) (*marks_)(kind, readBefore_ + i);
    }

    StatementSink onStatement_;
    const ReaderMarkSink* marks_;  // null unless a tool asked where the parts lie
    std::size_t readBefore_ = 0;   // characters read in earlier pieces: offsets count from the text's start
    std::array<bool, 256> isName_{};
    bool inName_ = false, inArguments_ = false, inQuote_ = false, inComment_ = false;
    StatementBuilder builder_;
    std::string* argument_ = nullptr;  // the open argument while in quotes
    int line_ = 1;
    std::size_t linesCountedTo_ = 0;
};

}  // namespace

SetupScript::SetupScript(NameCharacterTest isNameCharacter, FatalMessageSink reportFatal)
    : isNameCharacter_(std::move(isNameCharacter)), reportFatal_(std::move(reportFatal)) {}

std::string toTextMode(const std::string& bytes) {
    std::string text(bytes.size() + 1, '\0');
    TextModeDecoder decoder;
    text.resize(decoder.decode(bytes.data(), bytes.size(), &text[0], true));
    return text;
}

// The file is read in pieces of a megabyte, decoded and tokenized piece by piece: a script of any
// size costs a megabyte of buffer beside its statements, and no byte is copied twice.
int SetupScript::readEach(const std::string& path, const StatementSink& onStatement) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        if (reportFatal_) reportFatal_(kOpenFailedCaption, kOpenFailedText);
        return -1;
    }
    const std::size_t piece = 1 << 20;
    // Laid out as: the characters the tokenizer left unread, a byte for a held-back CR, the piece.
    std::string buffer(piece + 16, '\0');
    TextModeDecoder decoder;
    Tokenizer tokenizer(isNameCharacter_, onStatement);
    std::size_t unread = 0;
    bool failed = false;
    for (bool last = false; !last;) {
        char* const raw = &buffer[unread + 1];
        const std::size_t got = std::fread(raw, 1, piece, file);
        // A directory opens on some C libraries but cannot be read: that is no script either.
        failed = std::ferror(file) != 0;
        last = got < piece || failed;
        const std::size_t decoded = decoder.decode(raw, got, &buffer[unread], last);
        last = last || decoder.ended();
        const std::size_t available = unread + decoded;
        const std::size_t taken = tokenizer.read(buffer.data(), available, last);
        unread = available - taken;
        std::memmove(&buffer[0], &buffer[taken], unread);
    }
    std::fclose(file);
    if (failed) {
        if (reportFatal_) reportFatal_(kOpenFailedCaption, kOpenFailedText);
        return -1;
    }
    return 0;
}

// Keeps a statement with exactly as many argument slots as it has arguments (the reader's own list
// grows by doubling): a script of 10,000 ten-argument statements would otherwise keep 60,000 empty.
void SetupScript::keep(ScriptStatement& statement) {
    std::vector<std::string> arguments(std::make_move_iterator(statement.arguments.begin()),
                                       std::make_move_iterator(statement.arguments.end()));
    statements_.push_back(ScriptStatement{std::move(statement.command), std::move(arguments), statement.line});
}

int SetupScript::read(const std::string& path) {
    const std::size_t before = statements_.size();
    const int result = readEach(path, [this](ScriptStatement& statement) { keep(statement); });
    // A file that fails part of the way adds nothing, like one that cannot be opened.
    if (result != 0) statements_.resize(before);
    return result;
}

void SetupScript::tokenize(const std::string& text) { tokenize(text, nullptr); }

void SetupScript::tokenize(const std::string& text, const ReaderMarkSink& marks) {
    Tokenizer tokenizer(isNameCharacter_, [this](ScriptStatement& statement) { keep(statement); }, marks ? &marks : nullptr);
    tokenizer.read(text.data(), text.size(), true);
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

std::string statementText(const std::string& command, const std::vector<std::string>& arguments) {
    std::string text = command + "(";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        text += i == 0 ? "\"" : ",\"";
        for (char c : arguments[i]) text += c == '"' ? "\"\"" : std::string(1, c);
        text += '"';
    }
    return text + ");\n";
}

}  // namespace quillset
