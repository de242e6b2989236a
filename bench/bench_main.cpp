// Measures the file manager's start, hand-off, tab switch, memory and
// configuration store against a bare host of the same shell control (the
// floor) and the system's own file window (the peer), interleaved run by run
// so that the machine's noise falls on all of them alike. Prints one table.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "history_bench.h"
#include "probes.h"
#include "split_bench.h"
#include "stats.h"
#include "theme_bench.h"
#include "takeover/takeover_record.h"

namespace {

constexpr UINT kSelectTab = 0x8052;
constexpr UINT kCloseTab = 0x8053;
constexpr UINT kPlusLeft = 0x8054;
constexpr int kTabStripId = 7;

std::filesystem::path ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// Folders that each hold one file, so every one of them lists an item.
class ListedFolders {
public:
    explicit ListedFolders(int count) {
        for (int i = 0; i < count; ++i) {
            const std::filesystem::path folder = root.Path() / (L"folder " + std::to_wstring(i));
            std::filesystem::create_directories(folder);
            std::ofstream(folder / L"item.txt") << "item";
            paths.push_back(folder.wstring());
        }
    }
    TempFolder root;
    std::vector<std::wstring> paths;
};

// A window program always holds GDI and USER objects: a count of 0 means the
// system does not report them (Wine does not), and the run gives no sample.
bool Reported(DWORD count) { return count > 0; }

double ObjectCount(DWORD count) { return Reported(count) ? static_cast<double>(count) : -1.0; }

double ObjectGrowth(DWORD before, DWORD after) {
    return Reported(before) && Reported(after) ? static_cast<double>(after) - before : -1;
}

std::wstring LauncherExe() { return (ProgramFolder() / L"QuorlenLauncher.exe").wstring(); }

// The Quorlen process that shows a main window, whoever started it; 0 for none.
DWORD QuorlenWindowProcess() {
    const std::vector<HWND> windows = VisibleMainWindows(0);
    DWORD id = 0;
    if (!windows.empty()) GetWindowThreadProcessId(windows.front(), &id);
    return id;
}

// Starts a command line and measures the time until the process lists a folder.
double MsToListed(QuorlenProcess& process, std::wstring commandLine, const std::wstring& folder = L"") {
    const double start = NowMs();
    if (!process.StartCommandLine(std::move(commandLine), folder)) return -1;
    const DWORD id = process.Id();
    return MsUntil(start, [id] { return ListedFolderView(id) != nullptr; });
}

class Bench {
public:
    Bench(int runs, std::wstring folder) : runs(runs), folder(std::move(folder)) {}

    void ColdStarts() {
        Figure quorlen{"Cold start: Quorlen", "ms", {}};
        // Each palette chosen in a settings file, so that both starts read one.
        Figure light{"Cold start: Quorlen in light", "ms", {}};
        Figure dark{"Cold start: Quorlen in dark", "ms", {}};
        Figure floor{"Cold start: floor", "ms", {}};
        Figure peer{"Cold start: peer (explorer.exe)", "ms", {}};
        Figure processStart{"Process start (do-nothing program)", "ms", {}};
        Figure stored{"Cold start: stored command, Quorlen closed", "ms", {}};
        // The first start of each program fills caches the later ones find full;
        // it is not counted, for any of them.
        WarmUp();
        for (int run = 0; run < runs; ++run) {
            {
                QuorlenInstall install;
                QuorlenProcess process;
                quorlen.samples.push_back(
                    MsToListed(process, Quoted(install.ExePath().wstring()) + L" " + Quoted(folder),
                               install.Folder().wstring()));
            }
            // Which goes first alternates, so that neither always starts in the other's wake.
            for (const bool inDark : {run % 2 == 1, run % 2 == 0}) {
                const double ms = ColdStartWithSettingMs(inDark ? L"Appearance=2" : L"Appearance=1");
                (inDark ? dark : light).samples.push_back(ms);
            }
            stored.samples.push_back(StoredCommandColdStartMs());
            {
                QuorlenProcess process;
                floor.samples.push_back(MsToListed(process, Quoted(FloorExe()) + L" " + folder));
            }
            {
                QuorlenProcess process;
                peer.samples.push_back(MsToListed(process, L"C:\\windows\\explorer.exe /root," + folder));
            }
            processStart.samples.push_back(NoopStartMs());
        }
        // What the floor spends on its window, its control and its folder.
        Figure floorControl{"Cold start: floor less the process start", "ms", {}};
        for (size_t i = 0; i < floor.samples.size(); ++i) {
            const bool both = floor.samples[i] >= 0 && processStart.samples[i] >= 0;
            floorControl.samples.push_back(both ? floor.samples[i] - processStart.samples[i] : -1);
        }
        DeleteTakeoverRecord();
        for (Figure* figure : {&quorlen, &light, &dark, &floor, &peer, &processStart, &floorControl, &stored}) {
            figures.push_back(std::move(*figure));
        }
    }

