#include "unpack_window.h"

#include <commctrl.h>

#include "handle.h"
#include "payload_unpacker.h"
#include "system_library.h"

namespace quillset {

namespace {

const char* const kWindowClass = "QuillsetStarter";
constexpr UINT kProgressMessage = WM_APP + 1;  // wParam: per mille unpacked
constexpr int kStatusId = 100, kProgressId = 101;

// What the worker thread and the window share while it unpacks.
struct UnpackJob {
    PayloadFile* file = nullptr;
    const CheckedPayload* payload = nullptr;
    std::string folder;
    HWND window = nullptr;
    volatile LONG cancel = 0;
    UnpackOutcome outcome;
};

struct WindowData {
    HWND status = nullptr, progress = nullptr, cancel = nullptr;
    UnpackJob* job = nullptr;     // while it unpacks
    HANDLE worker = nullptr;      // while it unpacks
    void (*sessionEnding)(void*) = nullptr;
    void* context = nullptr;
};

// Writes the archive's files below the folder; the folders they need are made on the way, and
// inherit the folder's permissions. A few packed bytes can stand for many unpacked ones, so the
// sink is where a Cancel is heard and the progress told, between two blocks it writes.
class FolderSink final : public ArchiveSink {
public:
    explicit FolderSink(UnpackJob& job) : job_(job), folder_(job.folder) {}
    ~FolderSink() override {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    }
    FolderSink(const FolderSink&) = delete;
    FolderSink& operator=(const FolderSink&) = delete;

