// The archive a single-file installer packs: the medium's files one after the other, each as
//
//   name length (2 bytes)  1 to 259
//   name                   the path below the medium's folder, code page 1252, '\' between folders
//   size (8 bytes)         the file's length
//   data                   the file's bytes
//
// and a name length of 0 after the last. Numbers are little-endian. No dates, no attributes: the
// same files give the same archive. The reader takes the archive in pieces of any size, as the
// decoder hands it on, and refuses a name that could leave the folder it unpacks into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillset {

constexpr std::size_t kLongestArchiveName = 259;

// Whether `name` names a file below a folder and nothing else: components separated by single
// '\', none empty, "." or "..", none with a character Windows does not allow in a name (control
// characters, <>:"/|?*), a trailing dot or blank, or a device name (CON, NUL, COM1, LPT1 ...).
bool safeArchiveName(const std::string& name);

// The bytes before a file's data, and the end of the archive.
std::string encodeArchiveEntry(const std::string& name, std::uint64_t size);
std::string encodeArchiveEnd();

// Where the reader puts the files.
class ArchiveSink {
public:
    virtual ~ArchiveSink() = default;
    virtual bool beginFile(const std::string& name, std::uint64_t size) = 0;
    virtual bool writeFile(const std::uint8_t* data, std::size_t size) = 0;
    virtual bool endFile() = 0;
};

class ArchiveReader {
public:
    enum class Status {
        more,        // all taken; the archive goes on
        finished,    // the end of the archive was read (nothing may follow it)
        malformed,   // not an archive of ours, or an unsafe name
        sinkFailed,  // the sink refused (a file that cannot be written)
    };

    // Takes the next piece of the archive.
    Status add(const std::uint8_t* data, std::size_t size, ArchiveSink& sink);
    bool finished() const { return state_ == State::end; }

private:
    enum class State { nameLength, name, fileSize, data, end };
    State state_ = State::nameLength;
    std::uint8_t field_[8] = {};
    std::size_t fieldFilled_ = 0;
    std::size_t nameLength_ = 0;
    std::string name_;
    std::uint64_t left_ = 0;
};

}  // namespace quillset