    // Saved tabs come back on start: when is the active one on screen, when are
    // all of them in the strip, and when is the restore's work over. Once it
    // is, what it costs, and how long the first switch to a restored tab takes.
    // Every third tab, the active first one included, is split when splitCount
    // asks for splits.
    void RestoredStarts(int tabCount, int splitCount = 0) {
        ListedFolders folders(tabCount);
        const std::string count = "Restored start, " + std::to_string(tabCount) + " tabs" +
                                  (splitCount ? ", " + std::to_string(splitCount) + " split" : "") + ": ";
        const std::vector<std::wstring> splits = SplitLines(folders.paths, splitCount);
        Figure active{count + "active tab listed", "ms", {}};
        Figure inStrip{count + "all in the strip", "ms", {}};
        Figure idle{count + "process idle", "ms", {}};
        Figure views{count + "shell views alive when idle", "", {}};
        Figure bytes{count + "memory when idle (private)", "KiB", {}};
        Figure firstSwitch{count + "first switch to a restored tab", "ms", {}};
        for (int run = 0; run < runs; ++run) {
            QuorlenInstall install;
            if (!WriteConfigLines(install, L"tabs.txt", folders.paths) ||
                !WriteConfigLines(install, L"tabsplit.txt", splits)) {
                continue;
            }
            QuorlenProcess process;
            const double start = NowMs();
            if (!process.StartCommandLine(Quoted(install.ExePath().wstring()), install.Folder().wstring())) continue;
            const DWORD id = process.Id();
            const UniqueKernelHandle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
            active.samples.push_back(MsUntil(start, [id] { return ListedFolderView(id) != nullptr; }));
            HWND window = process.WaitForMainWindow();
            HWND strip = GetDlgItem(window, kTabStripId);
            inStrip.samples.push_back(MsUntil(start, [&] { return Query(strip, kTabCount) == tabCount; }));
            idle.samples.push_back(MsUntilIdle(handle.get(), start));
            views.samples.push_back(NavigatedPanelCount(window));
            bytes.samples.push_back(static_cast<double>(MeasureProcess(id).privateBytes) / 1024);
            firstSwitch.samples.push_back(SwitchMs(window, strip));
        }
        for (Figure* figure : {&active, &inStrip, &idle, &views, &bytes, &firstSwitch}) {
            figures.push_back(std::move(*figure));
        }
    }

    // A second start hands its folder to the running instance; then the tabs
    // it made are switched between.
    void HandOffsAndTabSwitches() {
        ListedFolders folders(runs);
        ListedFolders storedFolders(runs);
        Figure handOff{"Hand-off: second start to new tab listed", "ms", {}};
        Figure storedHandOff{"Hand-off: stored command to new tab listed", "ms", {}};
        Figure tabSwitch{"Tab switch: 0x8052 to list view shown", "ms", {}};
        QuorlenInstall install;
        QuorlenProcess running;
        if (MsToListed(running, Quoted(install.ExePath().wstring()) + L" " + Quoted(folder),
                       install.Folder().wstring()) < 0) {
            return;
        }
        HWND window = running.WaitForMainWindow();
        HWND strip = GetDlgItem(window, kTabStripId);
        // The folder a second start names, and the one the shell's stored
        // command hands the launcher, each opens in a new tab: until it is listed.
        const auto newTabMs = [&](const std::wstring& commandLine) {
            const LRESULT tabs = Query(strip, kTabCount);
            HWND before = VisibleListView(window);
            QuorlenProcess second;
            const double start = NowMs();
            if (!second.StartCommandLine(commandLine, install.Folder().wstring())) return -1.0;
            // The strip is asked first: walking every window of the instance at
            // each poll would load the very process start being timed.
            return MsUntil(start, [&] {
                if (Query(strip, kTabCount) != tabs + 1) return false;
                const HWND shown = VisibleListView(window);
                return shown && shown != before && ListedFolderView(running.Id()) == shown;
            });
        };
        for (int run = 0; run < runs; ++run) {
            handOff.samples.push_back(newTabMs(Quoted(install.ExePath().wstring()) + L" " + Quoted(folders.paths[run])));
            storedHandOff.samples.push_back(newTabMs(Quoted(LauncherExe()) + L" " + Quoted(storedFolders.paths[run])));
        }
        for (int run = 0; run < runs && Query(strip, kTabCount) > 1; ++run) {
            tabSwitch.samples.push_back(SwitchMs(window, strip));
        }
        figures.push_back(std::move(handOff));
        figures.push_back(std::move(storedHandOff));
        figures.push_back(std::move(tabSwitch));
    }

