// The compiled core of the Python package: one encode call over the library's C exports, with the
// interpreter lock released while the library works (reading lives in native_read.cpp). The Python
// layer (ecc200/*.py) validates arguments, names things and renders pictures; this file only moves
// bytes.
#include <pybind11/pybind11.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ecc200.h"
#include "failure_messages.h"
#include "geometry/size_table.h"
#include "gs1_conversion.h"
#include "native_read.h"
#include "split_plan.h"

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

// One ECC200_OPTION_* and its value.
struct OptionValue {
    int32_t option;
    int32_t value;
};

// More than the library has options, so that a new one needs no change here.
constexpr std::size_t kMaxOptions = 32;

// Everything an encode depends on, as the Python layer hands it over (already validated).
struct Request {
    std::string_view data;
    int32_t scheme;
    std::array<OptionValue, kMaxOptions> options;  // set in this order after a clear
    std::size_t optionCount;
    bool userMark;
    const char* productId;  // nullptr: no product mark

    // Sets option to value: the pair that names it, or a new one.
    void Set(int32_t option, int32_t value) {
        for (std::size_t i = 0; i < optionCount; ++i) {
            if (options[i].option == option) {
                options[i].value = value;
                return;
            }
        }
        if (optionCount < kMaxOptions) options[optionCount++] = {option, value};
    }
};

struct Failure {
    int32_t status = ECC200_OK;
    Step step = Step::kNone;
};

