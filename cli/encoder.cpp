#include "encoder.h"

#include <utility>

#include "catalogue.h"
#include "gs1_data.h"
#include "messages.h"
#include "tool_error.h"

namespace ecc200_cli {

Encoder::Encoder() : handle_(CreateSymbol_ECC200()) {
    if (handle_ == nullptr) throw ToolError(kExitSymbolFailed, "out of memory");
}

Encoder::~Encoder() {
    DeleteSymbol_ECC200(handle_);
}

void Encoder::Load(const std::string& data, const SymbolSettings& settings) {
    data_ = data;
    humanReadable_.clear();
    settings_ = settings;
    if (settings.gs1) {
        data_ = Gs1ElementString(data, settings.gs1Relations);
        humanReadable_ = Gs1HumanReadable(data_);
    }
    // Clear empties the data and switches the marks off; scheme and size are set afresh below.
    Clear_ECC200(handle_);
    if (SetScheme_ECC200(handle_, settings.scheme) != ECC200_OK ||
        SetOption_ECC200(handle_, ECC200_OPTION_SIZE, settings.size) != ECC200_OK) {
        throw ToolError(kExitSymbolFailed, "the library refused the scheme or the size");
    }
    ApplyOptions(settings);
    ApplyMarks(settings);
    if (data_.empty()) return;
    if (data_.size() > ECC200_MAX_DATA_LENGTH) {
        throw ToolError(kExitSymbolFailed, DescribeTooMuchData(data_.size()));
    }
    const int32_t status =
        SetDataToEncoding_ECC200(handle_, reinterpret_cast<const uint8_t*>(data_.data()),
                                 static_cast<int32_t>(data_.size()));
    if (status != ECC200_OK) FailEncode(status);
}

void Encoder::ApplyOptions(const SymbolSettings& settings) {
    const std::pair<int32_t, int32_t> options[] = {
        {ECC200_OPTION_ENCODATION, settings.encodation},
        {ECC200_OPTION_GS1, Gs1Option(settings)},
        {ECC200_OPTION_ECI, settings.eci},
        {ECC200_OPTION_SHAPE, settings.shape},
        {ECC200_OPTION_READER_PROGRAMMING, settings.readerProgramming ? 1 : 0},
        {ECC200_OPTION_APPEND_POSITION, settings.appendPosition},
        {ECC200_OPTION_APPEND_COUNT, settings.appendCount},
        {ECC200_OPTION_APPEND_FILE_ID, settings.appendFileId},
    };
    for (const auto& [option, value] : options) {
        if (SetOption_ECC200(handle_, option, value) != ECC200_OK) {
            throw ToolError(kExitSymbolFailed, "the library refused option " +
                                                   std::to_string(option) + " = " +
                                                   std::to_string(value));
        }
    }
}

void Encoder::ApplyMarks(const SymbolSettings& settings) {
    if (settings.userMark) {
        const int32_t status = SetSignUser_ECC200(handle_, 1);
        if (status != ECC200_OK)
            throw ToolError(kExitSymbolFailed, DescribeMarkFailure(status, "user mark"));
    }
    if (settings.productId) {
        const int32_t status = SetSignProduct_ECC200(handle_, 1, settings.productId->c_str());
        if (status != ECC200_OK) {
            throw ToolError(kExitSymbolFailed, DescribeMarkFailure(status, "product mark"));
        }
    }
}

ModuleGrid Encoder::Encode() {
    std::vector<uint8_t> buffer(ECC200_MAX_MODULES);
    const int32_t status =
        WriteEncodedSymbolToBuf_ECC200(handle_, buffer.data(), static_cast<int32_t>(buffer.size()));
    if (status != ECC200_OK) FailEncode(status);
    const SizeFacts* size = FindSize(GetDimension_ECC200(handle_));
    if (size == nullptr) throw ToolError(kExitSymbolFailed, DescribeStatus(ECC200_ERR_INTERNAL));
    ModuleGrid grid;
    grid.rows = size->rows;
    grid.cols = size->cols;
    grid.sizeIndex = size->index;
    buffer.resize(static_cast<std::size_t>(size->rows * size->cols));
    grid.modules = std::move(buffer);
    return grid;
}

void Encoder::WriteBmp(const std::string& path, int moduleSize, int quietZonePixels) {
    const int32_t status =
        WriteEncodedSymbolToBMP_ECC200(handle_, moduleSize, quietZonePixels, path.c_str());
    if (status == ECC200_ERR_INTERNAL) {
        throw ToolError(kExitFileError, "the BMP file could not be written");
    }
    if (status == ECC200_ERR_PARAMETER) {
        throw ToolError(kExitSymbolFailed,
                        "the BMP picture would be too large; choose a smaller --module-size or "
                        "--quiet-zone");
    }
    if (status != ECC200_OK) FailEncode(status);
}

void Encoder::FailEncode(int32_t status) const {
    throw ToolError(kExitSymbolFailed, DescribeEncodeFailure(status, data_, settings_));
}

}  // namespace ecc200_cli
