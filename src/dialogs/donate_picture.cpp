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

using StartupFunction = Status(WINAPI*)(ULONG_PTR* token, const StartupInput* input, void* output);
using ShutdownFunction = void(WINAPI*)(ULONG_PTR token);
using FromStreamFunction = Status(WINAPI*)(IStream* stream, Image** bitmap);
using ToBitmapFunction = Status(WINAPI*)(Image* bitmap, HBITMAP* result, DWORD background);
using SizeFunction = Status(WINAPI*)(Image* image, UINT* size);
using DisposeFunction = Status(WINAPI*)(Image* image);

// GDI+ is loaded the first time the picture is wanted, from the system folder
// only: importing it would load it, and what it needs, into every start.
struct FlatApi {
    StartupFunction startup = nullptr;
    ShutdownFunction shutdown = nullptr;
    FromStreamFunction fromStream = nullptr;
    ToBitmapFunction toBitmap = nullptr;
    SizeFunction width = nullptr;
    SizeFunction height = nullptr;
    DisposeFunction dispose = nullptr;
};

template <typename Function>
void Find(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Null when GDI+ or one of its functions is missing. The library stays loaded.
const FlatApi* Api() {
    static const FlatApi* const api = []() -> const FlatApi* {
        const HMODULE module = LoadLibraryExW(L"gdiplus.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!module) return nullptr;
        static FlatApi loaded;
        Find(module, "GdiplusStartup", loaded.startup);
        Find(module, "GdiplusShutdown", loaded.shutdown);
        Find(module, "GdipCreateBitmapFromStream", loaded.fromStream);
        Find(module, "GdipCreateHBITMAPFromBitmap", loaded.toBitmap);
        Find(module, "GdipGetImageWidth", loaded.width);
        Find(module, "GdipGetImageHeight", loaded.height);
        Find(module, "GdipDisposeImage", loaded.dispose);
        const bool complete = loaded.startup && loaded.shutdown && loaded.fromStream && loaded.toBitmap &&
                              loaded.width && loaded.height && loaded.dispose;
        return complete ? &loaded : nullptr;
    }();
    return api;
}

// Only a started session makes images, so the functions are there.
struct ImageTraits {
    using Type = Image*;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type image) noexcept { return image != nullptr; }
    static void Close(Type image) noexcept { Api()->dispose(image); }
};
using UniqueImage = UniqueHandle<ImageTraits>;

}  // namespace gdiplus

namespace {

constexpr int kDonatePictureResource = 102;

}  // namespace

GdiplusSession::GdiplusSession() {
    const gdiplus::FlatApi* api = gdiplus::Api();
    const gdiplus::StartupInput input{1, nullptr, FALSE, FALSE};
    started_ = api && api->startup(&token_, &input, nullptr) == gdiplus::kOk;
}

GdiplusSession::~GdiplusSession() {
    if (started_) gdiplus::Api()->shutdown(token_);
}

DonatePicture LoadDonatePicture() {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kDonatePictureResource), RT_RCDATA);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(module, found) : 0;
    if (!bytes || size == 0) return {};

    const gdiplus::FlatApi* api = gdiplus::Api();
    if (!api) return {};
    gdiplus::UniqueImage image;
    {
        ComPtr<IStream> stream;
        stream.attach(SHCreateMemStream(static_cast<const BYTE*>(bytes), size));
        if (!stream || api->fromStream(stream.get(), image.put()) != gdiplus::kOk || !image) {
            return {};
        }
    }
    DonatePicture picture;
    UINT width = 0;
    UINT height = 0;
    if (api->toBitmap(image.get(), picture.bitmap.put(), gdiplus::kOpaqueWhite) !=
            gdiplus::kOk ||
        !picture.bitmap || api->width(image.get(), &width) != gdiplus::kOk ||
        api->height(image.get(), &height) != gdiplus::kOk || width == 0 || height == 0) {
        return {};
    }
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    return picture;
}
