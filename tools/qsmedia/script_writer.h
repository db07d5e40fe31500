// The SetupScript.ini of a medium: readable, commented, one AddFile per file or per folder.
#pragma once

#include <string>
#include <vector>

#include "disk_layout.h"
#include "media_description.h"
#include "medium_contents.h"

namespace quillset {

// Where a piece lies on the medium: its disk's folder ("DISK2\", or "" for a medium without disks)
// and its path there ("program\big.dat.002" for the second part of program\big.dat).
std::string pieceDiskFolder(const Piece& piece, bool withDisks);
std::string piecePath(const MediumEntry& entry, const Piece& piece);

// A piece's disk as the script names it from the setup directory (disk 1): "\" on disk 1,
// "\..\DISK2\" on disk 2.
std::string pieceDiskFromSetupDirectory(const Piece& piece, bool withDisks);

// The script, with CR LF line ends. Files of disk N are named from the setup directory, disk 1,
// as [SP]\..\DISKN\...; the pieces are in the order of the entries.
std::string writeSetupScript(const MediaDescription& description, const std::string& descriptionName,
                             const std::vector<MediumEntry>& entries, const std::vector<Piece>& pieces);

}  // namespace quillset
