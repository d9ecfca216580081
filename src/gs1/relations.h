// The rules between the fields of one GS1 element string: each AI's requirements met (req=), no
// pair that excludes each other (ex=), no AI repeated with a different value.
#pragma once

#include <cstddef>
#include <string_view>

#include "gs1/ai_entry.h"
#include "gs1/message.h"

namespace ecc200::gs1 {

struct Field {
    const AiEntry* entry;
    std::string_view value;
};

// The fields of an element string, in order, in fixed storage: enough for the longest element
// string of 3-byte fields.
class FieldList {
  public:
    static constexpr std::size_t kCapacity = 3116 / 3 + 1;

    [[nodiscard]] bool Add(Field field) {
        if (count_ == kCapacity) return false;
        fields_[count_++] = field;
        return true;
    }
    const Field* begin() const { return fields_; }
    const Field* end() const { return fields_ + count_; }

  private:
    Field fields_[kCapacity];
    std::size_t count_ = 0;
};

// True when the fields keep every relation; otherwise the first broken one goes to message.
bool CheckRelations(const FieldList& fields, Message& message);

}  // namespace ecc200::gs1
