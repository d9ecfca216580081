// libFuzzer harness over image reading: any bytes as an image file, loaded, and (when small
// enough to keep runs quick) located, sampled and decoded as a clean raster.
#include <cstddef>
#include <cstdint>

#include "image_file.h"
#include "symbol_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const ecc200_imaging::LoadedImage loaded = ecc200_imaging::LoadImage(data, size);
    if (!loaded.ok() || static_cast<int64_t>(loaded.image.pixels.size()) > (int64_t{1} << 20)) {
        return 0;
    }
    ecc200_imaging::ReadRequest request;
    request.photographs = false;  // the photograph locators are other libraries' code
    (void)ecc200_imaging::ReadImage(loaded.image, request);
    return 0;
}
