// A message written into a caller's fixed buffer: plain ASCII only, so that however it is cut it
// stays valid UTF-8. Bytes of the data quoted in it are written as they are when printable ASCII
// and as \xHH otherwise; an escape is never cut in half.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ecc200::gs1 {

class Message {
  public:
    // out may be null when capacity is 0: the message is then only counted, never written.
    Message(char* out, std::size_t capacity);

    Message& Text(std::string_view ascii);
    Message& Number(int64_t value);
    Message& Quoted(std::string_view bytes);  // the bytes in single quotes, escaped
    Message& Ai(std::string_view ai);         // "AI (01)"

  private:
    void Put(std::string_view piece);  // whole or not at all once the buffer is full

    char* out_;
    std::size_t capacity_;
    std::size_t length_ = 0;
};

}  // namespace ecc200::gs1
