// A log sink that appends to a string the test owns, so the bytes outlive the sink.
#pragma once

#include <string>

#include "uninstall_log.h"

namespace quillset {

class StringSink : public ByteSink {
public:
    explicit StringSink(std::string& bytes) : bytes_(bytes) {}
    bool write(const char* data, std::size_t size) override { return bytes_.append(data, size), true; }

private:
    std::string& bytes_;
};

}  // namespace quillset
