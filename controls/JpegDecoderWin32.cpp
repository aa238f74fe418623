// JPEG decoding on Windows, where no libjpeg is built: the system's Windows Imaging
// Component, asked for its JPEG decoder only, so that a picture of another format counts
// as damaged as it does with libjpeg.
#include <windows.h>
// After windows.h:
#include <wincodec.h>

#include "controls/JpegDecoder.h"

namespace mxc9 {

namespace {

// A COM interface pointer released when it goes.
template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** put() { return &p_; }

  private:
    T* p_ = nullptr;
};

// COM for this thread for as long as the decoder works, unless the thread has it
// already (in either model: WIC works in both).
class ComForThisThread {
  public:
    ComForThisThread() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComForThisThread() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComForThisThread(const ComForThisThread&) = delete;
    ComForThisThread& operator=(const ComForThisThread&) = delete;
    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

  private:
    HRESULT result_;
};

bool DecodeInto(const std::uint8_t* data, std::size_t size, RgbImage& out) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.put()))))
        return false;
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size))))
        return false;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoder(GUID_ContainerFormatJpeg, nullptr, decoder.put())) ||
        FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)))
        return false;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put()))) return false;
    UINT width = 0, height = 0;
    if (FAILED(frame->GetSize(&width, &height))) return false;
    const long long pixels = static_cast<long long>(width) * height;
    if (pixels <= 0 || pixels > kMaxJpegPixels) return false;
    // Three components only, as the libjpeg decoder takes them: a grey or CMYK picture
    // is not the logo.
    WICPixelFormatGUID format{};
    if (FAILED(frame->GetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR)
        return false;
    const UINT stride = width * 3;
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(pixels) * 3);
    if (FAILED(frame->CopyPixels(nullptr, stride, static_cast<UINT>(bgr.size()), bgr.data())))
        return false;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.pixels.resize(bgr.size());
    for (std::size_t i = 0; i < bgr.size(); i += 3) {
        out.pixels[i] = bgr[i + 2];
        out.pixels[i + 1] = bgr[i + 1];
        out.pixels[i + 2] = bgr[i];
    }
    return true;
}

}  // namespace

std::optional<RgbImage> DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size == 0 || size > MAXDWORD) return std::nullopt;
    const ComForThisThread com;
    if (!com.usable()) return std::nullopt;
    RgbImage image;
    if (!DecodeInto(data, size, image)) return std::nullopt;
    return image;
}

}  // namespace mxc9
