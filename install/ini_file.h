// INI files as Windows 95/98 read Wininit.ini: "[section]" headers and key=value entries. Portable.
//
// The model holds one value per key, sections ordered by name as byte strings and, within a
// section, shorter keys before longer ones (keys of equal length as byte strings). A file written
// from scratch is saved in that order. A file that existed is saved with every line it had, byte
// for byte and in its order (duplicate keys, comments, other sections included): another
// program's pending entries must never be lost because we added one of ours.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace quillset {

// Shorter keys first; keys of equal length as byte strings.
struct ShorterKeyFirst {
    bool operator()(const std::string& a, const std::string& b) const {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }
};

class IniSection {
public:
    virtual ~IniSection() = default;
    std::map<std::string, std::string, ShorterKeyFirst> entries;
};

enum class IniLoadResult {
    loaded,
    noPath,      // the path was empty
    cannotRead,  // no such file, or it could not be read; the model is empty then
};

class IniFile {
public:
    virtual ~IniFile() = default;

    // Reads the file; unless it was read, the model is empty.
    IniLoadResult load(const std::string& path);
    // The same from bytes in memory (`load` ends here).
    void loadText(const std::string& bytes);

    // Sets key=value in the section, creating both as needed and replacing an earlier value.
    void setEntry(const std::string& section, const std::string& key, const std::string& value);

    // Adds key=value as a line of its own at the end of the section, keeping every earlier line with
    // the key: Wininit.ini's "NUL=" lines each delete a file of their own. (The model keeps the
    // last value, as a reader of single values sees it.)
    void addEntry(const std::string& section, const std::string& key, const std::string& value);

    const std::map<std::string, IniSection>& sections() const { return sections_; }

    // Writes the file (CR LF line ends for every line it adds); false when it could not be written.
    // `saveText` gives the bytes.
    bool save(const std::string& path) const;
    std::string saveText() const;

private:
    void putEntry(const std::string& section, const std::string& key, const std::string& value, bool replace);

    std::map<std::string, IniSection> sections_;
    // The lines of a loaded file with content, each with its own line end (the last one may have
    // none), changed by setEntry; saved instead of the model when loadedFromFile_ is set.
    std::vector<std::string> lines_;
    bool loadedFromFile_ = false;
};

}  // namespace quillset
