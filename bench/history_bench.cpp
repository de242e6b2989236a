#include "history_bench.h"

#include <string>

#include "common/temp_folder.h"
#include "probes.h"
#include "settings/config_dir.h"
#include "settings/history.h"
#include "settings/line_file.h"
#include "settings/load_settings.h"
#include "settings/save_queue.h"
#include "settings/settings_file.h"

namespace {

std::vector<std::wstring> Paths(const wchar_t* stem, int count) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i) paths.push_back(std::wstring(L"C:\\Data\\") + stem + L"\\" + std::to_wstring(i));
    return paths;
}

template <typename Operation>
double MicrosecondsOf(Operation operation) {
    const double start = NowMs();
    operation();
    return (NowMs() - start) * 1000;
}

}  // namespace

// The saves are queued: what the user-interface thread pays is the asking, and
// the queue is emptied between measurements so that none waits for another.
std::vector<Figure> MeasureConfigurationStore(int runs) {
    Figure load{"Config: LoadSettings, 32 favourites, 200 tabs", "us", {}};
    Figure push{"Config: PushHistory into 10,000 entries", "us", {}};
    Figure pushMade{"Config: PushHistory into 10,000 entries, on disk", "us", {}};
    Figure save{"Config: SaveTabs, 200 tabs", "us", {}};
    TempFolder folder;
    OverrideConfigDir(folder.Path().wstring() + L"\\");
    Settings settings;
    settings.Favorites = Paths(L"favourite", 32);
    settings.TabPaths = Paths(L"tab", 200);
    WriteLines(ConfigFilePath(L"settings.txt"), PrintSettingsLines(settings));
    SaveFavoriteList(settings);
    SaveTabList(settings);
    FlushSaves();
    const std::vector<std::wstring> history = Paths(L"closed", 10000);
    for (int run = 0; run < runs; ++run) {
        load.samples.push_back(MicrosecondsOf([] { static_cast<void>(LoadSettings()); }));
        WriteLines(ConfigFilePath(L"history.txt"), history);
        push.samples.push_back(MicrosecondsOf([&] { PushHistory(L"C:\\Data\\just closed", 10000); }));
        FlushSaves();
        WriteLines(ConfigFilePath(L"history.txt"), history);
        pushMade.samples.push_back(MicrosecondsOf([&] {
            PushHistory(L"C:\\Data\\just closed", 10000);
            FlushSaves();
        }));
        save.samples.push_back(MicrosecondsOf([&] { SaveTabList(settings); }));
        FlushSaves();
    }
    OverrideConfigDir(L"");
    return {load, push, pushMade, save};
}
