#include <wincodec.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "png_writer.h"

// PNG through the encoder Windows itself provides (Windows Imaging Component): 1-bit black and
// white for black on white, otherwise 1-bit indexed with a two-entry palette whose alpha values
// become the file's transparency. The file is built in memory, then copied to the stream.

namespace ecc200_cli {
namespace {

// Owns one reference to a COM interface.
template <class Interface>
class Owned {
  public:
    Owned() = default;
    ~Owned() {
        if (pointer_ != nullptr) pointer_->Release();
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Interface** Receive() { return &pointer_; }
    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }

  private:
    Interface* pointer_ = nullptr;
};

// COM for the calling thread, for as long as the object lives (threads of a batch each call it).
class ComForThisThread {
  public:
    ComForThisThread() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComForThisThread() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComForThisThread(const ComForThisThread&) = delete;
    ComForThisThread& operator=(const ComForThisThread&) = delete;

    // Already set up differently on this thread still lets the thread use COM.
    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

  private:
    HRESULT result_;
};

WICColor ToWicColour(const Colour& colour) {
    return (static_cast<WICColor>(colour.alpha) << 24) | (static_cast<WICColor>(colour.red) << 16) |
           (static_cast<WICColor>(colour.green) << 8) | colour.blue;
}

// Packs the pixels of module row moduleRow (outside the symbol: quiet zone) eight to a byte,
// the leftmost pixel in the highest bit.
void PackRow(const ModuleGrid& grid, const RenderSettings& render, bool palette, int moduleRow,
             std::vector<BYTE>& row) {
    // Black-and-white has 0 black and 1 white; the palette has entry 0 light and entry 1 dark.
    const bool lightIsOne = !palette;
    std::fill(row.begin(), row.end(), lightIsOne ? 0xFF : 0x00);
    if (moduleRow < 0 || moduleRow >= grid.rows) return;
    for (int col = 0; col < grid.cols; ++col) {
        if (!grid.Dark(moduleRow, col)) continue;
        const int start = (render.quietZone + col) * render.moduleSize;
        for (int x = start; x < start + render.moduleSize; ++x) {
            BYTE& byte = row[static_cast<std::size_t>(x / 8)];
            const auto bit = static_cast<BYTE>(0x80 >> (x % 8));
            byte = static_cast<BYTE>(lightIsOne ? byte & ~bit : byte | bit);
        }
    }
}

bool SetFormat(IWICImagingFactory* factory, IWICBitmapFrameEncode* frame,
               const RenderSettings& render, bool palette) {
    WICPixelFormatGUID format =
        palette ? GUID_WICPixelFormat1bppIndexed : GUID_WICPixelFormatBlackWhite;
    const WICPixelFormatGUID wanted = format;
    if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, wanted)) return false;
    if (!palette) return true;
    WICColor colours[2] = {ToWicColour(render.light), ToWicColour(render.dark)};
    Owned<IWICPalette> entries;
    return SUCCEEDED(factory->CreatePalette(entries.Receive())) &&
           SUCCEEDED(entries->InitializeCustom(colours, 2)) &&
           SUCCEEDED(frame->SetPalette(entries.get()));
}

bool EncodeFrame(IWICImagingFactory* factory, IWICBitmapEncoder* encoder, const ModuleGrid& grid,
                 const RenderSettings& render) {
    const bool palette = render.coloured();
    const auto width = static_cast<UINT>((grid.cols + 2 * render.quietZone) * render.moduleSize);
    const auto height = static_cast<UINT>((grid.rows + 2 * render.quietZone) * render.moduleSize);
    Owned<IWICBitmapFrameEncode> frame;
    Owned<IPropertyBag2> properties;
    if (FAILED(encoder->CreateNewFrame(frame.Receive(), properties.Receive())) ||
        FAILED(frame->Initialize(properties.get())) || FAILED(frame->SetSize(width, height)) ||
        !SetFormat(factory, frame.get(), render, palette)) {
        return false;
    }
    if (render.dpi && FAILED(frame->SetResolution(*render.dpi, *render.dpi))) return false;
    const UINT stride = (width + 7) / 8;
    std::vector<BYTE> row(stride);
    for (int moduleRow = -render.quietZone; moduleRow < grid.rows + render.quietZone; ++moduleRow) {
        PackRow(grid, render, palette, moduleRow, row);
        for (int i = 0; i < render.moduleSize; ++i) {
            if (FAILED(frame->WritePixels(1, stride, stride, row.data()))) return false;
        }
    }
    return SUCCEEDED(frame->Commit());
}

// Copies the whole content of a memory stream to out.
bool CopyToFile(IStream* stream, std::FILE* out) {
    STATSTG status{};
    HGLOBAL memory = nullptr;
    if (FAILED(stream->Stat(&status, STATFLAG_NONAME)) ||
        FAILED(GetHGlobalFromStream(stream, &memory))) {
        return false;
    }
    const auto size = static_cast<std::size_t>(status.cbSize.QuadPart);
    const void* bytes = GlobalLock(memory);
    if (bytes == nullptr) return false;
    const bool written = std::fwrite(bytes, 1, size, out) == size;
    GlobalUnlock(memory);
    return written;
}

}  // namespace

bool WritePng(const ModuleGrid& grid, const RenderSettings& render, std::FILE* out) {
    const ComForThisThread com;
    if (!com.usable()) return false;
    Owned<IWICImagingFactory> factory;
    Owned<IStream> stream;
    Owned<IWICBitmapEncoder> encoder;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.Receive()))) ||
        FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive())) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Receive())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        !EncodeFrame(factory.get(), encoder.get(), grid, render) || FAILED(encoder->Commit())) {
        return false;
    }
    return CopyToFile(stream.get(), out);
}

}  // namespace ecc200_cli
