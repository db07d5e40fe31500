// Checks a reader's statements against a case of reader_cases.h (GoogleTest assertions).
#pragma once

#include <gtest/gtest.h>

#include "reader_cases.h"
#include "script_reader.h"

namespace quillset {

inline void expectStatementsOf(const SetupScript& script, const ReaderCase& c) {
    ASSERT_EQ(script.statementCount(), static_cast<int>(c.statements.size()));
    for (std::size_t i = 0; i < c.statements.size(); ++i) {
        std::string command;
        std::vector<std::string> arguments;
        ASSERT_EQ(script.getStatement(static_cast<int>(i), command, arguments), 0);
        EXPECT_EQ(command, c.statements[i].command) << "statement " << i;
        EXPECT_EQ(arguments, c.statements[i].arguments) << "statement " << i;
    }
}

}  // namespace quillset
