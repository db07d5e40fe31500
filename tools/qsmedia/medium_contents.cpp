#include "medium_contents.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <system_error>

#include "path_text.h"
#include "pe_header.h"
#include "process_names.h"

namespace fs = std::filesystem;

namespace quillset {

const char* const kUninstallerName = "QSUninstall.exe";

const std::string& storedPath(const MediumEntry& entry) {
    return entry.compressedPath.empty() ? entry.mediumPath : entry.compressedPath;
}

std::uint64_t storedSize(const MediumEntry& entry) {
    return entry.compressedPath.empty() ? entry.size : entry.compressedSize;
}

bool keepsBrackets(const std::string& text) {
    const std::size_t open = text.find('[');
    return open == std::string::npos || text.find(']', open) == std::string::npos;
}

FileBytesReader fileBytesReader(const fs::path& file) {
    return [file](std::uint64_t offset, std::size_t length) {
        std::ifstream in(file, std::ios::binary);
        std::string bytes(length, '\0');
        in.seekg(static_cast<std::streamoff>(offset));
        in.read(&bytes[0], static_cast<std::streamsize>(length));
        bytes.resize(in ? length : static_cast<std::size_t>(in.gcount()));
        return bytes;
    };
}

namespace {

class Collector {
public:
    Collector(const MediaDescription& d, const std::string& descriptionName, const std::string& tree,
              const PeHeader& setupProgram, std::vector<MediumEntry>& entries, std::vector<Problem>& problems)
        : d_(d), descriptionName_(descriptionName), tree_(tree), setupProgram_(setupProgram), entries_(entries),
          problems_(problems) {}

    void collect(std::uint64_t uninstallerSize) {
        for (const MediaSection& section : d_.sections)
            for (const SharedFile& shared : section.sharedFiles) sharedFiles_.insert(shared.file);
        const MediaSection* uninstallerSection = &d_.sections.front();
        for (const MediaSection& section : d_.sections)
            if (section.required) {
                uninstallerSection = &section;
                break;
            }
        for (const MediaSection& section : d_.sections) {
            // The uninstaller goes first: a run ended before its last file still leaves the
            // program that removes what its log records in the product's folder.
            if (&section == uninstallerSection) {
                MediumEntry uninstaller;
                uninstaller.mediumPath = kUninstallerName;
                uninstaller.size = uninstallerSize;
                uninstaller.section = section.name;
                entries_.push_back(uninstaller);
            }
            for (const SectionFolder& folder : section.folders) {
                std::error_code error;
                if (!fs::is_directory(fs::u8path(tree_ + "/" + folder.folder), error))
                    problem(section.line, true, "no folder " + folder.folder + " in " + tree_);
                else
                    walk(section, folder.folder, folder.destination);
            }
            for (const SharedFile& shared : section.sharedFiles) addFile(section, shared.file, "", true, shared.line);
        }
        attachShortcuts();
        checkIcon();
        checkDestinations();
    }

private:
    void problem(int line, bool error, const std::string& message) {
        problems_.push_back({descriptionName_ + (line > 0 ? ":" + std::to_string(line) : ""), error, message});
    }
    void treeProblem(const std::string& path, bool error, const std::string& message) {
        problems_.push_back({tree_ + "/" + path, error, message});
    }

    // The files of a folder, then its subfolders, each in name order. A folder's own files thus
    // follow each other on the medium and in the script, where one "*.*" pattern adds them all
    // (script_writer.cpp); the setup program makes every missing level of a file's folder, so the
    // order is not needed for that.
    void walk(const MediaSection& section, const std::string& folder, const std::string& destination) {
        std::vector<std::pair<std::string, bool>> children;  // name, is a folder
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::u8path(tree_ + "/" + folder), error)) {
            const std::string name = entry.path().filename().u8string();
            const bool isFolder = entry.is_directory(error) && !entry.is_symlink(error);
            if (!isFolder && !entry.is_regular_file(error)) {
                treeProblem(join(folder, name), false, "neither a file nor a folder: left out");
                continue;
            }
            children.emplace_back(name, isFolder);
        }
        if (error) treeProblem(folder, true, "cannot be read: " + error.message());
        std::sort(children.begin(), children.end(), [](const auto& a, const auto& b) {
            if (a.second != b.second) return !a.second;
            return lowerCaseAscii(a.first) < lowerCaseAscii(b.first) || (lowerCaseAscii(a.first) == lowerCaseAscii(b.first) && a.first < b.first);
        });
        for (const auto& [name, isFolder] : children) {
            const std::string path = join(folder, name);
            if (name[0] == '.') {
                treeProblem(path, false, "left out: the setup program passes over names that begin with '.'");
            } else if (isFolder) {
                std::string scriptName;
                if (nameUsable(path, name, scriptName))
                    walk(section, path, destination.empty() ? scriptName : destination + "\\" + scriptName);
            } else if (sharedFiles_.count(path) == 0) {
                addFile(section, path, destination, false, 0);
            }
        }
    }

    static std::string join(const std::string& folder, const std::string& name) {
        return folder.empty() ? name : folder + "/" + name;
    }

