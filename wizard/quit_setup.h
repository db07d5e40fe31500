// The quit routine: how a page, the sections page's disk prompt or Cancel ends the wizard.
#pragma once

namespace quillset {

enum class QuitMode {
    askFirst = 1,       // asks "Quit setup"; on Yes posts the quit message with code 1
    withoutAsking = 2,  // posts the quit message with code 2
};

// Ends the wizard's message loop, as `mode` says. False when the user answered No to the question.
bool QuitSetup(QuitMode mode);

}  // namespace quillset
