// The short (8.3) and long forms of an existing path, however long they are.
#pragma once

#include <string>

namespace quillset {

// The path itself when the platform gives no such form (no such file, no short names on the
// volume, or, for the long form, the first Windows 95, which lacks the call), and when the short
// form would lead to another file.
std::string shortPathOf(const std::string& path);
std::string longPathOf(const std::string& path);

// The platform's short form of an existing path (GetShortPathNameA); false when it gives none.
bool platformShortPath(const std::string& path, std::string& shortPath);

// Whether a short form leads to the file called `name` alone. A short form is used only when it
// does: Wine derives short names from a hash of the long name, and in a large folder two files can
// share one (file-00118.dat and file-01002.dat are both FILE~IHD.DAT); opened by that name, one of
// them answers, whichever the folder's own order puts first. Windows keeps short names unique, so
// there the check always passes.
bool shortFormLeadsTo(const std::string& shortPath, const char* name);

}  // namespace quillset
