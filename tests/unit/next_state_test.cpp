#include <gtest/gtest.h>

#include <map>

#include "next_state.h"

namespace quillset {
namespace {

StoredStatement state(const char* page, const char* kind, const char* name, const char* comparison, const char* value) {
    return dynamicState({page, kind, name, comparison, value});
}

CustomControl control(const char* name, bool open) {
    CustomControl c;
    c.controlName = name;
    static int anyWindow;
    c.window = open ? &anyWindow : nullptr;  // only tells an open control here
    return c;
}

TEST(NextStateTest, LastMatchingPairDecides) {
    // The controls of the welcome page are open, "other" is on another page.
    const std::vector<CustomControl> controls = {control("accept", true), control("name", true),
                                                 control("other", false), control("accept", true)};
    const std::map<std::string, ControlReading> readings = {{"accept", {1, "I agree"}}, {"name", {0, "Ann "}}};
    const ControlReader read = [&](const CustomControl& c) { return readings.at(c.controlName); };
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