    bool beginFile(const std::string& name, std::uint64_t) override {
        for (std::size_t slash = name.find('\\'); slash != std::string::npos; slash = name.find('\\', slash + 1)) {
            const std::string parent = folder_ + "\\" + name.substr(0, slash);
            if (!CreateDirectoryA(parent.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return failed(parent);
        }
        path_ = folder_ + "\\" + name;
        // CREATE_NEW: a name twice in the archive, or a file where a folder is, is an error.
        file_ = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        return file_ != INVALID_HANDLE_VALUE || failed(path_);
    }
    bool writeFile(const std::uint8_t* data, std::size_t size) override {
        if (InterlockedCompareExchange(&job_.cancel, 0, 0) != 0) return !(cancelled = true);
        DWORD written = 0;
        if (!WriteFile(file_, data, static_cast<DWORD>(size), &written, nullptr) || written != size) return failed(path_);
        written_ += size;
        const std::uint64_t total = job_.payload->header.unpackedSize;
        const WPARAM perMille = static_cast<WPARAM>(written_ >= total ? 1000 : written_ * 1000 / total);
        if (perMille != shown_) PostMessageA(job_.window, kProgressMessage, shown_ = perMille, 0);
        return true;
    }
    bool endFile() override {
        const bool closed = CloseHandle(file_) != FALSE;
        file_ = INVALID_HANDLE_VALUE;
        return closed || failed(path_);
    }

    std::string failedPath;
    DWORD error = 0;
    bool cancelled = false;

private:
    bool failed(const std::string& path) {
        error = GetLastError();
        failedPath = path;
        return false;
    }
    UnpackJob& job_;
    std::string folder_;
    std::string path_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::uint64_t written_ = 0;
    WPARAM shown_ = 0;
};

bool notCancelled(void* job) { return InterlockedCompareExchange(&static_cast<UnpackJob*>(job)->cancel, 0, 0) == 0; }

DWORD WINAPI unpackThread(void* parameter) {
    UnpackJob& job = *static_cast<UnpackJob*>(parameter);
    UnpackOutcome& outcome = job.outcome;
    FolderSink sink(job);
    const PayloadUnpacker::Status status = unpackPayload(*job.file, *job.payload, sink, notCancelled, &job);
    // More wanted: the loop stopped at a Cancel.
    if (sink.cancelled || status == PayloadUnpacker::Status::more) {
        outcome.kind = UnpackOutcome::Kind::cancelled;
        return 0;
    }
    switch (status) {
        case PayloadUnpacker::Status::finished: outcome.kind = UnpackOutcome::Kind::unpacked; break;
        case PayloadUnpacker::Status::sinkFailed:
            outcome.kind = UnpackOutcome::Kind::failed;
            outcome.failedPath = sink.failedPath;
            outcome.error = sink.error;
            break;
        case PayloadUnpacker::Status::outOfMemory: outcome.kind = UnpackOutcome::Kind::outOfMemory; break;
        default: outcome.kind = UnpackOutcome::Kind::damaged; break;
    }
    return 0;
}

void requestCancel(WindowData& data) {
    if (data.job == nullptr || InterlockedExchange(&data.job->cancel, 1) != 0) return;
    EnableWindow(data.cancel, FALSE);
    SetWindowTextA(data.status, "Cancelling...");
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<WindowData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL && data != nullptr) requestCancel(*data);
            return 0;
        case WM_CLOSE:
            if (data != nullptr) requestCancel(*data);
            return 0;
        case kProgressMessage:
            if (data != nullptr) SendMessageA(data->progress, PBM_SETPOS, wParam, 0);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // Windows ends the session: stop unpacking, then let the starter clean up while it can.
            if (wParam && data != nullptr) {
                requestCancel(*data);
                if (data->worker != nullptr) WaitForSingleObject(data->worker, INFINITE);
                if (data->sessionEnding != nullptr) data->sessionEnding(data->context);
            }
            return 0;
        case WM_NCDESTROY:
            delete data;
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            break;
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeChild(HWND parent, const char* className, const char* text, DWORD style, int id, int x, int y, int width,
               int height) {
    const HWND child = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    if (child != nullptr) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return child;
}

// The common controls' progress bar, from the system folder's comctl32.dll.
void loadProgressBar() {
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static SystemFunction<InitFunction> initCommonControlsEx("comctl32.dll", "InitCommonControlsEx");
    if (const InitFunction init = initCommonControlsEx.get()) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        init(&controls);
    }
}

// Handles the window's messages until `handle` is signalled.
void runMessagesUntil(HWND window, HANDLE handle) {
    for (;;) {
        if (MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0) return;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            // Esc and the keyboard on the button, as in a dialog.
            if (IsDialogMessageA(window, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

}  // namespace

HWND createUnpackWindow(HINSTANCE instance, const std::string& appName, void (*sessionEnding)(void*), void* context) {
    loadProgressBar();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    RegisterClassA(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, 360, 112};
    AdjustWindowRect(&frame, style, FALSE);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const std::string title = appName.empty() ? "Setup" : appName;
    const HWND window = CreateWindowExA(WS_EX_CONTROLPARENT, kWindowClass, title.c_str(), style,
                                        work.left + (work.right - work.left - width) / 2,
                                        work.top + (work.bottom - work.top - height) / 2, width, height, nullptr,
                                        nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    auto* data = new WindowData;
    data->sessionEnding = sessionEnding;
    data->context = context;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    data->status = makeChild(window, "STATIC", ("Unpacking the setup of " + title + "...").c_str(), SS_LEFT | SS_NOPREFIX,
                             kStatusId, 16, 16, 328, 20);
    data->progress = makeChild(window, PROGRESS_CLASSA, "", 0, kProgressId, 16, 44, 328, 18);
    SendMessageA(data->progress, PBM_SETRANGE, 0, MAKELPARAM(0, 1000));
    data->cancel = makeChild(window, "BUTTON", "Cancel", BS_DEFPUSHBUTTON | WS_TABSTOP, IDCANCEL, 260, 76, 84, 24);
    return window;
}

UnpackOutcome unpackWithWindow(HWND window, PayloadFile& file, const CheckedPayload& payload, const std::string& folder) {
    auto* data = reinterpret_cast<WindowData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    UnpackJob job;
    job.file = &file;
    job.payload = &payload;
    job.folder = folder;
    job.window = window;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    SetForegroundWindow(window);
    SetFocus(data->cancel);
    DWORD threadId = 0;
    const KernelHandle worker(CreateThread(nullptr, 0, unpackThread, &job, 0, &threadId));
    if (!worker.valid()) {
        job.outcome.kind = UnpackOutcome::Kind::failed;
        job.outcome.error = GetLastError();
    } else {
        data->job = &job;
        data->worker = worker.get();
        runMessagesUntil(window, worker.get());
        data->job = nullptr;
        data->worker = nullptr;
    }
    ShowWindow(window, SW_HIDE);
    return job.outcome;
}

void waitWithWindow(HWND window, HANDLE process) { runMessagesUntil(window, process); }

}  // namespace quillset
