// The compiled core of the Python package: one encode call over the library's C exports, with the
// interpreter lock released while the library works. The Python layer (ecc200/*.py) validates
// arguments, names things and renders pictures; this file only moves bytes.
#include <pybind11/pybind11.h>

#include <array>
#include <cstdint>
#include <string>

#include "ecc200.h"
#include "size_rows.h"

namespace py = pybind11;

namespace {

// Which call of an encode failed, so the Python layer can explain it in the right terms.
enum class Step : int {
    kNone = 0,
    kData = 1,
    kUserMark = 2,
    kProductMark = 3,
    kOption = 4,
    kEncode = 5,
    kCreate = 6
};

// One symbol per thread, reused by every encode on that thread: the library caches per symbol the
// placement maps that a fresh symbol would rebuild on each call, and no other thread can touch it.
class ThreadSymbol {
  public:
    ThreadSymbol() : handle_(CreateSymbol_ECC200()) {}
    ~ThreadSymbol() { DeleteSymbol_ECC200(handle_); }
    ThreadSymbol(const ThreadSymbol&) = delete;
    ThreadSymbol& operator=(const ThreadSymbol&) = delete;
    SymbolHandle get() const { return handle_; }

  private:
    SymbolHandle handle_;
};

SymbolHandle SymbolOfThisThread() {
    thread_local ThreadSymbol symbol;
    return symbol.get();
}

// Everything an encode depends on, as the Python layer hands it over (already validated).
struct Request {
    std::string_view data;
    int32_t scheme;
    int32_t size;
    std::array<int32_t, 4> options;  // encodation, GS1, ECI, shape; 0 is each one's default
    bool userMark;
    const char* productId;  // nullptr: no product mark
};

constexpr std::array<int32_t, 4> kOptionIds{ECC200_OPTION_ENCODATION, ECC200_OPTION_GS1,
                                            ECC200_OPTION_ECI, ECC200_OPTION_SHAPE};

struct Failure {
    int32_t status = ECC200_OK;
    Step step = Step::kNone;
};

// Loads request into the thread's symbol. Runs without the interpreter lock.
Failure Load(SymbolHandle symbol, const Request& request) {
    if (symbol == nullptr) return {ECC200_ERR_INTERNAL, Step::kCreate};
    // Clear empties the data, switches the marks off and resets the options; the scheme and the
    // size are set afresh right after.
    Clear_ECC200(symbol);
    int32_t status = SetScheme_ECC200(symbol, request.scheme);
    if (status == ECC200_OK) status = SetDimension_ECC200(symbol, request.size);
    if (status != ECC200_OK) return {status, Step::kOption};
    for (std::size_t i = 0; i < kOptionIds.size(); ++i) {
        if (request.options[i] == 0) continue;
        status = SetOption_ECC200(symbol, kOptionIds[i], request.options[i]);
        if (status != ECC200_OK) return {status, Step::kOption};
    }
    if (request.userMark) {
        status = SetSignUser_ECC200(symbol, 1);
        if (status != ECC200_OK) return {status, Step::kUserMark};
    }
    if (request.productId != nullptr) {
        status = SetSignProduct_ECC200(symbol, 1, request.productId);
        if (status != ECC200_OK) return {status, Step::kProductMark};
    }
    // Empty data is left unset: the library then encodes an empty symbol.
    if (!request.data.empty()) {
        status =
            SetDataToEncoding_ECC200(symbol, reinterpret_cast<const uint8_t*>(request.data.data()),
                                     static_cast<int32_t>(request.data.size()));
        if (status != ECC200_OK) return {status, Step::kData};
    }
    return {};
}

Request MakeRequest(const py::bytes& data, int32_t scheme, int32_t size, int32_t encodation,
                    int32_t gs1, int32_t eci, int32_t shape, bool userMark,
                    const py::object& productId) {
    char* bytes = nullptr;
    Py_ssize_t length = 0;
    if (PyBytes_AsStringAndSize(data.ptr(), &bytes, &length) != 0) throw py::error_already_set();
    const char* product = nullptr;
    if (!productId.is_none()) {
        product = PyBytes_AsString(productId.ptr());
        if (product == nullptr) throw py::error_already_set();
    }
    return {std::string_view(bytes, static_cast<std::size_t>(length)),
            scheme,
            size,
            {encodation, gs1, eci, shape},
            userMark,
            product};
}

// Encodes and returns (status, failed step, modules as bytes or None, scheme used, size used).
// The modules are rows x columns bytes, top row first, 1 dark and 0 light.
py::tuple Encode(const py::bytes& data, int32_t scheme, int32_t size, int32_t encodation,
                 int32_t gs1, int32_t eci, int32_t shape, bool userMark,
                 const py::object& productId) {
    const Request request =
        MakeRequest(data, scheme, size, encodation, gs1, eci, shape, userMark, productId);
    std::array<uint8_t, ECC200_MAX_MODULES> buffer;
    Failure failure;
    int32_t schemeUsed = 0;
    int32_t sizeUsed = -1;
    {
        py::gil_scoped_release release;
        const SymbolHandle symbol = SymbolOfThisThread();
        failure = Load(symbol, request);
        if (failure.status == ECC200_OK) {
            const int32_t status =
                WriteEncodedSymbolToBuf_ECC200(symbol, buffer.data(), ECC200_MAX_MODULES);
            if (status != ECC200_OK) failure = {status, Step::kEncode};
            schemeUsed = GetScheme_ECC200(symbol);
            sizeUsed = GetDimension_ECC200(symbol);
        }
    }
    if (failure.status != ECC200_OK || sizeUsed < 0 ||
        sizeUsed >= static_cast<int32_t>(ecc200_cli::kSizeRows.size())) {
        if (failure.status == ECC200_OK) failure = {ECC200_ERR_INTERNAL, Step::kEncode};
        return py::make_tuple(failure.status, static_cast<int>(failure.step), py::none(),
                              schemeUsed, sizeUsed);
    }
    const ecc200_cli::SizeRow& row = ecc200_cli::kSizeRows[static_cast<std::size_t>(sizeUsed)];
    py::bytes modules(reinterpret_cast<const char*>(buffer.data()),
                      static_cast<std::size_t>(row.rows * row.cols));
    return py::make_tuple(ECC200_OK, 0, std::move(modules), schemeUsed, sizeUsed);
}

// Encodes and writes the library's own BMP file; returns (status, failed step).
py::tuple WriteBmp(const py::bytes& data, int32_t scheme, int32_t size, int32_t encodation,
                   int32_t gs1, int32_t eci, int32_t shape, bool userMark,
                   const py::object& productId, int32_t moduleSize, int32_t quietZonePixels,
                   const py::bytes& path) {
    const Request request =
        MakeRequest(data, scheme, size, encodation, gs1, eci, shape, userMark, productId);
    const char* fileName = PyBytes_AsString(path.ptr());
    if (fileName == nullptr) throw py::error_already_set();
    Failure failure;
    {
        py::gil_scoped_release release;
        const SymbolHandle symbol = SymbolOfThisThread();
        failure = Load(symbol, request);
        if (failure.status == ECC200_OK) {
            const int32_t status =
                WriteEncodedSymbolToBMP_ECC200(symbol, moduleSize, quietZonePixels, fileName);
            if (status != ECC200_OK) failure = {status, Step::kEncode};
        }
    }
    return py::make_tuple(failure.status, static_cast<int>(failure.step));
}

py::tuple SizeTable() {
    py::list rows;
    for (const ecc200_cli::SizeRow& row : ecc200_cli::kSizeRows) {
        rows.append(py::make_tuple(row.rows, row.cols, row.dataCodewords));
    }
    return py::tuple(rows);
}

}  // namespace

