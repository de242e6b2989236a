#include "common/registry_export.h"

#include <algorithm>
#include <cstdio>

#include "ui/handles.h"

namespace {

std::wstring Describe(DWORD type, const std::vector<BYTE>& data) {
    std::wstring text = L"type=" + std::to_wstring(type) + L" bytes=" + std::to_wstring(data.size()) + L" ";
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        for (size_t i = 0; i + 1 < data.size(); i += 2) {
            const auto unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
            if (unit == L'\0') {
                text += L"\\0";
            } else {
                text += unit;
            }
        }
        return text;
    }
    for (BYTE byte : data) {
        wchar_t hex[4];
        swprintf(hex, 4, L"%02x", byte);
        text += hex;
    }
    return text;
}

void ExportKey(HKEY key, const std::wstring& relative, std::vector<std::wstring>& lines) {
    DWORD subkeyCount = 0, maxSubkey = 0, valueCount = 0, maxValueName = 0, maxData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeyCount, &maxSubkey, nullptr, &valueCount,
                         &maxValueName, &maxData, nullptr, nullptr) != ERROR_SUCCESS) {
        lines.push_back(L"[" + relative + L"] unreadable");
        return;
    }
    lines.push_back(L"[" + relative + L"]");

    std::vector<std::wstring> values;
    for (DWORD i = 0; i < valueCount; ++i) {
        std::wstring name(maxValueName + 1, L'\0');
        DWORD nameLength = static_cast<DWORD>(name.size());
        std::vector<BYTE> data(maxData + 2);
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS) {
            values.push_back(L"  unreadable value");
            continue;
        }
        name.resize(nameLength);
        data.resize(dataSize);
        values.push_back(L"  " + (name.empty() ? std::wstring(L"(default)") : name) + L" = " + Describe(type, data));
    }
    std::sort(values.begin(), values.end());
    lines.insert(lines.end(), values.begin(), values.end());

    std::vector<std::wstring> subkeys;
    for (DWORD i = 0; i < subkeyCount; ++i) {
        std::wstring name(maxSubkey + 1, L'\0');
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            name.resize(nameLength);
            subkeys.push_back(name);
        }
    }
    std::sort(subkeys.begin(), subkeys.end());
    for (const std::wstring& name : subkeys) {
        UniqueKey subkey;
        const std::wstring path = relative.empty() ? name : relative + L"\\" + name;
        if (RegOpenKeyExW(key, name.c_str(), 0, KEY_READ, subkey.put()) != ERROR_SUCCESS) {
            lines.push_back(L"[" + path + L"] cannot open");
            continue;
        }
        ExportKey(subkey.get(), path, lines);
    }
}

}  // namespace

std::vector<std::wstring> ExportRegistryTree(HKEY root, const std::wstring& path) {
    std::vector<std::wstring> lines;
    UniqueKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return lines;
    ExportKey(key.get(), L"", lines);
    return lines;
}