    // What the process costs with 1, 10 and 50 tabs, and after 50 tabs were
    // opened and closed again.
    void Memory() {
        ListedFolders folders(50);
        Figure peerBytes{"Memory: peer, one window (private)", "KiB", {}};
        for (int tabCount : {1, 10, 50}) {
            const std::string count = std::to_string(tabCount);
            Figure bytes{"Memory: " + count + " tabs (private)", "KiB", {}};
            Figure gdi{"GDI objects: " + count + " tabs", "", {}};
            Figure user{"USER objects: " + count + " tabs", "", {}};
            const std::vector<std::wstring> tabs(folders.paths.begin(), folders.paths.begin() + tabCount);
            for (int run = 0; run < runs; ++run) {
                QuorlenInstall install;
                if (!WriteConfigLines(install, L"tabs.txt", tabs)) continue;
                QuorlenProcess process;
                if (MsToListed(process, Quoted(install.ExePath().wstring()), install.Folder().wstring()) < 0) continue;
                HWND strip = GetDlgItem(process.WaitForMainWindow(), kTabStripId);
                WaitUntil([&] { return Query(strip, kTabCount) == tabCount; }, 30000);
                Sleep(500);
                const ProcessCost cost = MeasureProcess(process.Id());
                bytes.samples.push_back(static_cast<double>(cost.privateBytes) / 1024);
                gdi.samples.push_back(ObjectCount(cost.gdiObjects));
                user.samples.push_back(ObjectCount(cost.userObjects));
                if (tabCount == 1) {
                    QuorlenProcess peer;
                    if (MsToListed(peer, L"C:\\windows\\explorer.exe /root," + folder) >= 0) {
                        Sleep(500);
                        peerBytes.samples.push_back(static_cast<double>(MeasureProcess(peer.Id()).privateBytes) / 1024);
                    }
                }
            }
            for (Figure* figure : {&bytes, &gdi, &user}) figures.push_back(std::move(*figure));
        }
        figures.push_back(std::move(peerBytes));
        TabCycles();
    }

    // Windows' app mode switches while a window holds 10 tabs: from the
    // window's being told until it and every part of it painted again.
    void ThemeSwitches() {
        ListedFolders folders(10);
        QuorlenInstall install;
        if (!WriteConfigLines(install, L"tabs.txt", folders.paths)) return;
        QuorlenProcess process;
        if (MsToListed(process, Quoted(install.ExePath().wstring()), install.Folder().wstring()) < 0) return;
        HWND window = process.WaitForMainWindow();
        HWND strip = GetDlgItem(window, kTabStripId);
        if (!WaitUntil([&] { return Query(strip, kTabCount) == 10; }, 30000)) return;
        figures.push_back(MeasureThemeSwitches(window, runs));
    }

    void Splits() {
        for (Figure& figure : MeasureSplits(folder, runs)) figures.push_back(std::move(figure));
    }

    void ConfigurationStore() {
        for (Figure& figure : MeasureConfigurationStore(runs)) figures.push_back(std::move(figure));
    }

