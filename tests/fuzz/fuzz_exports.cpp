// libFuzzer harness over the exports. Each input is decoded into a sequence of calls on a few
// symbols (every setter with any value and length, the options, the marks with a user.id whose
// content the input chooses, both outputs into guarded buffers and BMP files), and every result is
// checked against what the header promises. A broken promise aborts, which libFuzzer reports.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "../support/symbol_outputs.h"
#include "ecc200.h"
#include "geometry/size_table.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kSlotCount = 3;
constexpr int kMaxCalls = 40;
constexpr std::size_t kGuardBytes = 32;
constexpr uint8_t kFill = 0xA5;  // guard and untouched-buffer pattern: no module value
constexpr std::initializer_list<int32_t> kOutputStatuses = {0, 1, 2, 4, 6, 8, 10, 17, 18, 20};

// A well-formed identity that the input may take as it is or with a prefix of its own.
constexpr char kIdentityFields[] = "00112233445566778899AA-0123456789abcdefABCDEF";

// BMP targets: two writable files, then targets that no write can succeed on.
constexpr std::array<const char*, 6> kBmpTargets = {
    "out0.bmp", "out1.bmp", "missing/out.bmp", "blocker/out.bmp", ".", "/dev/full"};
constexpr std::size_t kWritableTargets = 2;

void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "ecc200 fuzz check failed: %s\n", what);
    std::abort();
}

bool OneOf(int32_t status, std::initializer_list<int32_t> allowed) {
    return std::find(allowed.begin(), allowed.end(), status) != allowed.end();
}

// A private working folder for user.id and the BMP files, removed when the process ends.
class Workspace {
  public:
    Workspace() {
        std::string pattern = (fs::temp_directory_path() / "ecc200-fuzz-XXXXXX").string();
        Require(mkdtemp(pattern.data()) != nullptr, "no temporary folder");
        path_ = pattern;
        fs::current_path(path_);
        std::ofstream("blocker") << "a file where a folder is expected";
    }
    // Every input starts from the same files: a well-formed user.id and no pictures.
    static void Reset() {
        std::error_code ignored;
        for (const char* name : {"user.id", kBmpTargets[0], kBmpTargets[1]})
            fs::remove_all(name, ignored);
        std::ofstream("user.id", std::ios::binary) << "ACME**" << kIdentityFields;
    }
    ~Workspace() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }

  private:
    fs::path path_;
};

// What the harness knows about one symbol beyond what the getters tell.
struct Slot {
    SymbolHandle handle = nullptr;
    int32_t requestedSize = 0;
    bool marks[2] = {};  // user, product: switched on successfully
    std::string productId;
};

using Modules = std::vector<uint8_t>;
using ecc200::testing::EncodeToModules;

// Every data region is framed by a solid left column and bottom row and by alternating modules
// along its top row and right column.
bool FinderAndTimingIntact(const Modules& m, const ecc200::SymbolSize& size) {
    const int32_t cols = size.symbolCols, height = size.regionRows + 2, width = size.regionCols + 2;
    for (int32_t row = 0; row < size.symbolRows; ++row) {
        for (int32_t col = 0; col < cols; ++col) {
            const int32_t r = row % height, c = col % width;
            const int expected = r == height - 1 || c == 0 ? 1
                                 : r == 0                  ? 1 - c % 2
                                 : c == width - 1          ? r % 2
                                                           : -1;
            if (expected >= 0 && m[static_cast<std::size_t>(row * cols + col)] != expected)
                return false;
        }
    }
    return true;
}

