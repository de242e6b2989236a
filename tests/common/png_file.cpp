#include "common/png_file.h"

#include <wincodec.h>

#include "common/bitmap_pixels.h"
#include "ui/handles.h"

namespace {

// WIC needs COM on the calling thread; a thread that already has it keeps its apartment.
class ComForThisCall {
public:
    ComForThisCall() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComForThisCall() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComForThisCall(const ComForThisCall&) = delete;
    ComForThisCall& operator=(const ComForThisCall&) = delete;

private:
    HRESULT result_;
};

}  // namespace

bool SavePng(const RGBQUAD* pixels, int width, int height, const std::wstring& path) {
    if (!pixels || width <= 0 || height <= 0) return false;
    ComForThisCall com;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put()))))
        return false;
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)))
        return false;
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)))
        return false;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(encoder->CreateNewFrame(frame.put(), options.put())) || FAILED(frame->Initialize(options.get())) ||
        FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))))
        return false;
    // The encoder may answer with another format; only the one asked for matches the pixels.
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat32bppBGRA) return false;
    const UINT stride = static_cast<UINT>(width) * sizeof(RGBQUAD);
    if (FAILED(frame->WritePixels(static_cast<UINT>(height), stride, stride * static_cast<UINT>(height),
                                  reinterpret_cast<BYTE*>(const_cast<RGBQUAD*>(pixels)))))
        return false;
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

bool SaveBitmapAsPng(HBITMAP bitmap, const std::wstring& path) {
    PixelImage image = ReadBitmapPixels(bitmap);
    if (image.pixels.empty()) return false;
    for (RGBQUAD& pixel : image.pixels) pixel.rgbReserved = 255;
    return SavePng(image.pixels.data(), image.width, image.height, path);
}
