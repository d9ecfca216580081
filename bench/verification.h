// Decodes encoder output with an independent reader and compares it with the input.
#ifndef ECC200_BENCH_VERIFICATION_H
#define ECC200_BENCH_VERIFICATION_H

#include <optional>
#include <string>

#include "job.h"

namespace bench {

// Draws the modules with moduleSize pixels each and a white quiet zone of quietModules modules.
Image RenderModules(const ModuleMatrix& matrix, int moduleSize = 3, int quietModules = 2);

// Reads one Data Matrix symbol from the picture; nothing when none is found.
std::optional<Bytes> DecodeDataMatrix(const Image& image);

// Correct (with the size name) when the picture decodes to exactly the data; wrong otherwise.
Verdict CheckDecodesTo(const Image& image, const Bytes& data, const std::string& sizeName);

// The same for a module matrix, rendered first.
Verdict CheckDecodesTo(const ModuleMatrix& matrix, const Bytes& data);

}  // namespace bench

#endif
