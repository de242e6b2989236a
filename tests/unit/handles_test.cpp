#include "ui/handles.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <type_traits>

#include "common/temp_folder.h"

namespace {

static_assert(!std::is_copy_constructible_v<UniqueKernelHandle>);
static_assert(!std::is_copy_assignable_v<UniqueKey>);
static_assert(std::is_nothrow_move_constructible_v<UniqueIcon>);
static_assert(!std::is_copy_constructible_v<ComPtr<IUnknown>>);

bool HandleIsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(Handles, KernelHandleIsClosedOnceWhenItsOwnerGoes) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(raw, nullptr);
    {
        UniqueKernelHandle owner(raw);
        UniqueKernelHandle moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_EQ(moved.get(), raw);
        EXPECT_TRUE(HandleIsOpen(raw));
    }
    EXPECT_FALSE(HandleIsOpen(raw));

    // The failure value of CreateFileW is not taken for a handle.
    UniqueKernelHandle failed(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(failed);
}

TEST(Handles, ReleaseGivesUpOwnershipAndResetClosesTheOldHandle) {
    HANDLE first = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE second = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    UniqueKernelHandle owner(first);
    owner.reset(second);
    EXPECT_FALSE(HandleIsOpen(first));
    HANDLE released = owner.release();
    EXPECT_EQ(released, second);
    EXPECT_FALSE(owner);
    EXPECT_TRUE(HandleIsOpen(second));
    CloseHandle(released);

    UniqueKernelHandle assigned;
    HANDLE third = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    UniqueKernelHandle source(third);
    assigned = std::move(source);
    EXPECT_EQ(assigned.get(), third);
}

TEST(Handles, RegistryKeyIsClosed) {
    UniqueKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
    HKEY raw = key.get();
    key.reset();
    DWORD subkeys = 0;
    EXPECT_NE(RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
}

TEST(Handles, UserAndGdiObjectsAreDestroyed) {
    UniqueMenu menu(CreatePopupMenu());
    HMENU rawMenu = menu.get();
    menu.reset();
    EXPECT_FALSE(IsMenu(rawMenu));

    UniqueBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    HBRUSH rawBrush = brush.get();
    EXPECT_NE(GetObjectType(rawBrush), 0u);
    brush.reset();
    EXPECT_EQ(GetObjectType(rawBrush), 0u);

    UniqueFont font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                L"SimSun"));
    HFONT rawFont = font.get();
    ASSERT_NE(GetObjectType(rawFont), 0u);
    font.reset();
    EXPECT_EQ(GetObjectType(rawFont), 0u);

    const BYTE andMask[4 * 4 / 8 * 4] = {};
    const BYTE xorMask[4 * 4 / 8 * 4] = {};
    UniqueIcon icon(CreateIcon(nullptr, 4, 4, 1, 1, andMask, xorMask));
    HICON rawIcon = icon.get();
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(rawIcon, &info));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    icon.reset();
    EXPECT_FALSE(GetIconInfo(rawIcon, &info));

    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc.get(), 4, 4));
    HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BITMAP);
    {
        SelectedObject selected(dc.get(), bitmap.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original);
}

// A COM object that counts its references, so the test sees every AddRef and Release.
class CountedObject : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
        if (iid != IID_IUnknown) {
            *result = nullptr;
            return E_NOINTERFACE;
        }
        *result = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    ULONG references = 1;
};

TEST(Handles, ComPointerHoldsExactlyOneReference) {
    CountedObject object;
    {
        ComPtr<IUnknown> owner;
        owner.attach(&object);
        EXPECT_EQ(object.references, 1u);
        ComPtr<IUnknown> moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_EQ(object.references, 1u);

        ComPtr<IUnknown> queried;
        EXPECT_EQ(moved.As(queried), S_OK);
        EXPECT_EQ(object.references, 2u);
        queried.reset();
        EXPECT_EQ(object.references, 1u);

        ComPtr<IShellItem> unsupported;
        EXPECT_EQ(moved.As(unsupported), E_NOINTERFACE);
        EXPECT_FALSE(unsupported);
    }
    EXPECT_EQ(object.references, 0u);
}

LRESULT CALLBACK PassMouseOn(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Handles, HookIsRemovedByItsOwner) {
    UniqueHook hook(SetWindowsHookExW(WH_MOUSE_LL, PassMouseOn, GetModuleHandleW(nullptr), 0));
    ASSERT_TRUE(hook);
    HHOOK raw = hook.get();
    hook.reset();
    // Removing it a second time fails: the owner already did.
    EXPECT_FALSE(UnhookWindowsHookEx(raw));
}

TEST(Handles, CoTaskMemoryIsFreedByItsOwner) {
    CoTaskMemString text(static_cast<PWSTR>(CoTaskMemAlloc(16)));
    EXPECT_TRUE(text);
    PWSTR raw = text.release();
    EXPECT_FALSE(text);
    CoTaskMemFree(raw);
}

TEST(Handles, FindHandleIsClosedByItsOwner) {
    TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    const std::wstring path = folder.Path().wstring();
    // An open search holds the folder open, so the folder cannot be opened exclusively.
    auto openExclusively = [&path] {
        return UniqueKernelHandle(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY, 0, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    };

    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW((path + L"\\*").c_str(), &entry));
    ASSERT_TRUE(find);
    EXPECT_FALSE(openExclusively());
    UniqueFind moved(std::move(find));
    EXPECT_FALSE(find);
    EXPECT_FALSE(openExclusively());
    moved.reset();
    EXPECT_TRUE(openExclusively());

    // The failure value of FindFirstFileW is not taken for a handle.
    UniqueFind failed(FindFirstFileW((path + L"\\missing\\*").c_str(), &entry));
    EXPECT_FALSE(failed);
    EXPECT_EQ(UniqueFind().get(), INVALID_HANDLE_VALUE);
}

}  // namespace

