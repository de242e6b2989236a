#include "driver/file_drag.h"

#include <oleidl.h>
#include <shobjidl.h>

#include <string>
#include <thread>

#include "common/temp_folder.h"
#include "driver/desktop_input.h"
#include "ui/shell_items.h"

namespace {

constexpr wchar_t kSourceClass[] = L"Quorlen.Test.DragSource";

// Drops where the left button is let go, and keeps the effect the feedback
// shows. It lives on the stack for one drag.
class ButtonDropSource final : public IDropSource {
public:
    explicit ButtonDropSource(DWORD& shown) : shown_(shown) {}

    IFACEMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *object = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    IFACEMETHODIMP_(ULONG) AddRef() override { return 2; }
    IFACEMETHODIMP_(ULONG) Release() override { return 1; }
    IFACEMETHODIMP QueryContinueDrag(BOOL escapePressed, DWORD keys) override {
        if (escapePressed) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    IFACEMETHODIMP GiveFeedback(DWORD effect) override {
        shown_ = effect;
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

private:
    DWORD& shown_;
};

// The plain window the drag starts from, in the foreground as a drag's source
// is: Wine hands the mouse to a capture only on the foreground thread.
class SourceWindow {
public:
    SourceWindow() {
        static const bool registered = [] {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = DefWindowProcW;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
            windowClass.lpszClassName = kSourceClass;
            return RegisterClassW(&windowClass) != 0;
        }();
        if (!registered) return;
        const int right = GetSystemMetrics(SM_CXSCREEN);
        hwnd = CreateWindowExW(WS_EX_TOPMOST, kSourceClass, L"", WS_POPUP | WS_VISIBLE, right - 300, 100, 200, 200,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (hwnd) SetForegroundWindow(hwnd);
    }
    ~SourceWindow() {
        if (hwnd) DestroyWindow(hwnd);
    }
    SourceWindow(const SourceWindow&) = delete;
    SourceWindow& operator=(const SourceWindow&) = delete;

    HWND hwnd = nullptr;
};

// Handles this thread's messages until the press on the window arrives, as a
// drag source's window starts its drag from it; false when the mouse thread
// gave up first or the time ran out.
bool PumpUntilPressed(HWND window, HANDLE gaveUp) {
    const ULONGLONG deadline = GetTickCount64() + kInputStepMs;
    for (;;) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_LBUTTONDOWN && message.hwnd == window) return true;
            DispatchMessageW(&message);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        const DWORD waited =
            MsgWaitForMultipleObjects(1, &gaveUp, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        if (waited == WAIT_OBJECT_0) return false;
    }
}

// The mouse's part, on its own thread while DoDragDrop holds this one: the press
// on the source, and once the drag has the capture, the way to the point and the
// release there.
void MoveMouse(HWND source, POINT to, const std::function<bool()>& arrived, HANDLE gaveUp, std::string& failure) {
    RECT sourceRect{};
    GetWindowRect(source, &sourceRect);
    const testing::AssertionResult rested =
        RestCursorOn(source, POINT{(sourceRect.left + sourceRect.right) / 2, (sourceRect.top + sourceRect.bottom) / 2});
    if (!rested) {
        failure = rested.message();
        SetEvent(gaveUp);
        return;
    }
    Buttons(MOUSEEVENTF_LEFTDOWN);
    if (!WaitUntil([&] { return CaptureOf(source) != nullptr && CaptureOf(source) != source; }, kInputStepMs)) {
        failure = "the drag never took the mouse";
    } else if (!MoveUntil(to, arrived)) {
        failure = "what the drag should cause at " + std::to_string(to.x) + "," + std::to_string(to.y) +
                  " never happened";
    }
    Buttons(MOUSEEVENTF_LEFTUP);
}

}  // namespace

HRESULT ShellDataObject(const std::wstring& path, ComPtr<IDataObject>& data) {
    ComPtr<IShellItem> item;
    const HRESULT result = ItemFromPath(path, item.put());
    if (FAILED(result)) return result;
    return item->BindToHandler(nullptr, BHID_DataObject, IID_PPV_ARGS(data.put()));
}

testing::AssertionResult DropDataAt(IDataObject* data, POINT to, const std::function<bool()>& arrived,
                                    DropOutcome& outcome) {
    outcome = DropOutcome{};
    const SourceWindow source;
    const UniqueKernelHandle gaveUp(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!source.hwnd || !gaveUp) return testing::AssertionFailure() << "could not make the drag's source window";
    std::string failure;
    std::thread mouse(MoveMouse, source.hwnd, to, std::cref(arrived), gaveUp.get(), std::ref(failure));
    HRESULT result = E_FAIL;
    if (PumpUntilPressed(source.hwnd, gaveUp.get())) {
        ButtonDropSource dropSource(outcome.shown);
        result = DoDragDrop(data, &dropSource, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &outcome.dropped);
    }
    mouse.join();
    if (!failure.empty()) return testing::AssertionFailure() << failure;
    if (result != DRAGDROP_S_DROP) {
        return testing::AssertionFailure() << "the drag ended without a drop (0x" << std::hex << result << ")";
    }
    return testing::AssertionSuccess();
}
