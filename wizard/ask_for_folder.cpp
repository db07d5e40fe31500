#include "ask_for_folder.h"

#include "shell_folders.h"

namespace quillset {

namespace {

// Both pages ask with the destination's wording, the program group page too.
const char* const kChooseFolderTitle = "Please choose the directory in which the software will be installed.";

}  // namespace

std::string askForFolder(HWND page, bool belowPrograms) {
    return browseForFolder(page, kChooseFolderTitle, belowPrograms);
}

}  // namespace quillset