    void Print() const {
        const std::string restored30 = "Restored start, 30 tabs: ";
        const std::string split10 = "Restored start, 30 tabs, 10 split: ";
        const std::vector<Ratio> ratios = {
            {"Cold start: Quorlen / floor", "Cold start: Quorlen", "Cold start: floor", 1.15},
            {"Cold start: dark / light", "Cold start: Quorlen in dark", "Cold start: Quorlen in light", 1.02},
            {"Theme switch with 10 tabs, ms", "Theme switch, 10 tabs: told to all painted", "", 100},
            {"Cold start: Quorlen / peer", "Cold start: Quorlen", "Cold start: peer (explorer.exe)", 0.9},
            {"Hand-off / floor cold start", "Hand-off: second start to new tab listed", "Cold start: floor", 0.4},
            {"Stored command, Quorlen running / hand-off", "Hand-off: stored command to new tab listed",
             "Hand-off: second start to new tab listed", 1.3},
            {"Stored command, Quorlen closed / cold start", "Cold start: stored command, Quorlen closed",
             "Cold start: Quorlen", 1.1},
            {"Restored 30 tabs, active listed / cold start", restored30 + "active tab listed", "Cold start: Quorlen",
             1.25},
            {"Restored 30 tabs, idle / cold start", restored30 + "process idle", "Cold start: Quorlen", 1.2},
            {"Restored 30 tabs, 10 split, active listed / cold start", split10 + "active tab listed",
             "Cold start: Quorlen", 1.25},
            {"Restored 30 tabs, 10 split, idle / cold start", split10 + "process idle", "Cold start: Quorlen", 1.2},
            {"Split of a shown tab / new tab", "Split: key to the second pane listed", "Split: key to a new tab listed",
             1.2},
            {"Restored 30 tabs, shell views alive", restored30 + "shell views alive when idle", "", 1},
            {"Restored 30 tabs, memory / one tab", restored30 + "memory when idle (private)",
             "Memory: 1 tabs (private)", 1.3},
            {"Restored 200 tabs, all in the strip / cold start", "Restored start, 200 tabs: all in the strip",
             "Cold start: Quorlen", 1.5},
            {"Tab switch, ms", "Tab switch: 0x8052 to list view shown", "", 35},
            {"First switch to a restored tab / floor's control and folder",
             restored30 + "first switch to a restored tab", "Cold start: floor less the process start", 1.1},
            {"One more tab / peer's whole window", "Memory: cost of one more tab (10 to 50)",
             "Memory: peer, one window (private)", 1.0},
        };
        std::fputs(FormatTable(WithTabCost(), ratios).c_str(), stdout);
    }

private:
    // A fresh copy whose settings.txt holds the one line.
    double ColdStartWithSettingMs(const std::wstring& line) const {
        QuorlenInstall install;
        QuorlenProcess process;
        if (!WriteConfigLines(install, L"settings.txt", {line})) return -1;
        return MsToListed(process, Quoted(install.ExePath().wstring()) + L" " + Quoted(folder),
                          install.Folder().wstring());
    }

    // The shell's stored command with Quorlen closed: the launcher finds the
    // program in the takeover's record and starts it with the folder.
    double StoredCommandColdStartMs() const {
        QuorlenInstall install;
        if (!WriteTakeoverRecord(TakeoverRecord{install.ExePath().wstring(), LauncherExe(), RecordPhase::Applied, {}, false})) {
            return -1;
        }
        QuorlenProcess launcher;
        const double start = NowMs();
        if (!launcher.StartCommandLine(Quoted(LauncherExe()) + L" " + Quoted(folder), install.Folder().wstring())) {
            return -1;
        }
        return MsUntil(start, [] {
            const DWORD id = QuorlenWindowProcess();
            return id != 0 && ListedFolderView(id) != nullptr;
        });
    }

    void WarmUp() const {
        QuorlenInstall install;
        for (const std::wstring& commandLine :
             {Quoted(install.ExePath().wstring()) + L" " + Quoted(folder), Quoted(FloorExe()) + L" " + folder,
              L"C:\\windows\\explorer.exe /root," + folder}) {
            QuorlenProcess process;
            static_cast<void>(MsToListed(process, commandLine, install.Folder().wstring()));
        }
        static_cast<void>(StoredCommandColdStartMs());
    }

    // Selects the next tab through the strip: the milliseconds until its list is shown.
    static double SwitchMs(HWND window, HWND strip) {
        const LRESULT tabs = Query(strip, kTabCount);
        if (tabs < 2) return -1;
        const LRESULT target = (Query(strip, kActiveTab) + 1) % tabs;
        HWND before = VisibleListView(window);
        const double start = NowMs();
        LRESULT ignored = 0;
        if (!SendWithTimeout(strip, kSelectTab, static_cast<WPARAM>(target), 0, ignored)) return -1;
        return MsUntil(start, [&] {
            const HWND shown = VisibleListView(window);
            return shown && shown != before && Query(strip, kActiveTab) == target;
        });
    }

