#include "quit_setup.h"

#include <windows.h>

#include "message_box.h"
#include "quit_question.h"

namespace quillset {

bool QuitSetup(QuitMode mode) {
    if (mode == QuitMode::askFirst &&
        showMessageBox(kQuitQuestion, kQuitCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    // The code only tells the loop why it ends; the program's exit code is decided elsewhere.
    PostQuitMessage(static_cast<int>(mode));
    return true;
}

}  // namespace quillset
