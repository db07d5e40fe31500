#include "unpack_folder.h"

#include <wincrypt.h>

#include "find_files.h"
#include "handle.h"

namespace quillset {

namespace {

// 16 hexadecimal digits from the system's random number generator; "" when it gives none.
std::string randomName() {
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) return "";
    BYTE bytes[8];
    const bool made = CryptGenRandom(provider, sizeof bytes, bytes) != FALSE;
    CryptReleaseContext(provider, 0);
    if (!made) return "";
    std::string name;
    for (const BYTE b : bytes) {
        name.push_back("0123456789abcdef"[b >> 4]);
        name.push_back("0123456789abcdef"[b & 15]);
    }
    return name;
}

// A security descriptor whose protected DACL grants the process's user everything, inherited by
// files and folders below. Holds its parts; valid() is false where the system has no such thing
// (Windows 95/98) or it could not be made: the folder is then made with the defaults.
class OwnerOnlySecurity {
public:
    OwnerOnlySecurity() {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        user_ = size != 0 ? static_cast<TOKEN_USER*>(LocalAlloc(LPTR, size)) : nullptr;
        const bool haveUser = user_ != nullptr && GetTokenInformation(token, TokenUser, user_, size, &size);
        CloseHandle(token);
        if (!haveUser) return;
        const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(user_->User.Sid);
        acl_ = static_cast<ACL*>(LocalAlloc(LPTR, aclSize));
        valid_ = acl_ != nullptr && InitializeAcl(acl_, aclSize, ACL_REVISION) &&
                 AddAccessAllowedAceEx(acl_, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, GENERIC_ALL,
                                       user_->User.Sid) &&
                 InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
                 SetSecurityDescriptorDacl(&descriptor_, TRUE, acl_, FALSE) &&
                 // Protected: nothing of the temporary folder's own permissions comes in.
                 SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    }
    ~OwnerOnlySecurity() {
        if (acl_ != nullptr) LocalFree(acl_);
        if (user_ != nullptr) LocalFree(user_);
    }
    OwnerOnlySecurity(const OwnerOnlySecurity&) = delete;
    OwnerOnlySecurity& operator=(const OwnerOnlySecurity&) = delete;

    SECURITY_ATTRIBUTES* attributes() {
        if (!valid_) return nullptr;
        attributes_ = {sizeof attributes_, &descriptor_, FALSE};
        return &attributes_;
    }

private:
    TOKEN_USER* user_ = nullptr;
    ACL* acl_ = nullptr;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool valid_ = false;
};

// Removes the files and folders below `folder` and then the folder; schedules for the next
// restart what cannot go now. True when all went now.
bool removeTree(const std::string& folder) {
    bool all = true;
    // The search is closed before the folder goes (at the end of the loop): an open search keeps it.
    for (FileSearch search(folder + "\\*"); search.found(); search.next()) {
        const std::string name = search.name();
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        const DWORD attributes = search.entry().dwFileAttributes;
        // A link to a folder is removed as a link, never followed.
        if (search.isDirectory() && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
            all = removeTree(path) && all;
            continue;
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (search.isDirectory() ? RemoveDirectoryA(path.c_str()) : DeleteFileA(path.c_str())) continue;
        MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        all = false;
    }
    if (RemoveDirectoryA(folder.c_str())) return all;
    // Listed after its contents, so the restart removes them first.
    MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return false;
}

}  // namespace

std::string makeUnpackFolder(const std::string& temp) {
    OwnerOnlySecurity security;
    // A name that is taken (by chance, or by someone who guessed) is never used: try another.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string name = randomName();
        if (name.empty()) return "";
        const std::string folder = temp + "qs-" + name;
        if (CreateDirectoryA(folder.c_str(), security.attributes())) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
    }
    return "";
}

bool removeUnpackFolder(const std::string& folder) { return removeTree(folder); }

}  // namespace quillset
