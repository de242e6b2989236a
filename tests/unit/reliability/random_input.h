#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "common/reliability_tally.h"

// Generators of the hostile text that reaches the program's parsers, and a tally
// that reports the first few broken invariants in full and counts the rest.

// Code units that parsers of paths and lines treat specially, and some they must
// merely carry: line ends, zeros, the byte-order mark, lone surrogates, CJK,
// shell and command-interpreter metacharacters.
inline constexpr wchar_t kAwkwardUnitList[] =
    L"\r\n\0\t =\\/:\"%^&!()<>|*?.,;~-'\xFEFF\xFFFE\xD800\xDBFF\xDC00\xDFFF\x4E2D\x6587\x00E9\x200B";
inline const std::wstring kAwkwardUnits(kAwkwardUnitList, std::size(kAwkwardUnitList) - 1);

class RandomInput {
public:
    explicit RandomInput(std::uint32_t seed) : engine_(seed) {}

    [[nodiscard]] int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(engine_); }
    [[nodiscard]] bool Chance(int percent) { return Below(100) < percent; }

    // Any code unit at all.
    [[nodiscard]] wchar_t AnyUnit() { return static_cast<wchar_t>(Below(0x10000)); }

    // Mostly awkward units, some letters, some anything.
    [[nodiscard]] wchar_t MixedUnit() {
        const int pick = Below(10);
        if (pick < 5) return kAwkwardUnits[static_cast<size_t>(Below(static_cast<int>(kAwkwardUnits.size())))];
        if (pick < 8) return static_cast<wchar_t>(L'a' + Below(26));
        return AnyUnit();
    }

    // Lengths lean short but now and then run long.
    [[nodiscard]] size_t Length(size_t longest) {
        if (Chance(5)) return static_cast<size_t>(Below(static_cast<int>(longest) + 1));
        return static_cast<size_t>(Below(12));
    }

    [[nodiscard]] std::wstring MixedText(size_t longest) {
        std::wstring text(Length(longest), L'\0');
        for (wchar_t& unit : text) unit = MixedUnit();
        return text;
    }

    [[nodiscard]] std::string Bytes(size_t longest) {
        std::string bytes(Length(longest), '\0');
        for (char& byte : bytes) byte = static_cast<char>(Below(256));
        return bytes;
    }

    // One of the given texts.
    template <typename Text>
    [[nodiscard]] const Text& OneOf(const std::vector<Text>& choices) {
        return choices[static_cast<size_t>(Below(static_cast<int>(choices.size())))];
    }

    std::mt19937& Engine() { return engine_; }

private:
    std::mt19937 engine_;
};

// Counts broken invariants; the first few fail the test with their description,
// the rest only add to the count so that one fault does not flood the log.
class InvariantTally {
public:
    // The subject is text the invariant was checked on, shown after the description.
    void Check(bool holds, const char* what, const std::wstring& subject = {});

    [[nodiscard]] long long Failures() const { return failures_; }

private:
    long long failures_ = 0;
};

// A printable form of UTF-16 text for failure messages: ASCII as it is, the rest as \uXXXX.
inline std::string Printable(const std::wstring& text) {
    std::string out;
    for (const wchar_t unit : text) {
        if (unit >= 0x20 && unit < 0x7F) {
            out.push_back(static_cast<char>(unit));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\u%04X", static_cast<unsigned>(unit));
            out += escaped;
        }
    }
    return out;
}

inline void InvariantTally::Check(bool holds, const char* what, const std::wstring& subject) {
    if (holds) return;
    ++failures_;
    if (failures_ <= 5) ADD_FAILURE() << what << (subject.empty() ? "" : " \"") << Printable(subject)
                                      << (subject.empty() ? "" : "\"");
}
