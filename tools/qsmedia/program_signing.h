// Authenticode signatures for the programs a medium carries (Setup.exe and QSUninstall.exe), made by
// osslsigncode with SHA-256 and without a time stamp (that needs a time-stamp server).
#pragma once

#include <filesystem>
#include <string>

#include "private_folder.h"

namespace quillset {

// What the command line says about signing.
struct SigningOptions {
    std::string certificate;   // --sign: PEM certificates, or a PKCS#12 file when there is no key
    std::string key;           // --key: the PEM private key of the certificate
    std::string passwordFile;  // --pass-file: the password of the key or the PKCS#12 file
    std::string osslsigncode;  // --osslsigncode: the program; empty: the one on PATH

    bool requested() const { return !certificate.empty(); }
};

// The private temporary folder that holds the signed copies.
using SignedPrograms = PrivateFolder;

// Signs Setup.exe and QSUninstall.exe of the folder `programs` into signed copies in
// `signedPrograms.folder`, the programs' description in the signature being `appName` (code page
// 1252). The originals are only read. False, said on standard error like a compiler, when a file
// named by the options cannot be read, osslsigncode cannot be found or run, or it fails.
bool signPrograms(const SigningOptions& options, const std::filesystem::path& programs, const std::string& appName,
                  SignedPrograms& signedPrograms);

// Signs one program, `input`, into the new file `output` the same way (a single-file installer,
// after its payload is in place: the signature covers it). `scratch`, a private folder, takes
// osslsigncode's messages. False, said on standard error, as for signPrograms.
bool signProgram(const SigningOptions& options, const std::filesystem::path& input,
                 const std::filesystem::path& output, const std::string& appName,
                 const std::filesystem::path& scratch);

}  // namespace quillset
