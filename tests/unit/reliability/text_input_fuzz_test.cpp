#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/posted_path.h"
#include "commandbar/address_segments.h"
#include "random_input.h"
#include "settings/history.h"
#include "settings/line_file.h"
#include "settings/load_settings.h"
#include "settings/settings_file.h"
#include "ui/paths.h"

namespace {

using Lines = std::vector<std::wstring>;

bool HoldsLineBreakOrIsEmpty(const std::wstring& line) {
    return line.empty() || line.find_first_of(L"\r\n") != std::wstring::npos;
}

// Bytes a line file might hold: random bytes, or UTF-16 built from awkward units,
// with or without a byte-order mark, of odd or even length.
std::string LineFileBytes(RandomInput& random) {
    std::string bytes;
    if (random.Chance(30)) {
        bytes = random.Bytes(4096);
    } else {
        const std::wstring text = random.MixedText(2048);
        bytes.assign(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    }
    if (random.Chance(40)) bytes.insert(0, "\xFF\xFE", 2);
    if (random.Chance(15)) bytes.push_back(static_cast<char>(random.Below(256)));
    return bytes;
}

// Lines the writer may be given: anything without a line break, never empty.
Lines WritableLines(RandomInput& random) {
    Lines lines(static_cast<size_t>(random.Below(8)));
    for (std::wstring& line : lines) {
        do {
            line = random.MixedText(300);
            std::erase_if(line, [](wchar_t unit) { return unit == L'\r' || unit == L'\n'; });
        } while (line.empty());
    }
    // A byte-order mark at the start of the first line would be taken for the file's own.
    if (!lines.empty() && lines.front().front() == 0xFEFF) lines.front().front() = L'x';
    return lines;
}

TEST(ReliabilityLineFileTest, DecodedLinesAreNeverEmptyNorHoldLineBreaksAndWrittenLinesReadBack) {
    RandomInput random(ReliabilitySeed());
    InvariantTally tally;
    const long long cases = Scaled(4000);
    for (long long i = 0; i < cases; ++i) {
        const std::string bytes = LineFileBytes(random);
        const Lines lines = DecodeLines(bytes);
        size_t units = 0;
        for (const std::wstring& line : lines) {
            tally.Check(!HoldsLineBreakOrIsEmpty(line), "decoded an empty line or one with a line break");
            units += line.size();
        }
        tally.Check(units <= bytes.size() / 2, "decoded more units than the bytes hold");
        tally.Check(DecodeLines(EncodeLines(lines)) == lines, "re-encoding what was decoded changed it");

        const Lines written = WritableLines(random);
        tally.Check(DecodeLines(EncodeLines(written)) == written, "written lines did not read back equal");
    }

    // The shapes a damaged file takes most often.
    const std::string edges[] = {
        "", "\xFF", "\xFF\xFE", "\xFE\xFF", "\xFF\xFE\x0D", std::string("\xFF\xFE\r\0\n\0", 6),
        std::string("\0\0\0\0", 4), std::string(1 << 20, 'A'),
    };
    for (const std::string& bytes : edges) {
        for (const std::wstring& line : DecodeLines(bytes)) {
            tally.Check(!HoldsLineBreakOrIsEmpty(line), "an edge case decoded a bad line");
        }
    }
    tally.Check(DecodeLines(std::string("\xFF\xFE", 2)).empty(), "a file of only the byte-order mark is not empty");
    tally.Check(DecodeLines(std::string(1 << 20, 'A')).size() == 1, "one huge line did not stay one line");

    RecordReliability({"line-file decoder", cases * 2 + static_cast<long long>(std::size(edges)), 0, "",
                       tally.Failures()});
}

// A settings line: usually a known key, now and then a near miss, with a value of
// awkward text or of digits beyond every range.
std::wstring SettingsLine(RandomInput& random) {
    static const Lines keys = {L"NavVisible",  L"ViewMode",   L"ViewIconSize", L"NewTabPath", L"BackupDir",
                               L"ActiveTab",   L"HistoryLimit", L"WindowX",    L"WindowHeight", L"Takeover",
                               L"navvisible",  L"ViewMode ",  L"",             L"=",          L"\xFEFFViewMode"};
    static const Lines values = {L"1", L"0", L"-1", L"99999999999999999999", L"-99999999999999999999",
                                 L"+7", L" 12", L"4x", L"", L"=", L"2147483648", L"-2147483649"};
    std::wstring line = random.Chance(70) ? random.OneOf(keys) : random.MixedText(40);
    if (random.Chance(90)) line += L"=";
    line += random.Chance(50) ? random.OneOf(values) : random.MixedText(200);
    return line;
}

Settings RandomSettings(RandomInput& random) {
    auto number = [&random] {
        return random.Chance(20) ? (random.Chance(50) ? std::numeric_limits<int32_t>::min()
                                                      : std::numeric_limits<int32_t>::max())
                                 : random.Below(2000) - 1000;
    };
    auto text = [&random] {
        std::wstring value = random.MixedText(100);
        std::erase_if(value, [](wchar_t unit) { return unit == L'\r' || unit == L'\n'; });
        return value;
    };
    Settings settings;
    settings.NavVisible = random.Chance(50);
    settings.DetailsVisible = random.Chance(50);
    settings.PreviewVisible = random.Chance(50);
    settings.ShowHiddenFiles = random.Chance(50);
    settings.ShowFileExt = random.Chance(50);
    settings.ViewMode = number();
    settings.ViewIconSize = number();
    settings.Takeover = random.Chance(50);
    settings.FavBarVisible = random.Chance(50);
    settings.SearchBoxVisible = random.Chance(50);
    settings.NewTabPath = text();
    settings.BackupDir = text();
    settings.ActiveTab = number();
    settings.HistoryLimit = number();
    settings.HasWindowRect = true;  // the window lines are always written
    settings.WindowX = number();
    settings.WindowY = number();
    settings.WindowWidth = number();
    settings.WindowHeight = number();
    return settings;
}

TEST(ReliabilitySettingsReaderTest, AnyLinesGiveARecordAndWhatIsSavedLoadsBackEqual) {
    RandomInput random(ReliabilitySeed() + 1);
    InvariantTally tally;
    const long long cases = Scaled(3000);
    for (long long i = 0; i < cases; ++i) {
        Lines lines(static_cast<size_t>(random.Below(30)));
        for (std::wstring& line : lines) line = SettingsLine(random);
        // Through the file decoder, as a load sees them.
        const Settings loaded = ParseSettingsLines(DecodeLines(EncodeLines(DecodeLines(EncodeLines(lines)))));
        const int32_t limit = ClampHistoryLimit(loaded.HistoryLimit);
        tally.Check(limit >= 1 && limit <= kMaxHistoryLimit, "the history limit left its range");

        const Settings saved = RandomSettings(random);
        const Settings reread = ParseSettingsLines(DecodeLines(EncodeLines(PrintSettingsLines(saved))));
        tally.Check(reread == saved, "a saved record did not load back equal; its new-tab path:", saved.NewTabPath);

        // Updating some lines in place leaves the others and reads back what was set.
        const int64_t x = static_cast<int64_t>(random.Below(100000)) - 50000;
        const Lines updated = WithSettingValues(lines, {{L"WindowX", x}, {L"ActiveTab", 3}});
        tally.Check(updated.size() <= lines.size() + 2, "updating two values added more than two lines");
        const Settings afterUpdate = ParseSettingsLines(updated);
        tally.Check(afterUpdate.ActiveTab == 3 && afterUpdate.WindowX == x, "an updated value did not read back");
    }
    RecordReliability({"settings.txt reader", cases * 3, 0, "", tally.Failures()});
}

// The decimal reading rule, spelt out independently: white space, a sign,
// digits up to the first non-digit, clamped to 32 bits.
int32_t ExpectedDecimal(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    long double value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) value = value * 10 + (text[i] - L'0');
    if (negative) value = -value;
    value = std::clamp<long double>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(value);
}

TEST(ReliabilitySettingsReaderTest, DecimalsAreReadAsTheRuleSaysWhateverTheirText) {
    RandomInput random(ReliabilitySeed() + 2);
    InvariantTally tally;
    const long long cases = Scaled(5000);
    const std::wstring digitsAndSigns = L"0123456789+- \t\v\f\rx";
    for (long long i = 0; i < cases; ++i) {
        std::wstring text(random.Length(40), L'0');
        for (wchar_t& unit : text) {
            unit = random.Chance(80) ? digitsAndSigns[static_cast<size_t>(random.Below(
                                           static_cast<int>(digitsAndSigns.size())))]
                                     : random.MixedUnit();
        }
        tally.Check(ParseDecimal(text) == ExpectedDecimal(text), "a decimal read wrongly:", text);
    }
    RecordReliability({"settings.txt decimals", cases, 0, "", tally.Failures()});
}

// The command-line rules, spelt out independently of the parser.
CommandLineRequest ExpectedRequest(const Lines& arguments) {
    auto lowered = [](std::wstring text) {
        for (wchar_t& unit : text) {
            if (unit >= L'A' && unit <= L'Z') unit = static_cast<wchar_t>(unit + 32);
        }
        return text;
    };
    // The shell's quoted "C:\" arrives as C:" (see the parser).
    auto asPath = [](std::wstring text) {
        if (!text.empty() && text.back() == L'"') text.back() = L'\\';
        return text;
    };
    CommandLineRequest request;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (argument.empty() || (argument[0] != L'-' && argument[0] != L'/')) {
            request.path = asPath(argument);
            continue;
        }
        const std::wstring option = lowered(argument.substr(1));
        if (option == L"d" || option == L"n") continue;
        if (option.rfind(L"select,", 0) == 0) {
            request.select = true;
            request.path = asPath(argument.substr(8));
        } else if (option == L"select") {
            if (i + 1 < arguments.size()) {
                request.select = true;
                request.path = asPath(arguments[++i]);
            }
        } else if (option == L"-restart") {
            request.restart = true;
        } else if (option == L"uninstall") {
            request.uninstall = true;
        } else if (option == L"silent") {
            request.silent = true;
        }
    }
    return request;
}

