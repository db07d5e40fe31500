// qsmedia — lays out an installation medium from a folder tree and a short description.
//
//   qsmedia DESCRIPTION OUTDIR [--tree DIR] [--programs DIR] [--qscheck PROGRAM] [--compress]
//           [--sign CERT --key KEY | --sign FILE.p12] [--pass-file FILE] [--osslsigncode PROGRAM]
//   qsmedia DESCRIPTION --single-file FILE.exe [the same options but --compress]
//   qsmedia --help | -h     this usage, on standard output
//   qsmedia --version       "qsmedia X.Y.Z", the version of the whole project, on standard output
//
// DESCRIPTION names the application, its sections and the folders of the tree that go into them
// (docs/qsmedia.md). OUTDIR, new or empty, receives Setup.exe, SetupScript.ini and the files; with
// a disk size, in the folders DISK1, DISK2 ... The tree is the description's folder unless --tree
// names another; Setup.exe and QSUninstall.exe come from --programs (default: qsmedia's folder);
// the medium is checked with the qscheck program beside qsmedia or the one --qscheck names. With
// --sign, the medium gets copies of the programs signed by osslsigncode (program_signing.h). With
// --compress, files that get smaller are stored compressed (compressed_files.h). With
// --single-file, the medium is laid out and checked in a private temporary folder and then packed
// into one program behind the starter QSStarter.exe of --programs (single_file_writer.h); with
// --sign, that program is signed too, after its payload is in place.
//
// Exit status (qsmedia_exit_codes.h): 0 the medium is laid out and checked (or --help, --version),
// 1 an error (reported as FILE:LINE: error: ... or qsmedia: error: ...), 64 a wrong command line
// (the usage on standard error).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "compressed_files.h"
#include "cp1252.h"
#include "disk_layout.h"
#include "media_description.h"
#include "medium_check.h"
#include "medium_contents.h"
#include "platform.h"
#include "program_signing.h"
#include "qsmedia_exit_codes.h"
#include "quillset_version.h"
#include "script_writer.h"
#include "single_file_writer.h"

namespace fs = std::filesystem;

