#include <gtest/gtest.h>

#include <map>

#include "next_state.h"

namespace quillset {
namespace {

StoredStatement state(const char* page, const char* kind, const char* name, const char* comparison, const char* value) {
    return dynamicState({page, kind, name, comparison, value});
}

CustomControl control(const char* name) {
    CustomControl c;
    c.controlName = name;
    return c;
}

TEST(NextStateTest, LastMatchingPairDecides) {
    // The controls of the welcome page are open, "other" (index 2) is on another page and reads as
    // a control that is not there.
    const std::vector<CustomControl> controls = {control("accept"), control("name"), control("other"),
                                                 control("accept")};
    const std::map<std::string, ControlReading> readings = {{"accept", {1, "I agree"}}, {"name", {0, "Ann "}}};
    const ControlReader read = [&](std::size_t c) {
        return c == 2 ? ControlReading{} : readings.at(controls[c].controlName);
    };
    const char* const W = "DIALOG_WELCOME";
    struct Case {
        std::vector<StoredStatement> statements;
        bool enabled;
    };
    const Case cases[] = {
        {{}, true},
        {{state(W, "CONTROL", "accept", "VALUE", "1")}, true},
        {{state(W, "CONTROL", "accept", "VALUE", "0")}, false},
        {{state(W, "CONTROL", "name", "TEXT", "Ann")}, false},  // a trailing blank differs
        {{state(W, "CONTROL", "name", "TEXT", "Ann ")}, true},
        {{state(W, "CONTROL", "accept", "VALUE", "1"), state(W, "CONTROL", "name", "TEXT", "Bob")}, false},
        {{state(W, "CONTROL", "name", "TEXT", "Bob"), state(W, "CONTROL", "accept", "VALUE", "1")}, true},
        {{state(W, "CONTROL", "other", "VALUE", "0")}, true},  // not open: unchecked and empty
        {{state(W, "CONTROL", "other", "VALUE", "1")}, false},
        {{state(W, "CONTROL", "other", "TEXT", "")}, true},
        {{state(W, "CONTROL", "missing", "VALUE", "1")}, true},  // no such control: no pair
        {{state("DIALOG_DEST", "CONTROL", "accept", "VALUE", "0")}, true},
        {{state(W, "VARIABLE", "X", "1", "")}, true},
        {{state(W, "CONTROL", "accept", "CHECKED", "0")}, true},
    };
    for (const Case& c : cases) EXPECT_EQ(nextEnabled(true, W, c.statements, controls, read), c.enabled);
    EXPECT_FALSE(nextEnabled(false, W, {}, controls, read));  // the destination is not accepted
}

}  // namespace
}  // namespace quillset
