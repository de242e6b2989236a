#include "takeover/key_state.h"

#include <cstring>

namespace {

constexpr uint32_t kMagic = 0x3153'4B51;  // "QKS1" as little-endian bytes
constexpr uint32_t kMaxValues = 16;
constexpr uint32_t kMaxNameChars = 255;
// Beyond what the registry advises for one value (2 KB), and what it allows (1 MB).
constexpr uint32_t kMaxDataBytes = 1024 * 1024;
constexpr uint32_t kMaxLevels = 64;

void PutNumber(std::vector<BYTE>& out, uint32_t number) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<BYTE>(number >> shift));
}

class Reader {
public:
    explicit Reader(const std::vector<BYTE>& bytes) : bytes(bytes) {}

    bool Number(uint32_t& number) {
        if (bytes.size() - at < 4) return false;
        number = 0;
        for (int i = 0; i < 4; ++i) number |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
        at += 4;
        return true;
    }
    bool Bytes(size_t count, const BYTE*& start) {
        if (bytes.size() - at < count) return false;
        start = bytes.data() + at;
        at += count;
        return true;
    }
    [[nodiscard]] bool AtEnd() const { return at == bytes.size(); }

private:
    const std::vector<BYTE>& bytes;
    size_t at = 0;
};

}  // namespace

uint32_t PathLevels(const std::wstring& subkey) {
    if (subkey.empty()) return 0;
    uint32_t levels = 1;
    for (wchar_t c : subkey) levels += c == L'\\';
    return levels;
}

std::wstring FirstLevels(const std::wstring& subkey, uint32_t levels) {
    if (levels == 0) return {};
    size_t end = 0;
    for (size_t from = 0; levels > 0; --levels, from = end + 1) {
        end = subkey.find(L'\\', from);
        if (end == std::wstring::npos) return subkey;
    }
    return subkey.substr(0, end);
}

std::vector<BYTE> EncodeKeyState(const KeyState& state) {
    std::vector<BYTE> out;
    PutNumber(out, kMagic);
    PutNumber(out, state.existingLevels);
    PutNumber(out, static_cast<uint32_t>(state.values.size()));
    for (const SavedValue& value : state.values) {
        PutNumber(out, static_cast<uint32_t>(value.name.size()));
        for (wchar_t c : value.name) {
            out.push_back(static_cast<BYTE>(c));
            out.push_back(static_cast<BYTE>(c >> 8));
        }
        PutNumber(out, value.present ? 1 : 0);
        PutNumber(out, value.type);
        PutNumber(out, static_cast<uint32_t>(value.data.size()));
        out.insert(out.end(), value.data.begin(), value.data.end());
    }
    return out;
}

std::optional<KeyState> DecodeKeyState(const std::vector<BYTE>& bytes) {
    Reader reader(bytes);
    uint32_t magic = 0;
    uint32_t count = 0;
    KeyState state;
    if (!reader.Number(magic) || magic != kMagic || !reader.Number(state.existingLevels) ||
        state.existingLevels > kMaxLevels || !reader.Number(count) || count > kMaxValues) {
        return std::nullopt;
    }
    for (uint32_t i = 0; i < count; ++i) {
        SavedValue value;
        uint32_t nameChars = 0;
        const BYTE* name = nullptr;
        if (!reader.Number(nameChars) || nameChars > kMaxNameChars || !reader.Bytes(size_t{nameChars} * 2, name)) {
            return std::nullopt;
        }
        for (size_t c = 0; c < nameChars; ++c) {
            value.name.push_back(static_cast<wchar_t>(name[2 * c] | (name[2 * c + 1] << 8)));
        }
        uint32_t present = 0;
        uint32_t type = 0;
        uint32_t size = 0;
        const BYTE* data = nullptr;
        if (!reader.Number(present) || present > 1 || !reader.Number(type) || !reader.Number(size) ||
            size > kMaxDataBytes || !reader.Bytes(size, data)) {
            return std::nullopt;
        }
        value.present = present == 1;
        value.type = type;
        value.data.assign(data, data + size);
        state.values.push_back(std::move(value));
    }
    if (!reader.AtEnd()) return std::nullopt;
    return state;
}

SavedValue TextValue(const std::wstring& name, const std::wstring& text, DWORD type) {
    SavedValue value{name, true, type, {}};
    value.data.resize((text.size() + 1) * sizeof(wchar_t));
    std::memcpy(value.data.data(), text.c_str(), value.data.size());
    return value;
}

std::optional<std::wstring> SavedText(const SavedValue& value) {
    if (!value.present || (value.type != REG_SZ && value.type != REG_EXPAND_SZ)) return std::nullopt;
    std::wstring text(value.data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), value.data.data(), text.size() * sizeof(wchar_t));
    const size_t end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return text;
}