// Loads request into the thread's symbol. Runs without the interpreter lock.
Failure Load(SymbolHandle symbol, const Request& request) {
    if (symbol == nullptr) return {ECC200_ERR_INTERNAL, Step::kCreate};
    // Clear empties the data, switches the marks off and resets the options; the scheme and every
    // option are set afresh right after.
    Clear_ECC200(symbol);
    int32_t status = SetScheme_ECC200(symbol, request.scheme);
    if (status != ECC200_OK) return {status, Step::kOption};
    for (std::size_t i = 0; i < request.optionCount; ++i) {
        status = SetOption_ECC200(symbol, request.options[i].option, request.options[i].value);
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

// A Python int as an int32_t; false (with the Python error set) when it is none or out of range.
bool ReadInt32(PyObject* object, int32_t& out) {
    const long value = PyLong_AsLong(object);
    if (value == -1 && PyErr_Occurred()) return false;
    if (value < INT32_MIN || value > INT32_MAX) {
        PyErr_SetString(PyExc_OverflowError, "a setting is out of the 32-bit range");
        return false;
    }
    out = static_cast<int32_t>(value);
    return true;
}

// The (option, value) pairs of the settings into request.
bool ReadOptions(PyObject* pairs, Request& request) {
    if (!PyTuple_Check(pairs) || static_cast<std::size_t>(PyTuple_GET_SIZE(pairs)) > kMaxOptions) {
        PyErr_SetString(PyExc_TypeError, "options must be a tuple of (option, value) pairs");
        return false;
    }
    request.optionCount = 0;
    for (Py_ssize_t i = 0; i < PyTuple_GET_SIZE(pairs); ++i) {
        PyObject* pair = PyTuple_GET_ITEM(pairs, i);
        if (!PyTuple_Check(pair) || PyTuple_GET_SIZE(pair) != 2) {
            PyErr_SetString(PyExc_TypeError, "options must be a tuple of (option, value) pairs");
            return false;
        }
        OptionValue& option = request.options[request.optionCount++];
        if (!ReadInt32(PyTuple_GET_ITEM(pair, 0), option.option) ||
            !ReadInt32(PyTuple_GET_ITEM(pair, 1), option.value)) {
            return false;
        }
    }
    return true;
}

// Reads the settings that the Python layer builds (ecc200/_settings.py, Settings.native()):
// (scheme, ((option, value), ...), user mark, product identifier as bytes or None).
bool ReadRequest(PyObject* data, PyObject* settings, Request& request) {
    char* bytes = nullptr;
    Py_ssize_t length = 0;
    if (PyBytes_AsStringAndSize(data, &bytes, &length) != 0) return false;
    if (!PyTuple_Check(settings) || PyTuple_GET_SIZE(settings) != 4) {
        PyErr_SetString(PyExc_TypeError,
                        "settings must be (scheme, options, user mark, product identifier)");
        return false;
    }
    if (!ReadInt32(PyTuple_GET_ITEM(settings, 0), request.scheme)) return false;
    if (!ReadOptions(PyTuple_GET_ITEM(settings, 1), request)) return false;
    const int userMark = PyObject_IsTrue(PyTuple_GET_ITEM(settings, 2));
    if (userMark < 0) return false;
    PyObject* productId = PyTuple_GET_ITEM(settings, 3);
    const char* product = nullptr;
    if (productId != Py_None) {
        product = PyBytes_AsString(productId);
        if (product == nullptr) return false;
    }
    // Longer data is refused by the library all the same; the clamp keeps the length from
    // wrapping around in its 32-bit parameter.
    length = std::min<Py_ssize_t>(length, ECC200_MAX_DATA_LENGTH + 1);
    request.data = std::string_view(bytes, static_cast<std::size_t>(length));
    request.userMark = userMark != 0;
    request.productId = product;
    return true;
}

// encode(data: bytes, settings: tuple) -> (status, failed step, modules or None, scheme used,
// size used). The modules are rows x columns bytes, top row first, 1 dark and 0 light. Written
// against the C API with vectorcall-style arguments because it is the per-symbol path: it costs
// a fraction of a microsecond where argument conversion by pybind11 took over one.
PyObject* Encode(PyObject* /*module*/, PyObject* const* args, Py_ssize_t count) {
    if (count != 2) {
        PyErr_SetString(PyExc_TypeError, "encode() takes data and settings");
        return nullptr;
    }
    Request request{};
    if (!ReadRequest(args[0], args[1], request)) return nullptr;
    std::array<uint8_t, ECC200_MAX_MODULES> buffer;
    Failure failure;
    int32_t schemeUsed = 0;
    int32_t sizeUsed = -1;
    Py_BEGIN_ALLOW_THREADS const SymbolHandle symbol = SymbolOfThisThread();
    failure = Load(symbol, request);
    if (failure.status == ECC200_OK) {
        const int32_t status =
            WriteEncodedSymbolToBuf_ECC200(symbol, buffer.data(), ECC200_MAX_MODULES);
        if (status != ECC200_OK) failure = {status, Step::kEncode};
        schemeUsed = GetScheme_ECC200(symbol);
        sizeUsed = GetDimension_ECC200(symbol);
    }
    Py_END_ALLOW_THREADS const bool known =
        sizeUsed >= 0 && sizeUsed < static_cast<int32_t>(ecc200::SymbolSizeTable.size());
    if (failure.status == ECC200_OK && !known) failure = {ECC200_ERR_INTERNAL, Step::kEncode};
    if (failure.status != ECC200_OK) {
        return Py_BuildValue("(iiOii)", failure.status, static_cast<int>(failure.step), Py_None,
                             schemeUsed, sizeUsed);
    }
    const ecc200::SymbolSize& row = ecc200::SymbolSizeTable[static_cast<std::size_t>(sizeUsed)];
    PyObject* modules = PyBytes_FromStringAndSize(reinterpret_cast<const char*>(buffer.data()),
                                                  row.symbolRows * row.symbolCols);
    if (modules == nullptr) return nullptr;
    return Py_BuildValue("(iiNii)", ECC200_OK, 0, modules, schemeUsed, sizeUsed);
}

// Encodes and writes the library's own BMP file; returns (status, failed step).
py::tuple WriteBmp(const py::bytes& data, const py::tuple& settings, int32_t moduleSize,
                   int32_t quietZonePixels, const py::bytes& path) {
    Request request{};
    if (!ReadRequest(data.ptr(), settings.ptr(), request)) throw py::error_already_set();
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

// plan_split(data: bytes, settings: tuple, count: int) -> (pieces, refusal): the (offset, length)
// pieces of a structured append set of count symbols (0: the fewest), or None; and when a piece
// failed for another reason than its length, (offset, length, count) of the first such probe.
// The settings' append position and count are those of each probe; their file identifier is kept.
py::tuple PlanSplit(const py::bytes& data, const py::tuple& settings, int32_t count) {
    Request request{};
    if (!ReadRequest(data.ptr(), settings.ptr(), request)) throw py::error_already_set();
    std::optional<std::vector<ecc200_host::Piece>> plan;
    std::optional<std::array<std::size_t, 3>> refusal;
    {
        py::gil_scoped_release release;
        const SymbolHandle symbol = SymbolOfThisThread();
        const std::string_view all = request.data;
        plan = ecc200_host::PlanSplit(
            all.size(), count, [&](std::size_t offset, std::size_t length, int32_t symbols) {
                Request probe = request;
                probe.data = all.substr(offset, length);
                probe.userMark = false;  // marks never change what fits
                probe.productId = nullptr;
                probe.Set(ECC200_OPTION_APPEND_POSITION, symbols > 1 ? 1 : 0);
                probe.Set(ECC200_OPTION_APPEND_COUNT, symbols > 1 ? symbols : 0);
                if (symbols == 1) probe.Set(ECC200_OPTION_APPEND_FILE_ID, 0);
                Failure failure = Load(symbol, probe);
                std::array<uint8_t, ECC200_MAX_MODULES> buffer;
                if (failure.status == ECC200_OK) {
                    failure.status =
                        WriteEncodedSymbolToBuf_ECC200(symbol, buffer.data(), ECC200_MAX_MODULES);
                }
                if (failure.status != ECC200_OK && failure.status != ECC200_ERR_SIZE_TOO_SMALL &&
                    failure.status != ECC200_ERR_DATA_TOO_LONG && !refusal) {
                    refusal = {offset, length, static_cast<std::size_t>(symbols)};
                }
                return failure.status == ECC200_OK;
            });
    }
    py::object pieces = py::none();
    if (plan) {
        py::list list;
        for (const ecc200_host::Piece& piece : *plan)
            list.append(py::make_tuple(piece.offset, piece.length));
        pieces = list;
    }
    py::object refused = py::none();
    if (refusal) refused = py::make_tuple((*refusal)[0], (*refusal)[1], (*refusal)[2]);
    return py::make_tuple(pieces, refused);
}

// The size that request holds its data in, probed on the thread's symbol with the marks off and
// the size given (the automatic one with the square shape); nothing when it fails.
std::optional<int32_t> ProbeSize(Request probe, int32_t size) {
    probe.userMark = false;  // marks never change what fits
    probe.productId = nullptr;
    probe.Set(ECC200_OPTION_SIZE, size);
    if (size == ECC200_SIZE_AUTO) probe.Set(ECC200_OPTION_SHAPE, ECC200_SHAPE_SQUARE);
    const SymbolHandle symbol = SymbolOfThisThread();
    if (Load(symbol, probe).status != ECC200_OK) return std::nullopt;
    std::array<uint8_t, ECC200_MAX_MODULES> buffer;
    if (WriteEncodedSymbolToBuf_ECC200(symbol, buffer.data(), ECC200_MAX_MODULES) != ECC200_OK) {
        return std::nullopt;
    }
    return GetDimension_ECC200(symbol);
}

// The value of option among the request's pairs, or fallback.
int32_t OptionOf(const Request& request, int32_t option, int32_t fallback) {
    for (std::size_t i = 0; i < request.optionCount; ++i) {
        if (request.options[i].option == option) return request.options[i].value;
    }
    return fallback;
}

// describe_failure(status, step, data, settings) -> str: why an encode of data with settings
// failed with status in step, in the words the tool uses (host/failure_messages.h), hints spelt
// as Python keywords.
std::string DescribeFailure(int32_t status, int32_t step, const py::bytes& data,
                            const py::tuple& settings) {
    Request request{};
    if (!ReadRequest(data.ptr(), settings.ptr(), request)) throw py::error_already_set();
    const std::string_view whole(PyBytes_AS_STRING(data.ptr()),
                                 static_cast<std::size_t>(PyBytes_GET_SIZE(data.ptr())));
    py::gil_scoped_release release;
    if (step == static_cast<int32_t>(Step::kUserMark)) {
        return ecc200_host::DescribeMarkFailure(status, "user mark");
    }
    if (step == static_cast<int32_t>(Step::kProductMark)) {
        return ecc200_host::DescribeMarkFailure(status, "product mark");
    }
    const ecc200_host::FailedEncode failed{
        whole,
        request.scheme,
        OptionOf(request, ECC200_OPTION_SIZE, ECC200_SIZE_AUTO),
        OptionOf(request, ECC200_OPTION_GS1, ECC200_GS1_OFF) != ECC200_GS1_OFF,
        "scheme=\"auto\"",
        [&](int32_t size) { return ProbeSize(request, size); }};
    return ecc200_host::DescribeEncodeFailure(status, failed);
}

// gs1_element_string(text: bytes, flags: int) -> (status, output bytes or None, message): GS1
// data in either form checked and converted by the library (Gs1ElementString_ECC200).
py::tuple Gs1ElementString(const py::bytes& text, int32_t flags) {
    const ecc200_host::Gs1Conversion converted = ecc200_host::ConvertGs1(text, flags);
    if (converted.status != ECC200_OK) {
        return py::make_tuple(converted.status, py::none(), converted.message);
    }
    return py::make_tuple(converted.status, py::bytes(converted.text), std::string());
}

// Writes content to path by the library's one rule for replacing a file (links followed, mode and
// owner kept, complete or not at all); returns the library's status.
int32_t WriteFile(const py::bytes& path, const py::bytes& content) {
    const char* fileName = PyBytes_AsString(path.ptr());
    if (fileName == nullptr) throw py::error_already_set();
    std::string_view bytes = content;  // the caller holds the bytes object for the call
    py::gil_scoped_release release;
    const auto fill = [](const char* name, void* context) -> int32_t {
        const auto& text = *static_cast<const std::string_view*>(context);
        std::FILE* file = std::fopen(name, "wb");
        if (file == nullptr) return 0;
        const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        return std::fclose(file) == 0 && written ? 1 : 0;
    };
    return WriteFileReplacing_ECC200(fileName, fill, &bytes);
}

PyMethodDef kEncodeMethod = {
    "encode", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&Encode)), METH_FASTCALL,
    "encode(data: bytes, settings: tuple) -> (status, step, modules, scheme, size)"};

py::tuple SizeTable() {
    py::list rows;
    for (const ecc200::SymbolSize& row : ecc200::SymbolSizeTable) {
        rows.append(py::make_tuple(row.symbolRows, row.symbolCols, row.totalDataCodewords));
    }
    return py::tuple(rows);
}

}  // namespace

