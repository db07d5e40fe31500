// The single-file starter's own use of the system: the folder it unpacks into (new, an
// unguessable name, open to the current user alone, removed with everything in it) and SHA-256
// from the system's CryptoAPI, which must agree with the value every other implementation gives.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "sha256.h"
#include "unpack_folder.h"
#include "win_test_files.h"

namespace quillset {
namespace {

bool isFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void writeFile(const std::string& path, const std::string& content) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

TEST(UnpackFolderTest, IsNewEachTimeWithARandomNameAndGoesWithAllItHolds) {
    const std::string temp = tempDirectory();
    std::set<std::string> names;
    for (int i = 0; i < 3; ++i) {
        const std::string folder = makeUnpackFolder(temp);
        ASSERT_FALSE(folder.empty()) << GetLastError();
        const std::string name = folder.substr(temp.size());
        EXPECT_EQ(name.size(), 19u) << name;
        EXPECT_EQ(name.compare(0, 3, "qs-"), 0) << name;
        EXPECT_EQ(name.find_first_not_of("0123456789abcdef", 3), std::string::npos) << name;
        names.insert(name);
        // Files and folders below, one of them read-only: all of it goes.
        ASSERT_TRUE(CreateDirectoryA((folder + "\\sub").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((folder + "\\sub\\deeper").c_str(), nullptr));
        writeFile(folder + "\\Setup.exe", "program");
        writeFile(folder + "\\sub\\deeper\\file.txt", "text");
        SetFileAttributesA((folder + "\\sub\\deeper\\file.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_TRUE(removeUnpackFolder(folder));
        EXPECT_FALSE(isFolder(folder)) << folder;
    }
    EXPECT_EQ(names.size(), 3u);
}

// Whether the file system keeps an access list given to a folder: a protected, empty one is set
// and read back.
bool keepsAccessLists(const std::string& folder) {
    ACL empty;
    SECURITY_DESCRIPTOR given;
    if (!InitializeAcl(&empty, sizeof empty, ACL_REVISION) || !InitializeSecurityDescriptor(&given, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&given, TRUE, &empty, FALSE) ||
        !SetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, &given))
        return false;
    char buffer[1024];
    DWORD size = 0;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    return GetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, buffer, sizeof buffer, &size) &&
           GetSecurityDescriptorControl(buffer, &control, &revision) && (control & SE_DACL_PROTECTED);
}

TEST(UnpackFolderTest, GrantsTheCurrentUserAloneAndKeepsNothingOfTheParent) {
    const std::string folder = makeUnpackFolder(tempDirectory());
    ASSERT_FALSE(folder.empty());
    DWORD size = 0;
    GetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::string buffer(size, '\0');
    auto* descriptor = reinterpret_cast<PSECURITY_DESCRIPTOR>(&buffer[0]);
    ASSERT_TRUE(size > 0 && GetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, descriptor, size, &size));
    BOOL present = FALSE, defaulted = FALSE;
    ACL* acl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted));
    ASSERT_TRUE(present && acl != nullptr) << "no DACL: everyone could enter";
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    if (!(control & SE_DACL_PROTECTED) && !keepsAccessLists(folder)) {
        removeUnpackFolder(folder);
        GTEST_SKIP() << "this file system does not keep a folder's access list (Wine's makes one up from the Unix "
                        "permissions): the starter's is checked on Windows";
    }
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    char user[256];
    DWORD userSize = sizeof user;
    ASSERT_TRUE(GetTokenInformation(token, TokenUser, user, userSize, &userSize));
    CloseHandle(token);
    // The system may keep an inheritable entry as two (one for the folder, one inherited only):
    // every entry allows, and names the current user.
    ASSERT_GE(acl->AceCount, 1);
    for (WORD i = 0; i < acl->AceCount; ++i) {
        void* entry = nullptr;
        ASSERT_TRUE(GetAce(acl, i, &entry));
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE) << i;
        EXPECT_TRUE(EqualSid(&allowed->SidStart, reinterpret_cast<TOKEN_USER*>(user)->User.Sid)) << "entry " << i;
    }
    EXPECT_TRUE(control & SE_DACL_PROTECTED) << "the temporary folder's entries would be inherited";
    EXPECT_TRUE(removeUnpackFolder(folder));
}

TEST(PlatformSha256Test, GivesTheStandardDigestInPieces) {
    // FIPS 180-2's example: "abc" and the 448-bit message.
    const struct {
        std::string message;
        const char* digest;
    } cases[] = {{"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
                 {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
                  "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"}};
    for (const auto& c : cases) {
        PlatformSha256 sha256;
        ASSERT_TRUE(sha256.begin());
        for (const char ch : c.message) ASSERT_TRUE(sha256.add(&ch, 1));
        std::uint8_t digest[kSha256Size];
        ASSERT_TRUE(sha256.finish(digest));
        std::string hex;
        for (const std::uint8_t b : digest) {
            hex.push_back("0123456789abcdef"[b >> 4]);
            hex.push_back("0123456789abcdef"[b & 15]);
        }
        EXPECT_EQ(hex, c.digest) << c.message;
    }
}

}  // namespace
}  // namespace quillset