// A successful encode: the right size, modules of 0 or 1 with finder and timing in place, the
// same symbol on a second encode, and every mark that is on applied (the symbol differs from the
// one the same settings give with that mark off).
void CheckEncodedSymbol(const Slot& slot, const Modules& modules) {
    const int32_t sizeIndex = GetDimension_ECC200(slot.handle);
    Require(ecc200::IsSizeIndex(sizeIndex), "no size after a successful encode");
    Require(slot.requestedSize == ECC200_SIZE_AUTO || sizeIndex == slot.requestedSize,
            "a fixed size was not kept");
    Require(std::ranges::all_of(modules, [](uint8_t m) { return m <= 1; }), "module not 0 or 1");
    Require(FinderAndTimingIntact(modules, ecc200::SizeAt(sizeIndex)), "finder or timing broken");
    int32_t status = -1;
    Require(EncodeToModules(slot.handle, status) == modules && status == 0, "encodes differ");
    for (const int mark : {0, 1}) {
        if (!slot.marks[mark]) continue;
        const auto turn = [&](uint8_t on) {
            return mark == 0 ? SetSignUser_ECC200(slot.handle, on)
                             : SetSignProduct_ECC200(slot.handle, on, slot.productId.c_str());
        };
        Require(turn(0) == 0, "mark not switched off");
        const Modules unmarked = EncodeToModules(slot.handle, status);
        Require(status == 0 && turn(1) == 0, "unmarked encode failed, or mark not switched on");
        Require(unmarked != modules, "encode succeeded without one of its marks");
    }
}

class Session {
  public:
    explicit Session(FuzzedDataProvider& input) : in_(input) {}
    ~Session() {
        for (Slot& slot : slots_) DeleteSymbol_ECC200(slot.handle);
    }

    void Run() {
        for (int call = 0; call < kMaxCalls && in_.remaining_bytes() > 0; ++call) {
            Slot& slot = slots_[in_.ConsumeIntegralInRange<std::size_t>(0, kSlotCount - 1)];
            // Every action needs a symbol; the first call on an empty slot creates it.
            static constexpr void (Session::*kActions[])(Slot&) = {
                &Session::SetScheme,      &Session::SetDimension,      &Session::SetData,
                &Session::SwitchUserMark, &Session::SwitchProductMark, &Session::SetOption,
                &Session::Clear,          &Session::WriteBuffer,       &Session::WriteBitmap,
                &Session::WriteIdentity,  &Session::ConvertGs1};
            const auto action = in_.ConsumeIntegralInRange<std::size_t>(0, std::size(kActions) - 1);
            if (slot.handle == nullptr) {
                slot = Slot{.handle = CreateSymbol_ECC200()};
                Require(slot.handle != nullptr, "no symbol created");
                continue;
            }
            (this->*kActions[action])(slot);
            const int32_t scheme = GetScheme_ECC200(slot.handle);
            const int32_t dimension = GetDimension_ECC200(slot.handle);
            Require(scheme >= 0 && scheme <= 6 && dimension >= -1 && dimension < ECC200_SIZE_COUNT,
                    "scheme or dimension out of range");
        }
    }

  private:
    // Small values around the valid range most of the time, any value now and then.
    int32_t SmallOrAny(int32_t low, int32_t high) {
        return in_.ConsumeBool() ? in_.ConsumeIntegralInRange(low - 2, high + 2)
                                 : in_.ConsumeIntegral<int32_t>();
    }

    void SetScheme(Slot& slot) {
        const int32_t scheme = SmallOrAny(0, 6);
        Require(SetScheme_ECC200(slot.handle, scheme) == (scheme >= 0 && scheme <= 6 ? 0 : 8),
                "SetScheme result");
    }

    void SetDimension(Slot& slot) {
        const int32_t size = SmallOrAny(-1, 29);
        const bool valid = size >= -1 && size <= 29;
        Require(SetDimension_ECC200(slot.handle, size) == (valid ? 0 : 8), "SetDimension result");
        if (valid) slot.requestedSize = size;
    }

    void SetOption(Slot& slot) {
        const int32_t option = SmallOrAny(1, 9);
        const int32_t value =
            in_.ConsumeBool() ? in_.ConsumeIntegralInRange(-1, 48) : SmallOrAny(0, 999999);
        const int32_t result = SetOption_ECC200(slot.handle, option, value);
        Require(OneOf(result, {0, 8}), "SetOption result");
        // The size option is the dimension setting with the DMRE sizes as well.
        if (option == ECC200_OPTION_SIZE && result == 0) slot.requestedSize = value;
        Require(option != ECC200_OPTION_SIZE ||
                    result == (value >= -1 && value < ECC200_SIZE_COUNT ? 0 : 8),
                "SetOption size result");
    }

