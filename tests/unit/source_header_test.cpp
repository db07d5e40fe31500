#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "source_header.h"

namespace quillset {
namespace {

bool mayBeCompressed(const std::string& head) {
    return quillset::mayBeCompressed(reinterpret_cast<const std::uint8_t*>(head.data()), head.size());
}

// The sources whose size the platform must be asked for, and those whose size is their own.
TEST(SourceHeaderTest, TellsTheCompressedFormsByTheirFirstFourBytes) {
    struct Case {
        std::string head;
        bool mayBeCompressed;
    };
    const Case cases[] = {
        {std::string("SZDD\x88\xF0\x27\x33", 8), true},  // the LZ library's files, as qsmedia --compress writes
        {"SZDD", true},                                   // a damaged one: the platform decides
        {"KWAJ\x88\xF0\x27\xD1", true},                   // the LZ library's older files
        {std::string("MSCF\0\0\0\0", 8), true},           // a cabinet
        {"szdd\x88\xF0\x27\x33", false},                  // the signatures have exactly these letters
        {"xSZDD\x88\xF0\x27", false},                     // and stand at the start
        {std::string("MZ\x90\0", 4), false},              // a program
        {"SZD", false},                                   // too short for any signature
        {"", false},                                      // an empty file
        {"MSC", false},
    };
    for (const Case& c : cases) EXPECT_EQ(mayBeCompressed(c.head), c.mayBeCompressed) << c.head;
}

}  // namespace
}  // namespace quillset
