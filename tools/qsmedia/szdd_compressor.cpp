#include "szdd_compressor.h"

#include <algorithm>

namespace quillset {

namespace {

constexpr std::size_t kRing = 4096;        // the expander's ring of bytes already expanded
constexpr std::size_t kRingStart = kRing - 16;  // where it puts the first byte
constexpr std::size_t kMinMatch = 3, kMaxMatch = 18;
// A reference reaches back at most a ring's length less one: the byte a full ring back is the
// one being overwritten, which not every expander reads before it writes.
constexpr std::size_t kMaxDistance = kRing - 1;
constexpr std::size_t kHashBits = 15;
// How many earlier places with the same first three bytes are tried: enough for all but the most
// repetitive data, whose matches reach the longest length early anyway.
constexpr int kMaxChain = 128;

struct Match {
    std::size_t length = 0, from = 0;
};

// Finds the longest earlier occurrence of the bytes at a position, through chains of the places
// that share a hash of their first three bytes. `s` is the data after a ring's length of blanks:
// the blanks stand for the expander's initial ring, which references may reach into as well.
class MatchFinder {
public:
    explicit MatchFinder(const std::vector<std::uint8_t>& s)
        : s_(s), head_(std::size_t{1} << kHashBits, kNone), previous_(kRing, kNone) {}

    // Records position i as a place later positions may refer to.
    void insert(std::size_t i) {
        if (i + kMinMatch > s_.size()) return;
        const std::size_t h = hash(i);
        previous_[i % kRing] = head_[h];
        head_[h] = i;
    }

    Match longest(std::size_t i) const {
        Match best;
        const std::size_t limit = std::min(kMaxMatch, s_.size() - i);
        if (limit < kMinMatch) return best;
        std::size_t candidate = head_[hash(i)];
        for (int tries = 0; tries < kMaxChain && candidate != kNone && candidate < i && i - candidate <= kMaxDistance;
             ++tries) {
            std::size_t length = 0;
            while (length < limit && s_[candidate + length] == s_[i + length]) ++length;
            if (length > best.length) {
                best = {length, candidate};
                if (length == limit) break;
            }
            const std::size_t next = previous_[candidate % kRing];
            if (next == kNone || next >= candidate) break;  // the chain's older part was overwritten
            candidate = next;
        }
        if (best.length < kMinMatch) best.length = 0;
        return best;
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::size_t hash(std::size_t i) const {
        const std::uint32_t v = (std::uint32_t{s_[i]} << 16) | (std::uint32_t{s_[i + 1]} << 8) | s_[i + 2];
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    const std::vector<std::uint8_t>& s_;
    std::vector<std::size_t> head_;
    std::vector<std::size_t> previous_;  // by position modulo the ring: the previous place of the chain
};

// Items in groups of eight behind a flag byte.
class ItemWriter {
public:
    explicit ItemWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void literal(std::uint8_t byte) {
        startItem();
        out_[flag_] = static_cast<std::uint8_t>(out_[flag_] | (1u << items_++));
        out_.push_back(byte);
    }
    // A reference to `length` bytes at ring position `position`.
    void reference(std::size_t position, std::size_t length) {
        startItem();
        ++items_;
        out_.push_back(static_cast<std::uint8_t>(position & 0xFF));
        out_.push_back(static_cast<std::uint8_t>(((position >> 4) & 0xF0) | (length - kMinMatch)));
    }

private:
    void startItem() {
        if (items_ < 8) return;
        flag_ = out_.size();
        out_.push_back(0);
        items_ = 0;
    }

    std::vector<std::uint8_t>& out_;
    std::size_t flag_ = 0;
    unsigned items_ = 8;
};

}  // namespace

std::vector<std::uint8_t> compressSzdd(const std::vector<std::uint8_t>& data, char replacedCharacter) {
    const std::uint32_t size = static_cast<std::uint32_t>(data.size());
    std::vector<std::uint8_t> out{'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A', static_cast<std::uint8_t>(replacedCharacter)};
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(size >> shift));
    out.reserve(out.size() + data.size() + data.size() / 8 + 1);

    std::vector<std::uint8_t> s(kRing + data.size(), ' ');
    std::copy(data.begin(), data.end(), s.begin() + kRing);
    MatchFinder finder(s);
    for (std::size_t i = 0; i < kRing; ++i) finder.insert(i);
    ItemWriter items(out);
    // Position i of s is data byte i - kRing, which the expander puts at ring position
    // (kRingStart + i - kRing) modulo the ring.
    const auto ringPosition = [](std::size_t i) { return (i + kRingStart) % kRing; };
    for (std::size_t i = kRing; i < s.size();) {
        const Match match = finder.longest(i);
        finder.insert(i);
        // One step of lazy matching: a longer match at the next byte is worth a literal first.
        if (match.length != 0 && match.length < kMaxMatch && finder.longest(i + 1).length > match.length) {
            items.literal(s[i++]);
            continue;
        }
        if (match.length == 0) {
            items.literal(s[i++]);
            continue;
        }
        items.reference(ringPosition(match.from), match.length);
        for (std::size_t k = 1; k < match.length; ++k) finder.insert(i + k);
        i += match.length;
    }
    return out;
}

SzddName szddCompressedName(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return {name + "._", 0};
    if (name.size() - dot - 1 < 3) return {name + "_", 0};
    return {name.substr(0, name.size() - 1) + "_", name.back()};
}

}  // namespace quillset