    std::wstring FloorExe() const { return (ProgramFolder() / L"quorlen_bench_floor.exe").wstring(); }

    double NoopStartMs() const {
        std::wstring commandLine = Quoted((ProgramFolder() / L"quorlen_bench_noop.exe").wstring());
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        const double start = NowMs();
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info)) {
            return -1;
        }
        WaitForSingleObject(info.hProcess, 30000);
        const double elapsed = NowMs() - start;
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return elapsed;
    }

    // Opens a tab with the strip's "+" and closes it again, 50 times; the GDI
    // and USER objects must end where they began.
    void TabCycles() {
        Figure gdi{"GDI objects: growth after 50 tab open/close cycles", "", {}};
        Figure user{"USER objects: growth after 50 tab open/close cycles", "", {}};
        QuorlenInstall install;
        QuorlenProcess process;
        if (MsToListed(process, Quoted(install.ExePath().wstring()) + L" " + Quoted(folder),
                       install.Folder().wstring()) < 0) {
            return;
        }
        HWND strip = GetDlgItem(process.WaitForMainWindow(), kTabStripId);
        Sleep(500);
        const ProcessCost before = MeasureProcess(process.Id());
        const LPARAM onPlus = MAKELPARAM(Query(strip, kPlusLeft) + 8, 14);
        for (int cycle = 0; cycle < 50; ++cycle) {
            PostMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, onPlus);
            PostMessageW(strip, WM_LBUTTONUP, 0, onPlus);
            WaitUntil([&] { return Query(strip, kTabCount) == 2; }, 10000, 2);
            LRESULT ignored = 0;
            if (!SendWithTimeout(strip, kCloseTab, 1, 0, ignored)) break;
            WaitUntil([&] { return Query(strip, kTabCount) == 1; }, 10000, 2);
        }
        Sleep(500);
        const ProcessCost after = MeasureProcess(process.Id());
        gdi.samples.push_back(ObjectGrowth(before.gdiObjects, after.gdiObjects));
        user.samples.push_back(ObjectGrowth(before.userObjects, after.userObjects));
        figures.push_back(std::move(gdi));
        figures.push_back(std::move(user));
    }

    // The figures with the cost of one more tab, from the 10- and 50-tab medians.
    std::vector<Figure> WithTabCost() const {
        std::vector<Figure> all;
        std::vector<double> ten;
        std::vector<double> fifty;
        for (const Figure& figure : figures) {
            all.push_back(figure);
            if (figure.name == "Memory: 10 tabs (private)") ten = figure.samples;
            if (figure.name == "Memory: 50 tabs (private)") fifty = figure.samples;
        }
        if (!ten.empty() && !fifty.empty()) {
            Figure perTab{"Memory: cost of one more tab (10 to 50)", "KiB", {}};
            for (size_t i = 0; i < std::min(ten.size(), fifty.size()); ++i) {
                perTab.samples.push_back((fifty[i] - ten[i]) / 40);
            }
            all.push_back(std::move(perTab));
        }
        return all;
    }

    int runs;
    std::wstring folder;
    std::vector<Figure> figures;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = 7;
    std::wstring folder = L"C:\\windows";
    std::wstring only;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring option = argv[i];
        if (option == L"--runs") runs = std::max(1, _wtoi(argv[i + 1]));
        if (option == L"--folder") folder = argv[i + 1];
        if (option == L"--only") only = argv[i + 1];
    }
    Bench bench(runs, folder);
    const auto wanted = [&](const wchar_t* part) { return only.empty() || only == part; };
    if (wanted(L"start")) bench.ColdStarts();
    if (wanted(L"restore")) {
        bench.RestoredStarts(30);
        bench.RestoredStarts(30, 10);
        bench.RestoredStarts(200);
    }
    if (wanted(L"split")) bench.Splits();
    if (wanted(L"handoff")) bench.HandOffsAndTabSwitches();
    if (wanted(L"memory")) bench.Memory();
    if (wanted(L"theme")) bench.ThemeSwitches();
    if (wanted(L"config")) bench.ConfigurationStore();
    bench.Print();
    return 0;
}