TEST(ReliabilityCommandLineTest, AnyArgumentsAreParsedByTheRules) {
    RandomInput random(ReliabilitySeed() + 3);
    InvariantTally tally;
    const Lines tokens = {L"/select",   L"-SELECT",  L"/select,",   L"/Select,C:\\a b\\文件.txt", L"--restart",
                          L"-restart",  L"/-RESTART", L"/n",        L"/D",  L"-n",     L"uninstall", L"/uninstall",
                          L"-silent",   L"/SILENT",  L"/",          L"-",   L"",        L"C:\\",       L"C:\"",
                          L"\"",        L"\\\\?\\C:\\x", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"/selectx",
                          L"/select,\"", L"%1",      L"&calc",      L"😀\\^!"};
    const long long cases = Scaled(4000);
    for (long long i = 0; i < cases; ++i) {
        Lines arguments(static_cast<size_t>(random.Below(7)));
        for (std::wstring& argument : arguments) {
            argument = random.Chance(75) ? random.OneOf(tokens) : random.MixedText(300);
        }
        const CommandLineRequest parsed = ParseCommandLine(arguments);
        tally.Check(parsed == ExpectedRequest(arguments), "arguments parsed against the rules");
    }

    // Whole command lines as another program may pass them, split as the process splits its own.
    long long lines = 0;
    for (long long i = 0; i < Scaled(1000); ++i, ++lines) {
        const std::wstring commandLine = L"Quorlen.exe " + random.MixedText(400);
        int count = 0;
        LPWSTR* argv = CommandLineToArgvW(commandLine.c_str(), &count);
        if (argv == nullptr) continue;
        Lines arguments;
        size_t longest = 0;
        for (int j = 1; j < count; ++j) {
            arguments.emplace_back(argv[j]);
            longest = std::max(longest, arguments.back().size());
        }
        LocalFree(argv);
        const CommandLineRequest parsed = ParseCommandLine(arguments);
        tally.Check(parsed.path.size() <= longest, "the path grew beyond its argument");
    }
    RecordReliability({"command line", cases + lines, 0, "", tally.Failures()});
}