    // GS1 text of any content through the conversion: a documented status, nothing written past
    // either buffer, a message that is one zero-terminated line of printable ASCII.
    void ConvertGs1(Slot& /*slot*/) {
        const int32_t flags = in_.ConsumeIntegralInRange(-1, 8);
        const int32_t outSize = in_.ConsumeIntegralInRange(0, 4000);
        const int32_t messageSize = in_.ConsumeIntegralInRange(0, 120);
        const std::string text = in_.ConsumeRandomLengthString(4000);
        std::vector<uint8_t> out(static_cast<std::size_t>(outSize) + kGuardBytes, kFill);
        std::vector<char> message(static_cast<std::size_t>(messageSize) + kGuardBytes,
                                  static_cast<char>(kFill));
        int32_t length = -1;
        const int32_t status = Gs1ElementString_ECC200(text.c_str(), flags, out.data(), outSize,
                                                       &length, message.data(), messageSize);
        Require(OneOf(status, {0, 2, 8, 20}), "undocumented status from the GS1 conversion");
        Require(status != 0 || (length >= 0 && length <= outSize), "GS1 length out of range");
        Require(std::all_of(out.begin() + outSize, out.end(), [](uint8_t b) { return b == kFill; }),
                "GS1 output written past its size");
        Require(std::all_of(message.begin() + messageSize, message.end(),
                            [](char c) { return c == static_cast<char>(kFill); }),
                "GS1 message written past its size");
        if (messageSize == 0) return;
        const auto end = std::find(message.begin(), message.begin() + messageSize, '\0');
        Require(end != message.begin() + messageSize, "GS1 message not terminated");
        Require(std::all_of(message.begin(), end, [](char c) { return c >= 0x20 && c < 0x7F; }),
                "GS1 message not printable ASCII");
    }

    void SetData(Slot& slot) {
        const int mode = in_.ConsumeIntegralInRange(1, 3);
        std::vector<uint8_t> bytes;
        int32_t length = 0;
        if (mode == 3) {  // beyond the limit, or not positive
            length = in_.ConsumeBool() ? in_.ConsumeIntegralInRange(3117, 3300)
                                       : in_.ConsumeIntegralInRange(INT32_MIN, 0);
            bytes.assign(static_cast<std::size_t>(std::max(length, 1)), 'A');
        } else if (mode == 2) {  // long runs of one byte reach the large sizes cheaply
            const auto byte = in_.ConsumeIntegral<uint8_t>();
            length = in_.ConsumeIntegralInRange(1, 3116);
            bytes.assign(static_cast<std::size_t>(length), byte);
        } else {
            bytes = in_.ConsumeBytes<uint8_t>(in_.ConsumeIntegralInRange<std::size_t>(0, 400));
            length = static_cast<int32_t>(bytes.size());
        }
        const int32_t expected = length < 1 ? 8 : length > 3116 ? 2 : 0;
        Require(SetDataToEncoding_ECC200(slot.handle, bytes.data(), length) == expected,
                "SetData result");
    }

    void SwitchUserMark(Slot& slot) {
        const auto enable = in_.ConsumeIntegral<uint8_t>();
        const int32_t status = SetSignUser_ECC200(slot.handle, enable);
        Require(enable != 0 ? OneOf(status, {0, 10, 18}) : status == 0, "SetSignUser result");
        slot.marks[0] = enable != 0 && status == 0;
    }

    void SwitchProductMark(Slot& slot) {
        const auto enable = in_.ConsumeIntegral<uint8_t>();
        const bool null = in_.ConsumeIntegralInRange(0, 15) == 0;
        std::string id = in_.ConsumeRandomLengthString(120);
        id = id.substr(0, id.find('\0'));
        const int32_t status =
            SetSignProduct_ECC200(slot.handle, enable, null ? nullptr : id.c_str());
        Require(enable != 0 ? OneOf(status, {0, 8, 10, 18}) : status == 0, "SetSignProduct result");
        Require(status != 0 || enable == 0 || (!null && !id.empty() && id.size() <= 100),
                "product identifier accepted against the limits");
        slot.marks[1] = enable != 0 && status == 0;
        slot.productId = id;
    }

    void Clear(Slot& slot) {
        Clear_ECC200(slot.handle);
        slot.marks[0] = slot.marks[1] = false;
        Require(GetScheme_ECC200(slot.handle) == 0 && GetDimension_ECC200(slot.handle) == -1,
                "Clear left a scheme or a size");
    }

