// The floor under Setup.exe's copy phase: the same files copied by bare loops, with nothing of ours
// around the platform's calls. The benchmark driver (run_benchmarks.sh) runs it beside Setup.exe.
//
//   copy_floor.exe MODE SOURCE_DIR DESTINATION_DIR
//
// The files are those directly in SOURCE_DIR and in its folders (one level, as a medium's AddFile
// statements name them); each goes to the same relative place under DESTINATION_DIR, whose folders
// are made as the loop reaches them. Only the loop is timed; the listing comes first, as Setup.exe
// lists its files while it reads the script. Prints one line: "MODE FILES BYTES SECONDS"; the mode
// shortnames adds the seconds of each of its three calls over the loop: "LOOKED_AT INSTALLER
// SHORT_NAME".
//
// Modes:
//   verinstall  VerInstallFileA with VIFF_FORCEINSTALL: the floor the design allows, since every
//               file goes through the platform's installer
//   shortnames  the same with the calls the design adds per file, as Setup.exe makes them: the
//               destination looked at first (an existing file is asked about), the installer handed
//               the source's short name from the folder's listing (Setup.exe keeps it from AddFile's
//               listing; its messages name the file so), and the installed file's short name looked
//               up by that name afterwards (Setup.exe's log records it); nothing else of Setup.exe's.
//               A short name that another entry of the folder answers to (Wine's hashed short names
//               repeat in large folders) opens the first file that has it: there the installer is
//               handed the long name and the log's look-up is by it, as Setup.exe ends up doing
//   copyfile    CopyFileA
//   lzsteps     the installer's steps, taken one by one: the source opened through the LZ library,
//               a temporary name in the destination folder, LZCopy into it, then the move to the
//               destination name (to see where the installer's time goes)
//   bigsteps    the same steps with the bytes copied in 1 MiB blocks and the source's times put on
//               the copy, for sources that are not LZ-compressed; a compressed one goes to the
//               installer itself. What a faster installer with the same results would do.
#include <windows.h>
#include <lzexpand.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct SourceFile {
    std::string folder;  // relative to the source directory, empty for its own files
    std::string name;
    std::string shortName;  // the listing's, empty where the name is short already or shares it
    unsigned long long bytes = 0;
};

std::string upper(std::string name) {
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

void listFolder(const std::string& root, const std::string& folder, bool descend, std::vector<SourceFile>& files) {
    const std::string directory = folder.empty() ? root : root + "\\" + folder;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return;
    std::vector<std::string> folders;
    const std::size_t first = files.size();
    std::map<std::string, int> answering;  // how many entries answer to a name, by its upper case
    do {
        ++answering[upper(data.cFileName)];
        if (data.cAlternateFileName[0] != '\0' && upper(data.cAlternateFileName) != upper(data.cFileName))
            ++answering[upper(data.cAlternateFileName)];
        if (data.cFileName[0] == '.') continue;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (descend) folders.push_back(data.cFileName);
            continue;
        }
        const unsigned long long bytes = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        files.push_back(SourceFile{folder, data.cFileName, data.cAlternateFileName, bytes});
    } while (FindNextFileA(search, &data));
    FindClose(search);
    for (std::size_t i = first; i < files.size(); ++i)
        if (!files[i].shortName.empty() && answering[upper(files[i].shortName)] > 1) files[i].shortName.clear();
    for (const std::string& name : folders) listFolder(root, name, false, files);
}

std::string joined(const std::string& directory, const std::string& folder) {
    return folder.empty() ? directory : directory + "\\" + folder;
}

bool installerCopy(const std::string& sourceDirectory, const std::string& destinationDirectory, const std::string& name,
                   const std::string& sourceName) {
    char temporary[MAX_PATH + 1] = "";
    UINT temporaryLength = sizeof temporary;
    std::string source = sourceName, destination = name, sourceDir = sourceDirectory, destinationDir = destinationDirectory;
    char current[1] = "";
    return VerInstallFileA(VIFF_FORCEINSTALL, &source[0], &destination[0], &sourceDir[0], &destinationDir[0], current,
                           temporary, &temporaryLength) == 0;
}

bool installerCopy(const std::string& sourceDirectory, const std::string& destinationDirectory, const std::string& name) {
    return installerCopy(sourceDirectory, destinationDirectory, name, name);
}

long long ticksNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// The time each of the design's calls took over the loop, in the counter's ticks.
struct CallTimes {
    long long lookedAt = 0, installer = 0, shortName = 0;
};

// The installer as Setup.exe calls it, with the look-ups it makes around the call. The folders'
// own short paths, which Setup.exe asks once per folder, are the paths themselves here.
bool shortNamesCopy(const std::string& sourceDirectory, const std::string& destinationDirectory, const SourceFile& file,
                    CallTimes& times) {
    const long long started = ticksNow();
    GetFileAttributesA((destinationDirectory + "\\" + file.name).c_str());  // is there a file to ask about?
    const long long lookedAt = ticksNow();
    const std::string& sourceName = file.shortName.empty() ? file.name : file.shortName;
    if (!installerCopy(sourceDirectory, destinationDirectory, file.name, sourceName)) return false;
    const long long installed = ticksNow();
    GetFileAttributesA((destinationDirectory + "\\" + sourceName).c_str());  // the short name the log records
    times.lookedAt += lookedAt - started;
    times.installer += installed - lookedAt;
    times.shortName += ticksNow() - installed;
    return true;
}