PYBIND11_MODULE(_native, module) {
    module.doc() = "Compiled core of the ecc200 package; use the ecc200 module instead.";
    const py::object moduleName = module.attr("__name__");
    module.add_object("encode", py::reinterpret_steal<py::object>(
                                    PyCFunction_NewEx(&kEncodeMethod, nullptr, moduleName.ptr())));
    module.def("write_bmp", &WriteBmp, py::arg("data"), py::arg("settings"), py::arg("module_size"),
               py::arg("quiet_zone_pixels"), py::arg("path"));
    module.def("plan_split", &PlanSplit, py::arg("data"), py::arg("settings"), py::arg("count"));
    module.def("describe_failure", &DescribeFailure, py::arg("status"), py::arg("step"),
               py::arg("data"), py::arg("settings"));
    module.def("file_id_of",
               [](const py::bytes& data) { return ecc200_host::FileIdOf(std::string_view(data)); });
    module.def("gs1_element_string", &Gs1ElementString, py::arg("text"), py::arg("flags"));
    module.def("write_file", &WriteFile, py::arg("path"), py::arg("content"));
    module.def("version", [] { return std::string(Version_ECC200()); });
    module.attr("SIZES") = SizeTable();
    module.attr("MAX_DATA_LENGTH") = ECC200_MAX_DATA_LENGTH;
    module.attr("MAX_PRODUCT_ID") = ECC200_MAX_PRODUCT_ID;
    module.attr("MAX_ECI") = ECC200_MAX_ECI;
    module.attr("ECI_UTF8") = ECC200_ECI_UTF8;
    module.attr("SIZE_AUTO") = ECC200_SIZE_AUTO;
    module.attr("SCHEME_AUTO") = ECC200_SCHEME_AUTO;
    module.attr("SCHEME_ASCII") = ECC200_SCHEME_ASCII;
    module.attr("SCHEME_C40") = ECC200_SCHEME_C40;
    module.attr("SCHEME_TEXT") = ECC200_SCHEME_TEXT;
    module.attr("SCHEME_X12") = ECC200_SCHEME_X12;
    module.attr("SCHEME_EDIFACT") = ECC200_SCHEME_EDIFACT;
    module.attr("SCHEME_BASE256") = ECC200_SCHEME_BASE256;
    module.attr("ENCODATION_SMALLEST") = ECC200_ENCODATION_SMALLEST;
    module.attr("OPTION_SIZE") = ECC200_OPTION_SIZE;
    module.attr("OPTION_ENCODATION") = ECC200_OPTION_ENCODATION;
    module.attr("OPTION_GS1") = ECC200_OPTION_GS1;
    module.attr("OPTION_ECI") = ECC200_OPTION_ECI;
    module.attr("OPTION_SHAPE") = ECC200_OPTION_SHAPE;
    module.attr("OPTION_READER_PROGRAMMING") = ECC200_OPTION_READER_PROGRAMMING;
    module.attr("OPTION_APPEND_POSITION") = ECC200_OPTION_APPEND_POSITION;
    module.attr("OPTION_APPEND_COUNT") = ECC200_OPTION_APPEND_COUNT;
    module.attr("OPTION_APPEND_FILE_ID") = ECC200_OPTION_APPEND_FILE_ID;
    module.attr("SHAPE_ANY") = ECC200_SHAPE_ANY;
    module.attr("SHAPE_DMRE") = ECC200_SHAPE_DMRE;
    module.attr("FIRST_DMRE_SIZE") = ECC200_SIZE_8X48;
    module.attr("STATUS_SIZE_TOO_SMALL") = ECC200_ERR_SIZE_TOO_SMALL;
    module.attr("STATUS_DATA_TOO_LONG") = ECC200_ERR_DATA_TOO_LONG;
    module.attr("STATUS_EDIFACT_BYTE") = ECC200_ERR_EDIFACT_BYTE;
    module.attr("STATUS_X12_BYTE") = ECC200_ERR_X12_BYTE;
    module.attr("STATUS_PARAMETER") = ECC200_ERR_PARAMETER;
    module.attr("STATUS_NO_IDENTITY") = ECC200_ERR_NO_IDENTITY;
    module.attr("STATUS_BASE256_EMPTY") = ECC200_ERR_BASE256_EMPTY;
    module.attr("STATUS_INTERNAL") = ECC200_ERR_INTERNAL;
    module.attr("STATUS_GS1") = ECC200_ERR_GS1;
    module.attr("GS1_FIELDS_ONLY") = ECC200_GS1_FIELDS_ONLY;
    module.attr("GS1_SKIP_RELATIONS") = ECC200_GS1_SKIP_RELATIONS;
    module.attr("GS1_HUMAN_READABLE") = ECC200_GS1_HUMAN_READABLE;
    AddReadFunctions(module);
}
