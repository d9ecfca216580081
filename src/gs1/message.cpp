// Messages of the GS1 checker, written ASCII-only into a bounded buffer.
#include "gs1/message.h"

#include <cstring>

#include "gs1/text_rules.h"

namespace ecc200::gs1 {

Message::Message(char* out, std::size_t capacity)
    : out_(capacity == 0 ? nullptr : out), capacity_(out == nullptr ? 0 : capacity) {
    if (out_ != nullptr) out_[0] = '\0';
}

void Message::Put(std::string_view piece) {
    if (out_ == nullptr || length_ + piece.size() + 1 > capacity_) {
        length_ = capacity_;  // full: nothing more is written, so nothing is cut mid-escape
        return;
    }
    std::memcpy(out_ + length_, piece.data(), piece.size());
    length_ += piece.size();
    out_[length_] = '\0';
}

Message& Message::Text(std::string_view ascii) {
    // Words longer than what is left are cut at the buffer's end; they are ASCII.
    if (out_ != nullptr && length_ < capacity_) {
        const std::size_t room = capacity_ - 1 - length_;
        Put(Slice(ascii, 0, room));
        if (ascii.size() > room) length_ = capacity_;
    }
    return *this;
}

Message& Message::Number(int64_t value) {
    char digits[24];
    std::size_t n = 0;
    const bool negative = value < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        digits[sizeof digits - 1 - n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) digits[sizeof digits - 1 - n++] = '-';
    return Text(std::string_view(digits + sizeof digits - n, n));
}

Message& Message::Quoted(std::string_view bytes) {
    constexpr char kHex[] = "0123456789ABCDEF";
    Put("'");
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            Put(std::string_view(&c, 1));
        } else {
            const char escape[4] = {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
            Put(std::string_view(escape, 4));
        }
    }
    Put("'");
    return *this;
}

Message& Message::Ai(std::string_view ai) {
    return Text("AI (").Text(ai).Text(")");
}

}  // namespace ecc200::gs1