// The installer's own sequence with the LZ library's copy (which, for an uncompressed source, moves
// the bytes through a small fixed buffer).
bool lzSteps(const std::string& sourcePath, const std::string& destinationDirectory, const std::string& destinationPath) {
    OFSTRUCT sourceInfo{}, temporaryInfo{};
    std::string sourceName = sourcePath;
    const INT source = LZOpenFileA(&sourceName[0], &sourceInfo, OF_READ);
    if (source < 0) return false;
    char temporary[MAX_PATH] = "";
    GetTempFileNameA(destinationDirectory.c_str(), "ver", 0, temporary);
    const HFILE target = OpenFile(temporary, &temporaryInfo, OF_CREATE);
    const bool copied = target != HFILE_ERROR && LZCopy(source, target) >= 0;
    if (target != HFILE_ERROR) _lclose(target);
    LZClose(source);
    return copied && MoveFileA(temporary, destinationPath.c_str());
}

// Whether a file begins with the LZ library's signature (SZDD 88 F0 27 33): only those need the
// expander.
bool isLzCompressed(HANDLE file) {
    static const unsigned char kSignature[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
    unsigned char head[8] = {};
    DWORD got = 0;
    const bool compressed = ReadFile(file, head, sizeof head, &got, nullptr) && got == sizeof head &&
                            std::memcmp(head, kSignature, sizeof head) == 0;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    return compressed;
}

bool bigSteps(const std::string& sourceDirectory, const std::string& destinationDirectory, const std::string& name,
              std::vector<char>& buffer) {
    const std::string sourcePath = sourceDirectory + "\\" + name, destinationPath = destinationDirectory + "\\" + name;
    HANDLE source = CreateFileA(sourcePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (source == INVALID_HANDLE_VALUE) return false;
    if (isLzCompressed(source)) {
        CloseHandle(source);
        return installerCopy(sourceDirectory, destinationDirectory, name);
    }
    char temporary[MAX_PATH] = "";
    GetTempFileNameA(destinationDirectory.c_str(), "ver", 0, temporary);
    HANDLE target = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool copied = target != INVALID_HANDLE_VALUE;
    DWORD got = 0, written = 0;
    while (copied && ReadFile(source, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0)
        copied = WriteFile(target, buffer.data(), got, &written, nullptr) && written == got;
    FILETIME lastWrite;
    if (copied && GetFileTime(source, nullptr, nullptr, &lastWrite)) SetFileTime(target, nullptr, nullptr, &lastWrite);
    if (target != INVALID_HANDLE_VALUE) CloseHandle(target);
    CloseHandle(source);
    return copied && MoveFileA(temporary, destinationPath.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: copy_floor.exe MODE SOURCE_DIR DESTINATION_DIR\n"
                             "  MODE: verinstall, shortnames, copyfile, lzsteps or bigsteps\n");
        return 64;
    }
    const std::string mode = argv[1], sourceRoot = argv[2], destinationRoot = argv[3];
    if (mode != "verinstall" && mode != "shortnames" && mode != "copyfile" && mode != "lzsteps" && mode != "bigsteps") {
        std::fprintf(stderr, "copy_floor: unknown mode %s\n", mode.c_str());
        return 64;
    }
    std::vector<SourceFile> files;
    listFolder(sourceRoot, "", true, files);
    std::vector<char> buffer(1 << 20);
    CallTimes times;

    const long long start = ticksNow();
    CreateDirectoryA(destinationRoot.c_str(), nullptr);
    std::string madeFolder = "\n";  // no folder is named so
    unsigned long long bytes = 0;
    for (const SourceFile& file : files) {
        const std::string sourceDirectory = joined(sourceRoot, file.folder);
        const std::string destinationDirectory = joined(destinationRoot, file.folder);
        if (file.folder != madeFolder) {
            CreateDirectoryA(destinationDirectory.c_str(), nullptr);
            madeFolder = file.folder;
        }
        const std::string sourcePath = sourceDirectory + "\\" + file.name;
        const std::string destinationPath = destinationDirectory + "\\" + file.name;
        bool copied = false;
        if (mode == "verinstall") copied = installerCopy(sourceDirectory, destinationDirectory, file.name);
        else if (mode == "shortnames") copied = shortNamesCopy(sourceDirectory, destinationDirectory, file, times);
        else if (mode == "copyfile") copied = CopyFileA(sourcePath.c_str(), destinationPath.c_str(), FALSE) != 0;
        else if (mode == "lzsteps") copied = lzSteps(sourcePath, destinationDirectory, destinationPath);
        else copied = bigSteps(sourceDirectory, destinationDirectory, file.name, buffer);
        if (!copied) {
            std::fprintf(stderr, "copy_floor: %s failed on %s\n", mode.c_str(), sourcePath.c_str());
            return 1;
        }
        bytes += file.bytes;
    }
    const long long end = ticksNow();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double tick = 1.0 / static_cast<double>(frequency.QuadPart);
    const double seconds = static_cast<double>(end - start) * tick;
    std::printf("%s %zu %llu %.4f", mode.c_str(), files.size(), bytes, seconds);
    if (mode == "shortnames")
        std::printf(" %.4f %.4f %.4f", static_cast<double>(times.lookedAt) * tick,
                    static_cast<double>(times.installer) * tick, static_cast<double>(times.shortName) * tick);
    std::printf("\n");
    return 0;
}