    // A buffer of the size the input chooses, between guard bytes; only the symbol's own
    // rows x cols bytes may change, and only when the call succeeds.
    void WriteBuffer(Slot& slot) {
        const bool null = in_.ConsumeIntegralInRange(0, 15) == 0;
        const int32_t size = in_.ConsumeBool() ? ECC200_MAX_MODULES
                                               : in_.ConsumeIntegralInRange(-4, ECC200_MAX_MODULES);
        const auto inner = static_cast<std::size_t>(std::max(size, 0));
        std::vector<uint8_t> guarded(inner + 2 * kGuardBytes, kFill);
        uint8_t* buffer = null ? nullptr : guarded.data() + kGuardBytes;
        const int32_t status = WriteEncodedSymbolToBuf_ECC200(slot.handle, buffer, size);
        Require(OneOf(status, kOutputStatuses), "undocumented status from the buffer output");
        Require(status != 0 || !null, "success without a buffer");
        std::size_t written = 0;
        if (status == 0) {
            const ecc200::SymbolSize& s = ecc200::SizeAt(GetDimension_ECC200(slot.handle));
            written = static_cast<std::size_t>(s.symbolRows * s.symbolCols);
            Require(written <= inner, "success with a buffer too small");
            CheckEncodedSymbol(slot, Modules(buffer, buffer + written));
        }
        const auto symbolAt = guarded.begin() + static_cast<std::ptrdiff_t>(kGuardBytes);
        guarded.erase(symbolAt, symbolAt + static_cast<std::ptrdiff_t>(written));
        Require(std::ranges::count(guarded, kFill) == std::ssize(guarded),
                "bytes written outside the symbol");
    }

    void WriteBitmap(Slot& slot) {
        const std::size_t target = in_.ConsumeIntegralInRange<std::size_t>(0, kBmpTargets.size());
        const char* path = target < kBmpTargets.size() ? kBmpTargets[target] : nullptr;
        // Small pictures only; the huge values must be refused before anything is drawn.
        const int32_t moduleSize = in_.ConsumeIntegralInRange(0, 7) == 0
                                       ? in_.ConsumeIntegral<int32_t>() | 0x10000
                                       : in_.ConsumeIntegralInRange(-1, 3);
        const int32_t quietZone = in_.ConsumeIntegralInRange(0, 7) == 0
                                      ? in_.ConsumeIntegral<int32_t>() | 0x1000000
                                      : in_.ConsumeIntegralInRange(-3, 6);
        const int32_t status =
            WriteEncodedSymbolToBMP_ECC200(slot.handle, moduleSize, quietZone, path);
        Require(OneOf(status, kOutputStatuses), "undocumented status from the BMP output");
        if (status != 0) return;
        Require(path != nullptr && target < kWritableTargets, "success on an unwritable path");
        Require(ecc200::testing::BmpShowsModules(ecc200::testing::FileBytes(path), slot.handle,
                                                 moduleSize, quietZone),
                "BMP differs from the buffer, or the buffer encode failed after it");
        int32_t bufferStatus = -1;  // known to be 0 from the check above
        CheckEncodedSymbol(slot, EncodeToModules(slot.handle, bufferStatus));
    }

    // Replaces user.id: a well-formed identity with the input's prefix, raw bytes, or nothing at
    // all. (Files of other kinds are refused in the unit tests.)
    void WriteIdentity(Slot&) {
        std::error_code ignored;
        fs::remove_all("user.id", ignored);
        const int kind = in_.ConsumeIntegralInRange(0, 3);
        if (kind <= 1) {
            std::ofstream("user.id", std::ios::binary)
                << in_.ConsumeRandomLengthString(160) << "**" << kIdentityFields;
        } else if (kind == 2) {
            std::ofstream("user.id", std::ios::binary) << in_.ConsumeRandomLengthString(300);
        }
    }

    FuzzedDataProvider& in_;
    std::array<Slot, kSlotCount> slots_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static Workspace workspace;
    Workspace::Reset();
    FuzzedDataProvider input(data, size);
    Session(input).Run();
    return 0;
}
