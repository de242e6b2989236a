#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "driver/quorlen_driver.h"
#include "ui/version.h"

namespace {

#pragma pack(push, 2)
struct IconGroupHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

class ProgramResources : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(install.Ready());
        module = LoadLibraryExW(install.ExePath().c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }

    std::string Resource(LPCWSTR type, LPCWSTR name) const {
        HRSRC found = FindResourceW(module, name, type);
        if (!found) return {};
        const auto* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        return data ? std::string(data, SizeofResource(module, found)) : std::string();
    }

    std::vector<BYTE> VersionBlock() const {
        const std::wstring exe = install.ExePath().wstring();
        DWORD ignored = 0;
        std::vector<BYTE> block(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
        if (block.empty() || !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
            return {};
        }
        return block;
    }

    std::wstring VersionString(const std::wstring& name) const {
        std::vector<BYTE> block = VersionBlock();
        if (block.empty()) return {};
        void* value = nullptr;
        UINT length = 0;
        const std::wstring query = L"\\StringFileInfo\\080404b0\\" + name;
        if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) return {};
        return std::wstring(static_cast<const wchar_t*>(value));
    }

    QuorlenInstall install;
    HMODULE module = nullptr;
};

TEST_F(ProgramResources, VersionInformationNamesTheProgramWithItsChineseTitleIntact) {
    EXPECT_EQ(VersionString(L"ProductName"), L"Quorlen");
    EXPECT_EQ(VersionString(L"ProductVersion"), QUORLEN_VERSION_WIDE);
    EXPECT_EQ(VersionString(L"FileVersion"), QUORLEN_VERSION_WIDE);
    // The numbers the file's properties show, beside the texts.
    std::vector<BYTE> block = VersionBlock();
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(!block.empty() && VerQueryValueW(block.data(), L"\\", &value, &length) &&
                length >= sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(QUORLEN_VERSION_MINOR, QUORLEN_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, QUORLEN_VERSION_PATCH)));
    EXPECT_EQ(VersionString(L"FileDescription"), L"Quorlen文件资源管理器");
}

TEST_F(ProgramResources, WindowIconHasEverySize) {
    const std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(101));
    ASSERT_GE(group.size(), sizeof(IconGroupHeader));
    IconGroupHeader header{};
    memcpy(&header, group.data(), sizeof(header));
    ASSERT_GE(group.size(), sizeof(header) + header.count * sizeof(IconGroupEntry));
    std::set<int> sizes;
    for (WORD i = 0; i < header.count; ++i) {
        IconGroupEntry entry{};
        memcpy(&entry, group.data() + sizeof(header) + i * sizeof(IconGroupEntry), sizeof(entry));
        EXPECT_EQ(entry.bitCount, 32);
        sizes.insert(entry.width == 0 ? 256 : entry.width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 256}));
}

TEST_F(ProgramResources, ManifestAsksForPerMonitorDpiAndCommonControlsSix) {
    const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
    EXPECT_NE(manifest.find("PerMonitorV2, PerMonitor"), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"), std::string::npos);
}

}  // namespace
