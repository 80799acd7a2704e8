#include "input_events.h"

#include <optional>

namespace fuzz {
namespace {

// Long inputs stay fast: the fuzzer learns more from many short runs than from a few long ones.
constexpr std::size_t kMaxEvents = 4096;
// Enough hint presses to pass the counter's ceiling (32767) once in an input: each press costs.
constexpr long kMaxHintPresses = 40000;

class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool atEnd() const { return pos_ >= size_; }
    std::optional<std::uint8_t> byte() {
        if (pos_ >= size_) return std::nullopt;
        return data_[pos_++];
    }
    std::optional<std::uint32_t> littleEndian(int bytes) {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            const auto b = byte();
            if (!b) return std::nullopt;
            v |= static_cast<std::uint32_t>(*b) << (8 * i);
        }
        return v;
    }
    std::optional<std::string> bytes(std::size_t n) {
        if (size_ - pos_ < n) return std::nullopt;
        std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return s;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

int slotNumber(std::uint8_t s) {
    if (s < 0xC0) return s % 19 + 1;
    return kOffRowSlots[s % kOffRowSlots.size()];
}

} // namespace

std::vector<Event> decodeEvents(const std::uint8_t* data, std::size_t size) {
    using K = Event::Kind;
    Reader in(data, size);
    std::vector<Event> events;
    long hintPresses = 0;
    auto add = [&](Event e) {
        if (events.size() < kMaxEvents) events.push_back(std::move(e));
    };
    while (!in.atEnd() && events.size() < kMaxEvents) {
        const int opcode = *in.byte() % 16;
        switch (opcode) {
        case 0:
            add({K::load});
            break;
        case 1:
        case 2:
            add({K::selectMode, opcode - 1});
            break;
        case 3:
        case 4:
            if (const auto n = in.littleEndian(2)) {
                const int mode = static_cast<int>(*n & 1);
                if (opcode == 4) add({K::selectMode, 1 - mode});
                add({K::selectMode, mode});
            }
            break;
        case 5:
            add({K::start});
            break;
        case 6:
            add({K::check});
            break;
        case 7:
            add({K::clear});
            break;
        case 8:
            add({K::hint});
            break;
        case 9:
            add({K::reselect});
            break;
        case 10: {
            const auto t = in.byte();
            const auto s = in.byte();
            if (s) add({K::drop, slotNumber(*s), std::string(kKnownTags[*t % kKnownTags.size()])});
            break;
        }
        case 11: {
            const auto f = in.byte();
            const auto s = in.byte();
            if (s)
                add({K::drop, slotNumber(*s),
                     std::string(kNearMissTags[*f % kNearMissTags.size()])});
            break;
        }
        case 12: {
            const auto n = in.byte();
            if (!n) break;
            const auto tag = in.bytes(*n % 16u);
            const auto s = tag ? in.byte() : std::nullopt;
            if (s) add({K::drop, slotNumber(*s), *tag});
            break;
        }
        case 13: {
            const auto t = in.byte();
            const auto slot = t ? in.littleEndian(4) : std::nullopt;
            if (slot)
                add({K::drop, static_cast<std::int32_t>(*slot),
                     std::string(kKnownTags[*t % kKnownTags.size()])});
            break;
        }
        case 14:
            if (const auto n = in.littleEndian(2); n && hintPresses + *n <= kMaxHintPresses) {
                hintPresses += *n;
                add({K::hintBurst, static_cast<int>(*n)});
            }
            break;
        case 15:
            if (const auto c = in.byte())
                for (int i = 0; i < *c % 32; ++i)
                    add({K::check});
            break;
        }
    }
    return events;
}

std::string describe(const Event& e) {
    using K = Event::Kind;
    switch (e.kind) {
    case K::load:
        return "Load";
    case K::selectMode:
        return e.number == 0 ? "Select trainer" : "Select test";
    case K::reselect:
        return "Select the selected mode again";
    case K::start:
        return "Start";
    case K::check:
        return "Check";
    case K::clear:
        return "Clear";
    case K::hint:
        return "Hint";
    case K::hintBurst:
        return "Hint x" + std::to_string(e.number);
    case K::drop:
        break;
    }
    std::string shown;
    for (unsigned char c : e.tag) {
        if (c < 0x20 || c == 0x7F || c == '"' || c == '\\') {
            static constexpr char hex[] = "0123456789abcdef";
            shown += std::string("\\x") + hex[c >> 4] + hex[c & 15];
        } else {
            shown += static_cast<char>(c);
        }
    }
    return "drop \"" + shown + "\" on slot " + std::to_string(e.number);
}

} // namespace fuzz
