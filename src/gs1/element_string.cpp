// The GS1 element string: split into fields, each field checked, the relations between the AIs
// checked over the whole string; and the bracketed form converted into it. Works on the caller's
// bytes and a small fixed list of fields on the stack: nothing is allocated.
#include "gs1/element_string.h"

#include <algorithm>
#include <cstring>

#include "gs1/ai_table.h"
#include "gs1/field_check.h"
#include "gs1/relations.h"
#include "gs1/text_rules.h"

namespace ecc200::gs1 {
namespace {

constexpr std::size_t kShortestAi = 2;
constexpr std::size_t kLongestAi = 4;

// Splits an element string into fields, one at a time, and says what breaks the layout.
class FieldReader {
  public:
    explicit FieldReader(std::string_view data) : data_(data) {}

    bool AtEnd() const { return position_ >= data_.size(); }

    // The next field, or false with the layout fault in message.
    bool Next(Field& field, Message& message) {
        const std::string_view rest = Slice(data_, position_);
        if (rest[0] == kGroupSeparator) {
            message.Text("separator (GS) where an AI must start, at byte ");
            message.Number(static_cast<int64_t>(position_) + 1);
            return false;
        }
        const AiEntry* entry = nullptr;
        for (std::size_t n = kShortestAi; n <= kLongestAi && n <= rest.size() && !entry; ++n) {
            if (AllDigits(Slice(rest, 0, n))) entry = FindAi(Slice(rest, 0, n));
        }
        if (entry == nullptr) {
            message.Text("no GS1 AI starts ").Quoted(Slice(rest, 0, kLongestAi));
            message.Text(" at byte ").Number(static_cast<int64_t>(position_) + 1);
            return false;
        }
        const std::size_t start = position_ + std::strlen(entry->ai);
        std::size_t end = std::min(data_.find(kGroupSeparator, start), data_.size());
        if (entry->predefined) {
            end = std::min(end, start + static_cast<std::size_t>(FixedLength(*entry)));
        }
        field = {entry, Slice(data_, start, end - start)};
        position_ = end;
        return true;
    }

    // After a field: GS, unless it is the last. A field of predefined length needs none, but one
    // written after it anyway (as many hosts do) is only a redundant FNC1 and is kept.
    bool SkipSeparator(Message& message) {
        if (AtEnd() || data_[position_] != kGroupSeparator) return true;
        ++position_;
        if (AtEnd()) {
            message.Text("separator (GS) at the end: it only goes between fields");
            return false;
        }
        return true;
    }

  private:
    std::string_view data_;
    std::size_t position_ = 0;
};

// Reads the bracketed form: "(AI)" then the value up to the next unescaped '('.
class BracketedReader {
  public:
    explicit BracketedReader(const char* text) : p_(text) {}

    bool AtEnd() const { return *p_ == '\0'; }

    // The next AI, or null with the fault in message.
    const AiEntry* Ai(Message& message) {
        if (*p_ != '(') {
            message.Text("bracketed GS1 data must start with '(' and an AI");
            return nullptr;
        }
        std::size_t n = 1;
        while (n <= kLongestAi && IsDigit(p_[n])) ++n;
        const std::string_view digits(p_ + 1, n - 1);
        if (p_[n] != ')' || digits.size() < kShortestAi) {
            message.Quoted(std::string_view(p_, std::min<std::size_t>(n + 1, std::strlen(p_))));
            message.Text(" does not start an AI: '(' and 2 to 4 digits and ')'");
            return nullptr;
        }
        const AiEntry* entry = FindAi(digits);
        if (entry == nullptr) message.Text("(").Text(digits).Text(") is not a GS1 AI");
        p_ += n + 1;
        return entry;
    }

    // Unescapes the value into out (up to capacity bytes) and returns its full length.
    std::size_t Value(char* out, std::size_t capacity) {
        std::size_t length = 0;
        for (; *p_ != '\0' && *p_ != '('; ++p_, ++length) {
            if (p_[0] == '\\' && (p_[1] == '(' || p_[1] == ')')) ++p_;
            if (length < capacity) out[length] = *p_;
        }
        return length;
    }