TEST(ReliabilityHistoryTest, PushingKeepsOneEntryPerFolderWithinTheLimitAndTheNewestLast) {
    RandomInput random(ReliabilitySeed() + 4);
    InvariantTally tally;
    const Lines folders = {L"C:\\",          L"C:\\Data",   L"c:\\data\\",   L"C:\\Data\\\\", L"C:",
                           L"\\\\srv\\share", L"\\\\SRV\\Share\\", L"::{bogus}", L"C:\\文件夹",  L"C:\\\xD800",
                           L"\\\\?\\C:\\x",   L"D:\\a&b^c%d!"};
    const long long cases = Scaled(3000);
    Lines history;
    int limit = 5;
    for (long long i = 0; i < cases; ++i) {
        if (random.Chance(5)) limit = random.Below(12) - 2;
        // A load keeps the newest entries of a longer file.
        const auto loadKeeps = static_cast<std::ptrdiff_t>(EffectiveHistoryLimit(limit));
        if (random.Chance(3) && std::ssize(history) > loadKeeps) history.erase(history.begin(), history.end() - loadKeeps);
        const std::wstring path = random.Chance(80) ? random.OneOf(folders) : random.MixedText(60);
        const Lines before = history;
        history = PushedHistory(history, path, limit);
        if (path.empty()) {
            tally.Check(history == before, "an empty path changed the history");
            continue;
        }
        const auto effective = static_cast<size_t>(EffectiveHistoryLimit(limit));
        tally.Check(history.size() <= std::max(effective, before.size()), "the history outgrew its limit");
        tally.Check(!history.empty() && history.back() == path, "the pushed path is not the newest entry");
        for (size_t a = 0; a < history.size(); ++a) {
            for (size_t b = a + 1; b < history.size(); ++b) {
                tally.Check(!SamePath(history[a], history[b]),
                            "two entries name the same folder:", history[a]);
            }
        }
        // The others keep their order.
        Lines others = before;
        std::erase_if(others, [&path](const std::wstring& entry) { return SamePath(entry, path); });
        const Lines kept(history.begin(), history.end() - 1);
        tally.Check(kept.size() <= others.size() &&
                        std::equal(kept.begin(), kept.end(), others.end() - static_cast<ptrdiff_t>(kept.size())),
                    "the older entries are not the newest of those before, in their order");
        if (random.Chance(30) && !history.empty()) {
            Lines popped = history;
            tally.Check(TakeMostRecent(popped) == path && popped == kept, "taking the newest entry went wrong");
        }
    }

    // The comparison itself: symmetric, blind to case and trailing backslashes.
    long long comparisons = 0;
    for (long long i = 0; i < Scaled(2000); ++i, ++comparisons) {
        const std::wstring a = random.Chance(50) ? random.OneOf(folders) : random.MixedText(30);
        const std::wstring b = random.Chance(50) ? random.OneOf(folders) : random.MixedText(30);
        tally.Check(SamePath(a, b) == SamePath(b, a), "the comparison is not symmetric");
        if (a.size() >= 3) {
            tally.Check(SamePath(a, a + L"\\\\"), "trailing backslashes made a difference");
        }
    }
    RecordReliability({"history", cases + comparisons, 0, "", tally.Failures()});
}

