// Relations between AIs. A pattern is an AI whose 'n' stands for any digit. A requirement lists
// alternatives separated by ','; an alternative holds when every AI of its '+' group is present.
// An AI never excludes itself, even when it matches an excluded pattern.
#include "gs1/relations.h"

#include <iterator>

#include "gs1/ai_table.h"
#include "gs1/text_rules.h"

namespace ecc200::gs1 {
namespace {

constexpr std::size_t kAiCount = std::size(kAiTable);

// Which rows of the AI table the element string holds.
struct Presence {
    bool row[kAiCount] = {};
};

std::size_t RowOf(const AiEntry* entry) {
    return static_cast<std::size_t>(entry - kAiTable);
}

bool Matches(std::string_view pattern, std::string_view ai) {
    if (pattern.size() != ai.size()) return false;
    for (std::size_t i = 0; i < ai.size(); ++i) {
        if (pattern[i] != ai[i] && pattern[i] != 'n') return false;
    }
    return true;
}

// A present AI matching pattern other than self (null for none), or null.
const AiEntry* PresentMatch(const Presence& presence, std::string_view pattern,
                            const AiEntry* self) {
    for (std::size_t i = 0; i < kAiCount; ++i) {
        if (presence.row[i] && &kAiTable[i] != self && Matches(pattern, kAiTable[i].ai)) {
            return &kAiTable[i];
        }
    }
    return nullptr;
}

// Splits text at separator: the piece before it, text moved past it.
std::string_view TakeUntil(std::string_view& text, char separator) {
    const std::size_t at = text.find(separator);
    const std::string_view piece = Slice(text, 0, at);
    text.remove_prefix(at == std::string_view::npos ? text.size() : at + 1);
    return piece;
}

bool AlternativeHolds(const Presence& presence, std::string_view group) {
    while (!group.empty()) {
        if (PresentMatch(presence, TakeUntil(group, '+'), nullptr) == nullptr) return false;
    }
    return true;
}

bool RequirementHolds(const Presence& presence, std::string_view alternatives) {
    while (!alternatives.empty()) {
        if (AlternativeHolds(presence, TakeUntil(alternatives, ','))) return true;
    }
    return false;
}

// "(01)+(21) or (03)+(21)" for "01+21,03+21".
void DescribeRequirement(std::string_view requirement, Message& message) {
    bool first = true;
    while (!requirement.empty()) {
        std::string_view group = TakeUntil(requirement, ',');
        if (!first) message.Text(" or ");
        first = false;
        for (bool firstAi = true; !group.empty(); firstAi = false) {
            message.Text(firstAi ? "(" : "+(").Text(TakeUntil(group, '+')).Text(")");
        }
    }
}

bool CheckRequirements(const Presence& presence, const AiEntry& entry, Message& message) {
    std::string_view requirements = entry.required;
    while (!requirements.empty()) {
        const std::string_view requirement = TakeUntil(requirements, ' ');
        if (RequirementHolds(presence, requirement)) continue;
        message.Ai(entry.ai).Text(" needs ");
        DescribeRequirement(requirement, message);
        message.Text(" in the same data");
        return false;
    }
    return true;
}

bool CheckExclusions(const Presence& presence, const AiEntry& entry, Message& message) {
    std::string_view excludes = entry.excluded;
    while (!excludes.empty()) {
        const AiEntry* other = PresentMatch(presence, TakeUntil(excludes, ','), &entry);
        if (other == nullptr) continue;
        message.Ai(entry.ai).Text(" and AI (").Text(other->ai).Text(") exclude each other");
        return false;
    }
    return true;
}

bool CheckRepeats(const FieldList& fields, Message& message) {
    for (const Field* a = fields.begin(); a != fields.end(); ++a) {
        for (const Field* b = a + 1; b != fields.end(); ++b) {
            if (a->entry == b->entry && a->value != b->value) {
                message.Ai(a->entry->ai).Text(" appears twice with different values");
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool CheckRelations(const FieldList& fields, Message& message) {
    Presence presence;
    for (const Field& field : fields) presence.row[RowOf(field.entry)] = true;
    if (!CheckRepeats(fields, message)) return false;
    for (std::size_t i = 0; i < kAiCount; ++i) {
        if (!presence.row[i]) continue;
        if (!CheckRequirements(presence, kAiTable[i], message) ||
            !CheckExclusions(presence, kAiTable[i], message)) {
            return false;
        }
    }
    return true;
}

}  // namespace ecc200::gs1
