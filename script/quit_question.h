// The question before setup ends at the user's wish: Cancel on a page, Abort at the disk prompt.
#pragma once

namespace quillset {

inline constexpr char kQuitQuestion[] =
    "Are you really sure to quit setup? The application will be deleted if you click on Yes";
inline constexpr char kQuitCaption[] = "Quit setup";

}  // namespace quillset
