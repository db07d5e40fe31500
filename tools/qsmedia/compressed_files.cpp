#include "compressed_files.h"

#include <fstream>
#include <iterator>
#include <set>

#include "cp1252.h"
#include "path_text.h"
#include "process_names.h"
#include "szdd_compressor.h"

namespace fs = std::filesystem;

namespace quillset {

namespace {

bool readFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

}  // namespace

fs::path compressedCopy(const fs::path& folder, std::size_t index) { return folder / std::to_string(index); }

bool compressMediumFiles(std::vector<MediumEntry>& entries, const std::function<fs::path(const MediumEntry&)>& sourceOf,
                         const fs::path& folder, std::vector<Problem>& problems) {
    // Names on the medium compare without case, as Windows compares them.
    std::set<std::string> taken;
    for (const MediumEntry& entry : entries) taken.insert(lowerCaseAscii(entry.mediumPath));
    for (std::size_t index = 0; index < entries.size(); ++index) {
        MediumEntry& entry = entries[index];
        // An empty file cannot get smaller; one beyond the format's size field cannot be stored.
        if (entry.shared || entry.size == 0 || entry.size > kSzddLargestFile) continue;
        const fs::path source = sourceOf(entry);
        std::vector<std::uint8_t> bytes;
        if (!readFile(source, bytes) || bytes.size() != entry.size) {
            problems.push_back({source.u8string(), true, "cannot be read, or changed while qsmedia ran"});
            return false;
        }
        const std::string folderPart = folderPrefixOf(entry.mediumPath);
        const SzddName name = szddCompressedName(fileNameOf(entry.mediumPath));
        const std::vector<std::uint8_t> compressed = compressSzdd(bytes, name.replacedCharacter);
        if (compressed.size() >= bytes.size()) continue;
        const std::string path = folderPart + name.name;
        if (lowerCaseAscii(path) != lowerCaseAscii(entry.mediumPath) && !taken.insert(lowerCaseAscii(path)).second) {
            problems.push_back({source.u8string(), false,
                                "stored uncompressed: another file of the medium is named " + cp1252ToUtf8(path)});
            continue;
        }
        std::ofstream out(compressedCopy(folder, index), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(compressed.data()), static_cast<std::streamsize>(compressed.size()));
        out.close();
        if (!out) {
            problems.push_back({compressedCopy(folder, index).u8string(), true, "cannot be written"});
            return false;
        }
        entry.compressedPath = path;
        entry.compressedSize = compressed.size();
    }
    return true;
}

}  // namespace quillset
