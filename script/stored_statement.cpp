#include "stored_statement.h"

#include "script_number.h"

namespace quillset {

MessageTrigger messageTrigger(const std::string& word) {
    if (word == "NOW") return MessageTrigger::now;
    return word == "COMMAND" ? MessageTrigger::controlAction : MessageTrigger::never;
}

DynamicStateKind dynamicStateKind(const std::string& word) {
    if (word == "CONTROL") return DynamicStateKind::control;
    return word == "VARIABLE" ? DynamicStateKind::variable : DynamicStateKind::unknown;
}

DynamicComparison dynamicComparison(const std::string& word) {
    if (word == "VALUE") return DynamicComparison::checkState;
    return word == "TEXT" ? DynamicComparison::text : DynamicComparison::unknown;
}

StoredMessage storedMessage(const std::vector<std::string>& a) {
    return StoredMessage{a[0], a[1], a[2], a[3], messageTrigger(a[3])};
}

DynamicState dynamicState(const std::vector<std::string>& a) {
    return DynamicState{a[0], a[1], dynamicStateKind(a[1]), a[2], a[3], dynamicComparison(a[3]), a[4], scriptNumber(a[4])};
}

const char* storedCommand(const StoredStatement& statement) {
    if (std::holds_alternative<StoredMessage>(statement)) return "ShowMessage";
    if (std::holds_alternative<DynamicState>(statement)) return "SetNextDynamicState";
    return "CheckButton";
}

std::vector<std::string> storedArguments(const StoredStatement& statement) {
    if (const auto* message = std::get_if<StoredMessage>(&statement))
        return {message->text, message->caption, message->controlName, message->triggerWord};
    if (const auto* state = std::get_if<DynamicState>(&statement))
        return {state->pageName, state->kindWord, state->controlName, state->comparisonWord, state->expected};
    return {std::get<CheckedButton>(statement).controlName};
}

}  // namespace quillset
