// The writers' functions are called back by the library; exceptions never cross the C interface:
// they are caught, carried across and thrown again once the library has cleaned up.
#include "replaced_file.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <exception>

#include "ecc200.h"
#include "tool_error.h"

namespace ecc200_cli {
namespace {

struct Filling {
    const std::function<void(const std::string& path)>& fill;
    std::exception_ptr thrown = nullptr;
};

extern "C" int32_t FillByName(const char* path, void* context) {
    auto& filling = *static_cast<Filling*>(context);
    try {
        filling.fill(path);
        return 1;
    } catch (...) {
        filling.thrown = std::current_exception();
    }
    return 0;
}

[[noreturn]] void FailToWrite(const std::string& target, int error) {
    throw ToolError(kExitFileError,
                    "cannot write '" + target + "'" +
                        (error != 0 ? std::string(": ") + std::strerror(error) : std::string()));
}

}  // namespace

void FillReplacing(const std::string& target,
                   const std::function<void(const std::string& path)>& fill) {
    Filling filling{fill};
    errno = 0;
    if (WriteFileReplacing_ECC200(target.c_str(), FillByName, &filling) == ECC200_OK) return;
    const int error = errno;
    if (filling.thrown) std::rethrow_exception(filling.thrown);
    FailToWrite(target, error);
}

void WriteReplacing(const std::string& target, const std::function<void(std::FILE*)>& write) {
    FillReplacing(target, [&](const std::string& path) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) FailToWrite(target, errno);
        // A buffer of the stream's own spares the C library a look at the file to size it.
        std::array<char, 8192> buffer;
        std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());
        try {
            write(file);
        } catch (...) {
            std::fclose(file);
            throw;
        }
        const bool written = std::fflush(file) == 0 && !std::ferror(file);
        const int error = errno;
        if (std::fclose(file) != 0 || !written) FailToWrite(target, written ? errno : error);
    });
}

}  // namespace ecc200_cli