namespace quillset {
namespace {

const char* const kUsage =
    "usage: qsmedia DESCRIPTION OUTDIR [--tree DIR] [--programs DIR] [--qscheck PROGRAM] [--compress]\n"
    "               [--sign CERT --key KEY | --sign FILE.p12] [--pass-file FILE] [--osslsigncode PROGRAM]\n"
    "       qsmedia DESCRIPTION --single-file FILE.exe [--tree DIR] [--programs DIR] [--qscheck PROGRAM]\n"
    "               [--sign CERT --key KEY | --sign FILE.p12] [--pass-file FILE] [--osslsigncode PROGRAM]\n"
    "       qsmedia --help | --version\n";

// What was asked for (--help, --version) goes to standard output.
QsmediaExitCode printText(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    return std::fflush(stdout) == 0 ? QsmediaExitCode::ok : QsmediaExitCode::failed;
}

struct Options {
    std::string description, output, tree, programs, qscheck;
    std::string singleFile;  // --single-file: the program to write instead of a medium folder
    bool compress = false;
    SigningOptions signing;
};

bool parseOptions(int argc, char** argv, Options& options) {
    // An option where the description belongs ("--version x") is a slip, not a file name.
    if (argc < 3 || argv[1][0] == '-') return false;
    options.description = argv[1];
    int first = 3;
    if (std::string(argv[2]) == "--single-file") {
        if (argc < 4) return false;
        options.singleFile = argv[3];
        first = 4;
    } else {
        options.output = argv[2];
    }
    for (int i = first; i < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--compress") {
            options.compress = true;
            --i;
            continue;
        }
        if (i + 1 == argc) return false;
        if (option == "--tree") options.tree = argv[i + 1];
        else if (option == "--programs") options.programs = argv[i + 1];
        else if (option == "--qscheck") options.qscheck = argv[i + 1];
        else if (option == "--sign") options.signing.certificate = argv[i + 1];
        else if (option == "--key") options.signing.key = argv[i + 1];
        else if (option == "--pass-file") options.signing.passwordFile = argv[i + 1];
        else if (option == "--osslsigncode") options.signing.osslsigncode = argv[i + 1];
        else return false;
    }
    // The other signing options without --sign are a mistake, not something to pass over.
    const SigningOptions& signing = options.signing;
    if (!signing.requested() && (!signing.key.empty() || !signing.passwordFile.empty() || !signing.osslsigncode.empty()))
        return false;
    // A single file is packed as a whole; the files' own compression would only stand in its way.
    if (!options.singleFile.empty() && options.compress) return false;
    const fs::path description = fs::absolute(options.description);
    if (options.tree.empty()) options.tree = description.parent_path().string();
    if (options.programs.empty()) options.programs = ownDirectory();
    if (options.qscheck.empty()) options.qscheck = (fs::path(ownDirectory()) / programFileName("qscheck")).string();
    return true;
}

// Problems of the tree or the description, as a compiler reports them.
void report(const std::vector<Problem>& problems) {
    for (const Problem& p : problems)
        std::fprintf(stderr, "%s: %s: %s\n", p.where.c_str(), p.error ? "error" : "warning", p.message.c_str());
}

QsmediaExitCode fail(const std::string& message) {
    std::fprintf(stderr, "qsmedia: error: %s\n", message.c_str());
    return QsmediaExitCode::failed;
}

// Copies `length` bytes from `offset` of `from` to the new file `to`. False when the source is
// shorter than that (it changed since it was measured) or a write fails.
bool copyRange(const fs::path& from, std::uint64_t offset, std::uint64_t length, const fs::path& to) {
    std::ifstream in(from, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    std::vector<char> buffer(1 << 20);
    while (length > 0 && in && out) {
        const std::size_t chunk = length < buffer.size() ? static_cast<std::size_t>(length) : buffer.size();
        in.read(buffer.data(), static_cast<std::streamsize>(chunk));
        if (static_cast<std::size_t>(in.gcount()) != chunk) return false;
        out.write(buffer.data(), static_cast<std::streamsize>(chunk));
        length -= chunk;
    }
    out.close();
    return length == 0 && !out.fail();
}

// Packs the checked medium in `medium` behind the starter into the program --single-file names,
// and signs that program when asked (the signature covers the payload: nothing may change after it).
QsmediaExitCode packSingleFile(const Options& options, const MediaDescription& description, const fs::path& starter,
                               const fs::path& medium, const fs::path& work) {
    std::vector<PackedFile> files;
    std::string error;
    if (!listMediumFiles(medium, files, error)) return fail(error);
    const fs::path output = fs::absolute(options.singleFile);
    const fs::path unsigned_ = options.signing.requested() ? work / "unsigned.exe" : output;
    SingleFileFigures figures;
    if (!writeSingleFile(starter, files, description.appName, unsigned_, figures, error)) return fail(error);
    if (options.signing.requested()) {
        const fs::path partial = output.string() + ".partial";
        if (!signProgram(options.signing, unsigned_, partial, description.appName, work)) {
            std::error_code ignored;
            fs::remove(partial, ignored);
            return QsmediaExitCode::failed;
        }
        std::error_code renameError;
        fs::rename(partial, output, renameError);
        if (renameError) {
            fs::remove(partial, renameError);
            return fail(output.string() + " cannot be written");
        }
        figures.fileSize = fs::file_size(output);
    }
    std::printf("qsmedia: %s: %zu files packed from %llu bytes into %llu, one program of %llu bytes; checked by "
                "qscheck plan and lint%s\n",
                output.string().c_str(), files.size(), static_cast<unsigned long long>(figures.unpackedSize),
                static_cast<unsigned long long>(figures.packedSize), static_cast<unsigned long long>(figures.fileSize),
                options.signing.requested() ? "; the program, Setup.exe and QSUninstall.exe signed, without a time stamp"
                                            : "");
    return QsmediaExitCode::ok;
}

QsmediaExitCode run(const Options& options) {
    std::ifstream file(options.description, std::ios::binary);
    if (!file) return fail(options.description + " cannot be read");
    std::ostringstream text;
    text << file.rdbuf();

    MediaDescription description;
    std::vector<DescriptionError> descriptionErrors;
    if (!parseMediaDescription(text.str(), description, descriptionErrors)) {
        for (const DescriptionError& e : descriptionErrors)
            std::fprintf(stderr, "%s%s: error: %s\n", options.description.c_str(),
                         e.line > 0 ? (":" + std::to_string(e.line)).c_str() : "", e.message.c_str());
        return QsmediaExitCode::failed;
    }
    const bool singleFile = !options.singleFile.empty();
    if (singleFile && description.diskSize != 0) {
        std::fprintf(stderr, "%s:%d: error: disk-size lays out disks, which do not go into one file (--single-file)\n",
                     options.description.c_str(), description.diskSizeLine);
        return QsmediaExitCode::failed;
    }

    fs::path programs = fs::absolute(options.programs);
    const fs::path starter = programs / kStarterName;
    if (singleFile && !fs::is_regular_file(starter))
        return fail(std::string("no ") + kStarterName + " in " + programs.string() + " (--programs names the folder)");
    std::error_code error;
    std::uintmax_t setupSize = fs::file_size(programs / "Setup.exe", error);
    if (error) return fail("no Setup.exe in " + programs.string() + " (--programs names the folder)");
    std::uintmax_t uninstallerSize = fs::file_size(programs / kUninstallerName, error);
    if (error) return fail(std::string("no ") + kUninstallerName + " in " + programs.string());
    // Signed before anything is written: a failure leaves no medium, and the disks are laid out
    // with the signed programs' sizes (a signature makes a program larger).
    SignedPrograms signedPrograms;
    if (options.signing.requested()) {
        if (!signPrograms(options.signing, programs, description.appName, signedPrograms)) return QsmediaExitCode::failed;
        programs = signedPrograms.folder;
        setupSize = fs::file_size(programs / "Setup.exe");
        uninstallerSize = fs::file_size(programs / kUninstallerName);
    }

    std::vector<MediumEntry> entries;
    std::vector<Problem> problems;
    const std::string tree = fs::absolute(options.tree).u8string();
    const PeHeader setupProgram = readPeHeader(fileBytesReader(programs / "Setup.exe"));
    const bool usable =
        collectMediumContents(description, options.description, tree, uninstallerSize, setupProgram, entries, problems);
    report(problems);
    if (!usable) return QsmediaExitCode::failed;
    const auto sourceOf = [&](const MediumEntry& entry) {
        return entry.treePath.empty() ? programs / kUninstallerName : fs::u8path(tree + "/" + entry.treePath);
    };
    PrivateFolder compressedFiles;
    if (options.compress) {
        if (!compressedFiles.make("compress"))
            return fail("no private folder for the compressed files can be made in the temporary directory");
        problems.clear();
        const bool compressed = compressMediumFiles(entries, sourceOf, compressedFiles.folder, problems);
        report(problems);
        if (!compressed) return QsmediaExitCode::failed;
    }

    // The script shares disk 1 with Setup.exe, and its length depends on the layout: lay out
    // again with room for the script until it fits the room it was given.
    std::vector<std::uint64_t> sizes;
    for (const MediumEntry& entry : entries) sizes.push_back(storedSize(entry));
    std::vector<Piece> pieces;
    std::string script;
    for (std::uint64_t room = 0;; room = script.size() + 1024) {
        if (!layOutDisks(sizes, description.diskSize, setupSize + room, pieces))
            return fail("disk-size " + std::to_string(description.diskSize) + " leaves no room on disk 1 beside Setup.exe (" +
                        std::to_string(setupSize) + " bytes) and the script");
        script = writeSetupScript(description, fs::path(options.description).filename().string(), entries, pieces);
        if (script.size() <= room) break;
    }

    // Resolved as qscheck resolves --sp (links, "..", a final separator), so that the paths of its
    // plan begin with the medium's folder as named here.
    // A single file's medium is laid out in a private folder, which goes when qsmedia ends.
    PrivateFolder singleFileWork;
    fs::path output;
    if (singleFile) {
        if (!singleFileWork.make("single"))
            return fail("no private folder for the medium can be made in the temporary directory");
        output = singleFileWork.folder / "medium";
    } else {
        output = fs::weakly_canonical(fs::absolute(options.output));
        if (!output.has_filename()) output = output.parent_path();
        if (fs::exists(output) && !(fs::is_directory(output) && fs::is_empty(output)))
            return fail(output.string() + " exists and is not an empty folder");
    }
    const bool withDisks = description.diskSize != 0;
    const fs::path setupDirectory = withDisks ? output / "DISK1" : output;
    fs::create_directories(setupDirectory, error);
    if (error) return fail(setupDirectory.string() + " cannot be made: " + error.message());
    fs::copy_file(programs / "Setup.exe", setupDirectory / "Setup.exe", error);
    std::ofstream(setupDirectory / "SetupScript.ini", std::ios::binary) << script;

    MediumCheck check{options.qscheck, (setupDirectory / "SetupScript.ini").string(), setupDirectory.string(), {}};
    int splitFiles = 0, lastDisk = 1;
    for (const Piece& piece : pieces) {
        const MediumEntry& entry = entries[piece.file];
        check.expectedSources.push_back(pieceDiskFromSetupDirectory(piece, withDisks) + piecePath(entry, piece));
        std::string relative = pieceDiskFolder(piece, withDisks) + piecePath(entry, piece);
        std::replace(relative.begin(), relative.end(), '\\', '/');
        const fs::path target = output / fs::u8path(cp1252ToUtf8(relative));
        fs::create_directories(target.parent_path(), error);
        if (fs::exists(target)) return fail(target.string() + " would be written twice: rename one of the files");
        const fs::path source =
            entry.compressedPath.empty() ? sourceOf(entry) : compressedCopy(compressedFiles.folder, piece.file);
        if (!copyRange(source, piece.offset, piece.length, target))
            return fail("copying " + source.string() + " to " + target.string() + " failed, or the file changed meanwhile");
        splitFiles += piece.lastPart ? 1 : 0;
        lastDisk = piece.disk;
    }
    if (error) return fail(error.message());

    if (!checkMedium(check))
        return fail(singleFile ? "the medium failed its check; no " + options.singleFile + " is written"
                               : output.string() + " failed its check; it is left as it is for a look");
    if (singleFile) return packSingleFile(options, description, starter, output, singleFileWork.folder);
    std::string compression;
    if (options.compress) {
        std::uint64_t files = 0, size = 0, stored = 0;
        for (const MediumEntry& entry : entries) {
            files += entry.compressedPath.empty() ? 0 : 1;
            size += entry.size;
            stored += storedSize(entry);
        }
        compression = "; " + std::to_string(files) + " compressed, " + std::to_string(size) + " bytes stored in " +
                      std::to_string(stored);
    }
    std::printf("qsmedia: %s: %zu files on %d disk(s), %d of them split%s; checked by qscheck plan and lint%s\n",
                output.string().c_str(), entries.size(), lastDisk, splitFiles, compression.c_str(),
                options.signing.requested() ? "; Setup.exe and QSUninstall.exe signed, without a time stamp" : "");
    return QsmediaExitCode::ok;
}

}  // namespace
}  // namespace quillset

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--help" || first == "-h") return exitStatus(quillset::printText(quillset::kUsage));
    if (first == "--version" && argc == 2)
        return exitStatus(quillset::printText(std::string("qsmedia ") + QUILLSET_VERSION_TEXT + "\n"));
    quillset::Options options;
    if (!quillset::parseOptions(argc, argv, options)) {
        std::fputs(quillset::kUsage, stderr);
        return exitStatus(quillset::QsmediaExitCode::usage);
    }
    try {
        return exitStatus(quillset::run(options));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qsmedia: error: %s\n", e.what());
        return exitStatus(quillset::QsmediaExitCode::failed);
    }
}