PYBIND11_MODULE(_native, module) {
    module.doc() = "Compiled core of the ecc200 package; use the ecc200 module instead.";
    module.def("encode", &Encode, py::arg("data"), py::arg("scheme"), py::arg("size"),
               py::arg("encodation"), py::arg("gs1"), py::arg("eci"), py::arg("shape"),
               py::arg("user_mark"), py::arg("product_id"));
    module.def("write_bmp", &WriteBmp, py::arg("data"), py::arg("scheme"), py::arg("size"),
               py::arg("encodation"), py::arg("gs1"), py::arg("eci"), py::arg("shape"),
               py::arg("user_mark"), py::arg("product_id"), py::arg("module_size"),
               py::arg("quiet_zone_pixels"), py::arg("path"));
    module.def("version", [] { return std::string(Version_ECC200()); });
    module.attr("SIZES") = SizeTable();
    module.attr("MAX_DATA_LENGTH") = ECC200_MAX_DATA_LENGTH;
    module.attr("MAX_PRODUCT_ID") = ECC200_MAX_PRODUCT_ID;
    module.attr("SIZE_AUTO") = ECC200_SIZE_AUTO;
    module.attr("SCHEME_AUTO") = ECC200_SCHEME_AUTO;
    module.attr("SCHEME_ASCII") = ECC200_SCHEME_ASCII;
    module.attr("SCHEME_C40") = ECC200_SCHEME_C40;
    module.attr("SCHEME_TEXT") = ECC200_SCHEME_TEXT;
    module.attr("SCHEME_X12") = ECC200_SCHEME_X12;
    module.attr("SCHEME_EDIFACT") = ECC200_SCHEME_EDIFACT;
    module.attr("SCHEME_BASE256") = ECC200_SCHEME_BASE256;
    module.attr("ENCODATION_SMALLEST") = ECC200_ENCODATION_SMALLEST;
    module.attr("SHAPE_ANY") = ECC200_SHAPE_ANY;
    module.attr("STATUS_SIZE_TOO_SMALL") = ECC200_ERR_SIZE_TOO_SMALL;
    module.attr("STATUS_DATA_TOO_LONG") = ECC200_ERR_DATA_TOO_LONG;
    module.attr("STATUS_EDIFACT_BYTE") = ECC200_ERR_EDIFACT_BYTE;
    module.attr("STATUS_X12_BYTE") = ECC200_ERR_X12_BYTE;
    module.attr("STATUS_PARAMETER") = ECC200_ERR_PARAMETER;
    module.attr("STATUS_NO_IDENTITY") = ECC200_ERR_NO_IDENTITY;
    module.attr("STATUS_BASE256_EMPTY") = ECC200_ERR_BASE256_EMPTY;
    module.attr("STATUS_INTERNAL") = ECC200_ERR_INTERNAL;
}
