// Reading for the Python package: the bytes of an image file, grey pixels or a module matrix
// handed to the imaging library (interpreter lock released), the reading returned as a dict that
// ecc200/_reading.py turns into a Reading.
#include "native_read.h"

#include <pybind11/stl.h>

#include <optional>
#include <string>
#include <vector>

#include "ecc200.h"
#include "gs1_conversion.h"
#include "image_file.h"
#include "symbol_reader.h"

namespace py = pybind11;

namespace {

using ecc200_imaging::ImageReading;
using ecc200_imaging::ReadRequest;

ReadRequest RequestOf(const std::optional<py::bytes>& productId,
                      const std::optional<py::bytes>& identity) {
    ReadRequest request;
    if (productId) request.productId = std::string(*productId);
    if (identity) request.identityFile = std::string(*identity);
    return request;
}

// The bracketed form of GS1 data read from a symbol, "(01)09501101530003(17)250101", from the
// library's checker; empty when the data breaks GS1's rules (as data from another encoder may).
std::string BracketedForm(const std::string& data) {
    return ecc200_host::ConvertGs1(data, ECC200_GS1_SKIP_RELATIONS | ECC200_GS1_BRACKETED).text;
}

py::dict Result(const ImageReading& reading, const std::string& error) {
    py::dict out;
    out["status"] = reading.status;
    out["error"] = error;
    out["located_by"] = ecc200_imaging::LocatorName(
        reading.symbol ? reading.symbol->locator : ecc200_imaging::Locator::kNone);
    if (reading.symbol) {
        out["found"] = py::make_tuple(reading.symbol->grid.rows, reading.symbol->grid.cols);
    } else {
        out["found"] = py::none();
    }
    if (reading.status != ECC200_OK) return out;
    const ECC200_Reading& r = reading.reading;
    const std::string data(reinterpret_cast<const char*>(r.data),
                           static_cast<std::size_t>(r.dataLength));
    out["rows"] = r.rows;
    out["cols"] = r.cols;
    out["data"] = py::bytes(data);
    out["symbology_id"] = std::string(r.symbologyId);
    out["gs1"] = r.gs1 != 0;
    out["hri"] = r.gs1 != 0 ? BracketedForm(data) : std::string();
    out["eci"] = r.eci;
    out["reader_programming"] = r.readerProgramming != 0;
    out["macro"] = r.macro;
    out["append"] = py::make_tuple(r.appendPosition, r.appendCount, r.appendFileId);
    py::list errors;
    for (int32_t b = 0; b < r.blockCount && b < ECC200_MAX_BLOCKS; ++b) errors.append(r.errors[b]);
    out["errors"] = errors;
    out["user_mark"] = r.userMark;
    out["user_mark_blocks"] = r.userMarkBlocks;
    out["block_count"] = r.blockCount;
    out["product_mark_lifted"] = r.productMarkLifted != 0;
    return out;
}

py::dict ReadImageFile(const py::bytes& file, const std::optional<py::bytes>& productId,
                       const std::optional<py::bytes>& identity) {
    const std::string bytes(file);
    const ReadRequest request = RequestOf(productId, identity);
    ImageReading reading;
    std::string error;
    {
        py::gil_scoped_release release;
        ecc200_imaging::LoadedImage loaded =
            ecc200_imaging::LoadImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (loaded.ok()) {
            reading = ecc200_imaging::ReadImage(loaded.image, request);
        } else {
            error = loaded.error;
        }
    }
    return Result(reading, error);
}

py::dict ReadGrey(const py::bytes& pixels, int64_t width, int64_t height,
                  const std::optional<py::bytes>& productId,
                  const std::optional<py::bytes>& identity) {
    std::string error = ecc200_imaging::CheckImageSize(width, height);
    ImageReading reading;
    if (!error.empty()) return Result(reading, error);
    std::string bytes(pixels);
    if (static_cast<int64_t>(bytes.size()) != width * height) {
        return Result(reading, "the pixels are not width x height bytes");
    }
    const ReadRequest request = RequestOf(productId, identity);
    {
        py::gil_scoped_release release;
        ecc200_imaging::GreyImage image;
        image.width = static_cast<int32_t>(width);
        image.height = static_cast<int32_t>(height);
        image.pixels.assign(bytes.begin(), bytes.end());
        reading = ecc200_imaging::ReadImage(image, request);
    }
    return Result(reading, error);
}

py::dict ReadModules(const py::bytes& modules, int32_t rows, int32_t cols,
                     const std::optional<py::bytes>& productId,
                     const std::optional<py::bytes>& identity) {
    const std::string bytes(modules);
    const std::vector<uint8_t> matrix(bytes.begin(), bytes.end());
    const ReadRequest request = RequestOf(productId, identity);
    ImageReading reading;
    {
        py::gil_scoped_release release;
        reading = ecc200_imaging::ReadModules(matrix, rows, cols, request);
    }
    return Result(reading, {});
}

}  // namespace

void AddReadFunctions(py::module_& module) {
    module.def("read_image_file", &ReadImageFile, py::arg("file"), py::arg("product_id"),
               py::arg("identity"));
    module.def("read_grey", &ReadGrey, py::arg("pixels"), py::arg("width"), py::arg("height"),
               py::arg("product_id"), py::arg("identity"));
    module.def("read_modules", &ReadModules, py::arg("modules"), py::arg("rows"), py::arg("cols"),
               py::arg("product_id"), py::arg("identity"));
    module.attr("STATUS_UNREADABLE") = ECC200_ERR_UNREADABLE;
    module.attr("MARK_UNCHECKED") = ECC200_MARK_UNCHECKED;
    module.attr("MARK_ABSENT") = ECC200_MARK_ABSENT;
    module.attr("MARK_PARTIAL") = ECC200_MARK_PARTIAL;
    module.attr("MARK_VALID") = ECC200_MARK_VALID;
}
