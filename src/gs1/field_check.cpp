// A GS1 value against its AI's format: the whole length first, then each component takes its
// share from the front (fixed components their length, the last variable one the rest) and is
// checked for its character set and its checks. Optional components may be left out only once
// the value is exhausted.
#include "gs1/field_check.h"

#include "gs1/ai_table.h"
#include "gs1/checks.h"
#include "gs1/text_rules.h"

namespace ecc200::gs1 {
namespace {

const Format& FormatOf(const AiEntry& entry) {
    return kFormats[entry.format];
}

int LongestValue(const Format& format) {
    int total = 0;
    for (int i = 0; i < format.count; ++i) total += format.components[i].maxLength;
    return total;
}

int ShortestValue(const Format& format) {
    int total = 0;
    for (int i = 0; i < format.count && !format.components[i].optional; ++i) {
        total += format.components[i].minLength;
    }
    return total;
}

Message& StartComponent(Message& message, const AiEntry& entry, int index, int count) {
    message.Ai(entry.ai).Text(" component ").Number(index + 1).Text(" of ").Number(count);
    return message.Text(": ");
}

bool LengthFault(Message& message, const AiEntry& entry, std::size_t length, int shortest,
                 int longest) {
    message.Ai(entry.ai).Text(": value has ").Number(static_cast<int64_t>(length));
    message.Text(length == 1 ? " character, " : " characters, ");
    if (shortest == longest) {
        message.Text("must have ").Number(shortest);
    } else {
        message.Text("must have ").Number(shortest).Text(" to ").Number(longest);
    }
    return false;
}

bool CheckComponent(const AiEntry& entry, int index, std::string_view part, Message& message) {
    const Format& format = FormatOf(entry);
    const Component& component = format.components[index];
    if (part.size() < component.minLength) {
        StartComponent(message, entry, index, format.count).Text("has ");
        message.Number(static_cast<int64_t>(part.size())).Text(" characters, must have ");
        message.Number(component.minLength);
        return false;
    }
    const std::size_t bad = FirstOutsideCset(component.cset, part);
    if (bad < part.size()) {
        StartComponent(message, entry, index, format.count).Text("character ");
        message.Quoted(Slice(part, bad, 1)).Text(" at ").Number(static_cast<int64_t>(bad) + 1);
        message.Text(" not allowed: ").Text(CsetName(component.cset));
        return false;
    }
    for (const Check check : component.checks) {
        if (const char* rule = FailedCheck(check, part)) {
            StartComponent(message, entry, index, format.count).Text(rule);
            return false;
        }
    }
    return true;
}

}  // namespace

int FixedLength(const AiEntry& entry) {
    return LongestValue(FormatOf(entry));
}

bool CheckFieldLength(const AiEntry& entry, std::size_t length, Message& message) {
    const Format& format = FormatOf(entry);
    const int longest = LongestValue(format);
    const int shortest = ShortestValue(format);
    if (length > static_cast<std::size_t>(longest) || length < static_cast<std::size_t>(shortest)) {
        return LengthFault(message, entry, length, shortest, longest);
    }
    return true;
}

bool CheckField(const AiEntry& entry, std::string_view value, Message& message) {
    if (!CheckFieldLength(entry, value.size(), message)) return false;
    const Format& format = FormatOf(entry);
    std::string_view rest = value;
    for (int i = 0; i < format.count; ++i) {
        const Component& component = format.components[i];
        if (rest.empty() && component.optional) break;
        const std::string_view part = Slice(rest, 0, component.maxLength);
        if (!CheckComponent(entry, i, part, message)) return false;
        rest.remove_prefix(part.size());
    }
    return true;  // the length bounds leave nothing after the last component
}

}  // namespace ecc200::gs1