    bool nameUsable(const std::string& path, const std::string& name, std::string& scriptName) {
        if (!toCp1252(name, scriptName)) {
            treeProblem(path, true, "the name has a character that Windows' Western code page (1252) does not have");
            return false;
        }
        for (char c : scriptName)
            if (std::string("<>:\"|?*\\").find(c) != std::string::npos || static_cast<unsigned char>(c) < 0x20) {
                treeProblem(path, true, std::string("Windows does not allow '") + c + "' in a name");
                return false;
            }
        if (scriptName.back() == '.' || scriptName.back() == ' ') {
            treeProblem(path, true, "Windows drops a name's trailing dot or blank");
            return false;
        }
        return true;
    }

    void addFile(const MediaSection& section, const std::string& path, const std::string& destination, bool shared,
                 int line) {
        std::error_code error;
        const fs::path file = fs::u8path(tree_ + "/" + path);
        if (!fs::is_regular_file(file, error)) {
            problem(line, true, "no file " + path + " in " + tree_);
            return;
        }
        std::string mediumPath;
        std::string folder;
        std::size_t start = 0;
        for (std::size_t slash; start <= path.size(); start = slash + 1) {
            slash = std::min(path.find('/', start), path.size());
            std::string scriptName;
            if (!nameUsable(path, path.substr(start, slash - start), scriptName)) return;
            mediumPath += (mediumPath.empty() ? "" : "\\") + scriptName;
        }
        if (!keepsBrackets(mediumPath) || !keepsBrackets(destination)) {
            treeProblem(path, true, "the setup program would read [...] in this path as a variable");
            return;
        }
        for (const MediumEntry& entry : entries_)
            if (entry.treePath == path) {
                treeProblem(path, true, "in two sections: \"" + entry.section + "\" and \"" + section.name + "\"");
                return;
            }
        MediumEntry entry;
        entry.treePath = path;
        entry.mediumPath = mediumPath;
        entry.size = static_cast<std::uint64_t>(fs::file_size(file, error));
        entry.section = section.name;
        entry.destinationFolder = destination;
        entry.shared = shared;
        entries_.push_back(entry);
        if (shared) {
            const std::string machine = sharedFileMachineProblem(readPeHeader(fileBytesReader(file)), setupProgram_);
            if (!machine.empty())
                problem(line, false, "shared file " + path + " is " + machine +
                                         "; install it as an ordinary file instead: in a folder of its section, "
                                         "without 'shared ='");
        }
    }

    void attachShortcuts() {
        for (const MediaSection& section : d_.sections)
            for (const ShortcutRequest& shortcut : section.shortcuts) {
                auto entry = std::find_if(entries_.begin(), entries_.end(),
                                          [&](const MediumEntry& e) { return e.treePath == shortcut.file; });
                if (entry == entries_.end())
                    problem(shortcut.line, true, "no section installs " + shortcut.file);
                else if (!entry->shortcutName.empty())
                    problem(shortcut.line, true, shortcut.file + " has a shortcut already");
                else if (!keepsBrackets(shortcut.name) || shortcut.name.find_first_of("<>:\"/\\|?*") != std::string::npos)
                    problem(shortcut.line, true, "a shortcut's name becomes a file name: no <>:\"/\\|?* and no [...]");
                else
                    entry->shortcutName = shortcut.name;
            }
    }

    // The entry's icon must be a file the application's folder gets: a shared file goes where
    // Windows keeps shared files, which the icon's path cannot name.
    void checkIcon() {
        if (d_.icon.file.empty()) return;
        const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                        [&](const MediumEntry& e) { return e.treePath == d_.icon.file; });
        if (entry == entries_.end()) problem(d_.icon.line, true, "no section installs " + d_.icon.file);
        else if (entry->shared)
            problem(d_.icon.line, true, "the icon " + d_.icon.file + " is a shared file: name a file of the installation folder");
    }

    // Two files must not go to one place (letters compared ignoring their case). Shared files go
    // where Windows keeps them, not below the installation folder.
    void checkDestinations() {
        std::map<std::string, const MediumEntry*> destinations;
        for (const MediumEntry& entry : entries_) {
            if (entry.shared) continue;
            const std::string name = fileNameOf(entry.mediumPath);
            const std::string folder = lowerCaseAscii(entry.destinationFolder);
            const std::string where = folder.empty() ? name : folder + "\\" + name;
            const auto [other, added] = destinations.emplace(lowerCaseAscii(where), &entry);
            const std::string label = entry.treePath.empty() ? kUninstallerName : entry.treePath;
            if (!added)
                treeProblem(label, true, "installs to the same place as " + other->second->treePath + ": [DP]\\" + where);
        }
    }

    const MediaDescription& d_;
    const std::string& descriptionName_;
    const std::string& tree_;
    const PeHeader& setupProgram_;
    std::vector<MediumEntry>& entries_;
    std::vector<Problem>& problems_;
    std::set<std::string> sharedFiles_;
};

}  // namespace

bool collectMediumContents(const MediaDescription& description, const std::string& descriptionName,
                           const std::string& tree, std::uint64_t uninstallerSize, const PeHeader& setupProgram,
                           std::vector<MediumEntry>& entries, std::vector<Problem>& problems) {
    Collector(description, descriptionName, tree, setupProgram, entries, problems).collect(uninstallerSize);
    return std::none_of(problems.begin(), problems.end(), [](const Problem& p) { return p.error; });
}

}  // namespace quillset
