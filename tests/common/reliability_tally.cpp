#include "common/reliability_tally.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr std::uint32_t kDefaultSeed = 20261209;

std::filesystem::path FiguresFile() {
    wchar_t exe[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, exe, static_cast<DWORD>(std::size(exe)));
    return std::filesystem::path(std::wstring(exe, length)).parent_path() / L"reliability-figures.tsv";
}

// Tabs and line ends would break the table's columns.
std::string OneField(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

}  // namespace

long long EnvironmentNumber(const char* name, long long fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    return (end != nullptr && *end == '\0') ? value : fallback;
}

std::uint32_t ReliabilitySeed() {
    return static_cast<std::uint32_t>(EnvironmentNumber("QUORLEN_SEED", kDefaultSeed));
}

int SoakFactor() {
    const long long factor = EnvironmentNumber("QUORLEN_SOAK", 1);
    return factor < 1 ? 1 : (factor > 1000 ? 1000 : static_cast<int>(factor));
}

void RecordReliability(const ReliabilityFigures& figures) {
    const long long failures = figures.failures + (testing::Test::HasFailure() ? 1 : 0);
    FILE* file = _wfopen(FiguresFile().c_str(), L"ab");
    if (file == nullptr) {
        ADD_FAILURE() << "cannot append to the reliability figures";
        return;
    }
    std::fprintf(file, "%s\t%lld\t%lld\t%s\t%lld\t%u\n", OneField(figures.area).c_str(), figures.cases,
                 figures.faults, OneField(figures.load).c_str(), failures, ReliabilitySeed());
    std::fclose(file);
}
