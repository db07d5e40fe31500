#include "payload_archive.h"

#include <cstring>

namespace quillset {

namespace {

void appendLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9 open a device, with any extension.
bool deviceName(const std::string& component) {
    const std::size_t dot = component.find('.');
    std::string base = component.substr(0, dot);
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = upper(c);
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
           base[3] <= '9';
}

bool safeComponent(const std::string& component) {
    if (component.empty() || component == "." || component == "..") return false;
    if (component.back() == '.' || component.back() == ' ') return false;
    for (const char c : component)
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"/|?*", c) != nullptr) return false;
    return !deviceName(component);
}

}  // namespace

bool safeArchiveName(const std::string& name) {
    if (name.empty() || name.size() > kLongestArchiveName) return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find('\\', start);
        if (!safeComponent(name.substr(start, end == std::string::npos ? std::string::npos : end - start))) return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

std::string encodeArchiveEntry(const std::string& name, std::uint64_t size) {
    std::string out;
    appendLittleEndian(out, name.size(), 2);
    out += name;
    appendLittleEndian(out, size, 8);
    return out;
}

std::string encodeArchiveEnd() { return std::string(2, '\0'); }

// Opens the file whose bytes come next, or ends the archive after the last; false when the sink
// refuses the file.
bool ArchiveReader::nextFile(ArchiveSink& sink) {
    if (nextEntry_ == directory_.size()) {
        state_ = State::end;
        return true;
    }
    const std::size_t nameEnd = directory_.find('\0', nextEntry_);
    left_ = 0;
    for (int i = 8; i >= 1; --i) left_ = left_ << 8 | static_cast<std::uint8_t>(directory_[nameEnd + i]);
    const std::string name = directory_.substr(nextEntry_, nameEnd - nextEntry_);
    nextEntry_ = nameEnd + 9;
    state_ = State::data;
    return sink.beginFile(name, left_);
}

ArchiveReader::Status ArchiveReader::add(const std::uint8_t* data, std::size_t size, ArchiveSink& sink) {
    // Fills field_ with `want` bytes; true once it holds them all.
    const auto fill = [&](std::size_t want) {
        const std::size_t take = want - fieldFilled_ < size ? want - fieldFilled_ : size;
        std::memcpy(field_ + fieldFilled_, data, take);
        fieldFilled_ += take;
        data += take;
        size -= take;
        return fieldFilled_ == want;
    };
    // An empty file, or an empty archive, needs no byte to go on.
    while (size > 0 || (state_ == State::data && left_ == 0)) {
        switch (state_) {
            case State::nameLength:
                if (!fill(2)) return Status::more;
                fieldFilled_ = 0;
                nameLength_ = static_cast<std::size_t>(field_[0] | field_[1] << 8);
                if (nameLength_ == 0) {  // the directory is complete: the files' bytes follow
                    if (!nextFile(sink)) return Status::sinkFailed;
                    break;
                }
                if (nameLength_ > kLongestArchiveName) return Status::malformed;
                directoryBytes_ += 2 + nameLength_ + 8;
                if (directoryBytes_ > kLargestArchiveDirectory) return Status::malformed;
                name_.clear();
                state_ = State::name;
                break;
            case State::name: {
                const std::size_t take = nameLength_ - name_.size() < size ? nameLength_ - name_.size() : size;
                name_.append(reinterpret_cast<const char*>(data), take);
                data += take;
                size -= take;
                if (name_.size() < nameLength_) return Status::more;
                if (!safeArchiveName(name_)) return Status::malformed;
                state_ = State::fileSize;
                break;
            }
            case State::fileSize: {
                if (!fill(8)) return Status::more;
                fieldFilled_ = 0;
                directory_ += name_;
                directory_ += '\0';
                directory_.append(reinterpret_cast<const char*>(field_), 8);
                state_ = State::nameLength;
                break;
            }
            case State::data: {
                const std::size_t take = left_ < size ? static_cast<std::size_t>(left_) : size;
                if (take > 0 && !sink.writeFile(data, take)) return Status::sinkFailed;
                data += take;
                size -= take;
                left_ -= take;
                if (left_ > 0) return Status::more;
                if (!sink.endFile()) return Status::sinkFailed;
                if (!nextFile(sink)) return Status::sinkFailed;
                break;
            }
            case State::end:
                return Status::malformed;  // bytes after the end
        }
    }
    return state_ == State::end ? Status::finished : Status::more;
}

}  // namespace quillset
