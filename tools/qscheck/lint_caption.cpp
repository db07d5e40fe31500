// The caption check: whether the main window's caption, as the dry run left it, fits a screen
// 1024 pixels wide (the smallest that the wizard's pages are laid out for).
#include "caption_width.h"
#include "lint_script.h"

namespace quillset {

namespace {

constexpr std::int64_t kScreenWidth = 1024;

// The last statement that sets CAPTION, and the argument holding its text: SetCaption, or a
// SetVariable whose name (computed names taken with the values the run ended with) is CAPTION.
// False when nothing sets it.
bool lastCaptionStatement(const LintScript& script, const VariableTable& valuesAtEnd, std::size_t& statement,
                          std::size_t& argument) {
    bool found = false;
    VariableTable values;  // a copy of the values at the end, made when a name needs them
    bool copied = false;
    for (std::size_t s = 0; s < script.statements().size(); ++s) {
        if (!script.wellFormed(s)) continue;
        const ScriptStatement& st = script.statements()[s];
        std::string name = st.command == "SetVariable" ? st.arguments[0] : "";
        if (name.find('[') != std::string::npos) {
            if (!copied) values = valuesAtEnd;
            copied = true;
            values.substituteVariables(name);
        }
        if (st.command == "SetCaption" || name == "CAPTION") {
            statement = s;
            argument = st.command == "SetCaption" ? 0 : 1;
            found = true;
        }
    }
    return found;
}

}  // namespace

void checkCaptionWidth(LintScript& script, const SetupState& endState) {
    const auto caption = endState.variables.entries().find("CAPTION");
    if (caption == endState.variables.entries().end() || caption->second.empty()) return;
    const CaptionExtent extent = captionExtent(endState.appearance, caption->second);
    std::size_t statement = 0, argument = 0;
    if (extent.right <= kScreenWidth || !lastCaptionStatement(script, endState.variables, statement, argument)) return;
    script.warn(statement, script.argumentOffset(statement, argument), "caption-too-wide",
                "the caption " + quoted(caption->second) + " reaches about " + std::to_string(extent.right) +
                    " pixels from the left (" + std::to_string(endState.appearance.captionSize) +
                    "-point Arial Bold drawn from x = " + std::to_string(extent.x) +
                    "): a screen " + std::to_string(kScreenWidth) + " pixels wide cuts it off; shorten it, or make it smaller with SetCaptionSize");
}

}  // namespace quillset
