#include "dialogs/donate_picture.h"

#include <objidl.h>
#include <shlwapi.h>

namespace gdiplus {

// The few parts of GDI+'s flat interface the picture needs, declared here: the
// C++ headers of GDI+ do not build alongside NOMINMAX with every compiler.
struct StartupInput {
    UINT32 version;
    void* debugEventCallback;
    BOOL suppressBackgroundThread;
    BOOL suppressExternalCodecs;
};
struct Image;
using Status = int;
constexpr Status kOk = 0;
constexpr DWORD kOpaqueWhite = 0xFFFFFFFF;

extern "C" {
Status WINAPI GdiplusStartup(ULONG_PTR* token, const StartupInput* input, void* output);
void WINAPI GdiplusShutdown(ULONG_PTR token);
Status WINAPI GdipCreateBitmapFromStream(IStream* stream, Image** bitmap);
Status WINAPI GdipCreateHBITMAPFromBitmap(Image* bitmap, HBITMAP* result, DWORD background);
Status WINAPI GdipGetImageWidth(Image* image, UINT* width);
Status WINAPI GdipGetImageHeight(Image* image, UINT* height);
Status WINAPI GdipDisposeImage(Image* image);
}

struct ImageTraits {
    using Type = Image*;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type image) noexcept { return image != nullptr; }
    static void Close(Type image) noexcept { GdipDisposeImage(image); }
};
using UniqueImage = UniqueHandle<ImageTraits>;

}  // namespace gdiplus

namespace {

constexpr int kDonatePictureResource = 102;

}  // namespace

GdiplusSession::GdiplusSession() {
    const gdiplus::StartupInput input{1, nullptr, FALSE, FALSE};
    started_ = gdiplus::GdiplusStartup(&token_, &input, nullptr) == gdiplus::kOk;
}

GdiplusSession::~GdiplusSession() {
    if (started_) gdiplus::GdiplusShutdown(token_);
}

DonatePicture LoadDonatePicture() {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kDonatePictureResource), RT_RCDATA);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(module, found) : 0;
    if (!bytes || size == 0) return {};

    gdiplus::UniqueImage image;
    {
        ComPtr<IStream> stream;
        stream.attach(SHCreateMemStream(static_cast<const BYTE*>(bytes), size));
        if (!stream || gdiplus::GdipCreateBitmapFromStream(stream.get(), image.put()) != gdiplus::kOk || !image) {
            return {};
        }
    }
    DonatePicture picture;
    UINT width = 0;
    UINT height = 0;
    if (gdiplus::GdipCreateHBITMAPFromBitmap(image.get(), picture.bitmap.put(), gdiplus::kOpaqueWhite) !=
            gdiplus::kOk ||
        !picture.bitmap || gdiplus::GdipGetImageWidth(image.get(), &width) != gdiplus::kOk ||
        gdiplus::GdipGetImageHeight(image.get(), &height) != gdiplus::kOk || width == 0 || height == 0) {
        return {};
    }
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    return picture;
}
