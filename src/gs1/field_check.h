// One GS1 field: a value checked against the format of its AI, component by component.
#pragma once

#include <cstddef>
#include <string_view>

#include "gs1/ai_entry.h"
#include "gs1/message.h"

namespace ecc200::gs1 {

// True when value fits entry's format and passes every check; otherwise the fault, naming the
// AI, the component and the rule, goes to message.
bool CheckField(const AiEntry& entry, std::string_view value, Message& message);

// True when a value of length characters is neither shorter nor longer than entry's format
// allows; otherwise the fault goes to message.
bool CheckFieldLength(const AiEntry& entry, std::size_t length, Message& message);

// The length of a predefined-length AI's value (the sum of its fixed components).
int FixedLength(const AiEntry& entry);

}  // namespace ecc200::gs1