TEST(ReliabilityAddressTest, AnyPathSplitsIntoNonEmptyLevelsEachOpeningAPrefixOfTheNext) {
    RandomInput random(ReliabilitySeed() + 5);
    InvariantTally tally;
    const Lines starts = {L"C:", L"C:\\", L"\\\\", L"\\\\srv\\", L"\\\\srv\\share\\", L"::", L"::{", L"\\\\?\\",
                          L"z:", L"", L"\\"};
    const long long cases = Scaled(4000);
    for (long long i = 0; i < cases; ++i) {
        const std::wstring path = random.OneOf(starts) + random.MixedText(200);
        const std::vector<AddressSegment> segments =
            SplitAddress(path, [](const std::wstring&) { return std::wstring(); });
        tally.Check(segments.empty() == path.empty(), "a non-empty path gave no segment");
        for (size_t s = 0; s < segments.size(); ++s) {
            tally.Check(!segments[s].text.empty() && !segments[s].target.empty(),
                        "an empty segment in", path);
            if (s > 0) {
                tally.Check(segments[s].target.starts_with(segments[s - 1].target) ||
                                segments[s].target.starts_with(WithoutTrailingBackslashes(segments[s - 1].target)),
                            "a level does not lie below the one before it");
                tally.Check(segments[s].text.find(L'\\') == std::wstring::npos, "a folder level holds a backslash");
            }
        }
        // Laying out any widths: one rectangle per segment, none wider than the area.
        std::vector<int> widths(segments.size());
        for (int& width : widths) width = random.Chance(10) ? random.Below(100000) : random.Below(300);
        const int dpi = 96 + 24 * random.Below(13);
        const RECT area{0, 0, random.Below(3000), 30};
        const std::vector<RECT> rects = LayOutSegments(area, widths, dpi);
        tally.Check(rects.empty() || rects.size() == widths.size(), "not one rectangle per segment");
        for (const RECT& rect : rects) tally.Check(rect.right >= rect.left, "a segment of negative width");
        tally.Check(CommandBarHeight(random.Below(4000), dpi, random.Chance(50), widths) > 0,
                    "the bar lost its height");
    }
    RecordReliability({"address segments", cases, 0, "", tally.Failures()});
}

TEST(ReliabilityPostedPathTest, OnlyPathsHandedOutAreTakenBackAndEachOnce) {
    RandomInput random(ReliabilitySeed() + 6);
    InvariantTally tally;
    const long long cases = Scaled(3000);
    for (long long i = 0; i < cases; ++i) {
        const std::wstring path = random.MixedText(500);
        const LPARAM handed = PostablePath(path);
        // Made-up values, as another program might post: never dereferenced.
        const auto madeUp = static_cast<LPARAM>((static_cast<unsigned long long>(random.Engine()()) << 32) |
                                                random.Engine()());
        tally.Check(madeUp == handed || TakePostedPath(madeUp) == nullptr, "a made-up lParam was taken");
        tally.Check(TakePostedPath(handed + 8) == nullptr, "a neighbouring address was taken");
        const std::unique_ptr<std::wstring> taken = TakePostedPath(handed);
        tally.Check(taken && *taken == path, "the handed-out path did not come back whole");
        tally.Check(TakePostedPath(handed) == nullptr, "a path was taken twice");
    }
    RecordReliability({"posted paths", cases, 0, "", tally.Failures()});
}

}  // namespace
