// Two steps of file installation that this setup cannot take yet: joining a file split over
// several disks, and replacing a file in use at the next restart. Each reports plainly that it was
// not done, so the installation never counts such a file as installed.
#pragma once

#include <string>

namespace quillset {

// Would add one part of a split file to its join file. Returns false: split files cannot be
// joined yet.
bool appendSplitPart(std::size_t index, std::string& joinFilePath);

// Would schedule `source` to replace `destination` at the next restart. Returns non-zero: the
// replacement could not be scheduled.
int replaceLockedFile(const std::string& source, const std::string& destination, const std::string& caption);

}  // namespace quillset