  private:
    const char* p_;
};

// The longest value any AI takes, with room to tell a longer one apart.
constexpr std::size_t kValueCapacity = 128;

}  // namespace

const AiEntry* FindAi(std::string_view digits) {
    const auto* end = std::end(kAiTable);
    const auto* found = std::lower_bound(
        std::begin(kAiTable), end, digits,
        [](const AiEntry& entry, std::string_view ai) { return std::string_view(entry.ai) < ai; });
    return found != end && std::string_view(found->ai) == digits ? found : nullptr;
}

Verdict CheckElementString(std::string_view data, bool relations, Message& message) {
    if (data.empty()) {
        message.Text("GS1 data is empty");
        return Verdict::kBroken;
    }
    FieldList fields;
    FieldReader reader(data);
    while (!reader.AtEnd()) {
        Field field{};
        if (!reader.Next(field, message) || !CheckField(*field.entry, field.value, message) ||
            !reader.SkipSeparator(message)) {
            return Verdict::kBroken;
        }
        if (!fields.Add(field)) {
            message.Text("element string longer than 3116 bytes");
            return Verdict::kTooLong;
        }
    }
    if (relations && !CheckRelations(fields, message)) return Verdict::kBroken;
    if (data.size() > static_cast<std::size_t>(kMaxElementStringLength)) {
        message.Text("element string has ").Number(static_cast<int64_t>(data.size()));
        message.Text(" bytes, at most 3116");
        return Verdict::kTooLong;
    }
    return Verdict::kValid;
}

Verdict ConvertBracketed(const char* text, bool relations, uint8_t* out, int32_t capacity,
                         int32_t& length, Message& message) {
    length = 0;
    BracketedReader reader(text);
    if (reader.AtEnd()) {
        message.Text("GS1 data is empty");
        return Verdict::kBroken;
    }
    bool separate = false;  // the field before needs a GS
    std::size_t written = 0;
    while (!reader.AtEnd()) {
        const AiEntry* entry = reader.Ai(message);
        if (entry == nullptr) return Verdict::kBroken;
        char value[kValueCapacity];
        const std::size_t size = reader.Value(value, sizeof value);
        if (!CheckFieldLength(*entry, size, message) ||
            !CheckField(*entry, std::string_view(value, size), message)) {
            return Verdict::kBroken;
        }
        const std::size_t aiLength = std::strlen(entry->ai);
        const std::size_t needed = (separate ? 1 : 0) + aiLength + size;
        if (written + needed > static_cast<std::size_t>(capacity)) {
            message.Text("element string longer than ").Number(capacity).Text(" bytes");
            return Verdict::kTooLong;
        }
        if (separate) out[written++] = static_cast<uint8_t>(kGroupSeparator);
        std::memcpy(out + written, entry->ai, aiLength);
        std::memcpy(out + written + aiLength, value, size);
        written += aiLength + size;
        length = static_cast<int32_t>(written);
        separate = !entry->predefined;
    }
    const std::string_view converted(reinterpret_cast<const char*>(out), written);
    return CheckElementString(converted, relations, message);
}

int32_t WriteFields(std::string_view data, FieldStyle style, char* out, int32_t capacity) {
    FieldReader reader(data);
    Message ignored(nullptr, 0);
    int32_t length = 0;
    const auto put = [&](std::string_view piece) {
        if (length + static_cast<int32_t>(piece.size()) <= capacity) {
            std::memcpy(out + length, piece.data(), piece.size());
        }
        length += static_cast<int32_t>(piece.size());
    };
    while (!reader.AtEnd()) {
        Field field{};
        if (!reader.Next(field, ignored) || !reader.SkipSeparator(ignored)) break;
        if (style == FieldStyle::kHumanReadable) {
            if (length > 0) put(" ");
            put("(");
            put(field.entry->ai);
            put(") ");
            put(field.value);
            continue;
        }
        put("(");
        put(field.entry->ai);
        put(")");
        for (std::size_t i = 0; i < field.value.size(); ++i) {
            if (field.value[i] == '(' || field.value[i] == ')') put("\\");
            put(Slice(field.value, i, 1));
        }
    }
    return length;
}

}  // namespace ecc200::gs1
