// The archive a single-file installer packs: first its directory, every file's
//
//   name length (2 bytes)  1 to 259
//   name                   the path below the medium's folder, code page 1252, '\' between folders
//   size (8 bytes)         the file's length
//
// then a name length of 0, then the files' bytes one after the other in the directory's order.
// Numbers are little-endian. No dates, no attributes: the same files give the same archive. The
// names stand together because together they compress to a fraction of what they take between
// the files' bytes, and every name is checked before a byte is written. The reader takes the
// archive in pieces of any size, as the decoder hands it on, and refuses a name that could leave
// the folder it unpacks into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillset {

constexpr std::size_t kLongestArchiveName = 259;
// The reader holds the directory until the files' bytes come: it may take at most this much of
// the archive (some 200,000 files of usual names).
constexpr std::size_t kLargestArchiveDirectory = 8u << 20;

// Whether `name` names a file below a folder and nothing else: components separated by single
// '\', none empty, "." or "..", none with a character Windows does not allow in a name (control
// characters, <>:"/|?*), a trailing dot or blank, or a device name (CON, NUL, COM1, LPT1 ...).
bool safeArchiveName(const std::string& name);

// A file's entry in the directory, and the end of the directory.
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
    bool nextFile(ArchiveSink& sink);

    State state_ = State::nameLength;
    std::uint8_t field_[8] = {};
    std::size_t fieldFilled_ = 0;
    std::size_t nameLength_ = 0;
    std::string name_;
    // Each name read (safe names hold no NUL), a NUL, and its size in 8 bytes.
    std::string directory_;
    std::size_t directoryBytes_ = 0;  // of the archive, as it counts against the limit
    std::size_t nextEntry_ = 0;       // where in directory_ the next file's entry begins
    std::uint64_t left_ = 0;
};

}  // namespace quillset
