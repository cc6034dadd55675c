#include "main_window.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "copy_cursor.h"
#include "fake_host.h"
#include "host_menus.h"
#include "host_settings.h"
#include "host_text.h"
#include "loaded_plugin.h"
#include "mailbox.h"
#include "win_handles.h"

namespace main_window {

namespace {

constexpr int kTreeWidth = 180;

POINT PointOf(LPARAM point) {
    return POINT{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
}

// 「<name>」 and a tail, for the status bar.
std::wstring Quoted(const std::wstring& name, const wchar_t* tail) {
    return L"\x300c" + name + tail;
}

class MainWindow {
  public:
    static HWND Open(const LoadedPlugin& plugin, int showCommand);

  private:
    MainWindow(HWND window, const LoadedPlugin& plugin) : window_(window), plugin_(plugin) {}

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    static bool RegisterClassOnce();
    static LRESULT OnNcCreate(HWND window, LPARAM lParam);
    static LRESULT OnNcDestroy(HWND window, WPARAM wParam, LPARAM lParam);

    LRESULT OnCreate();
    LRESULT OnSize();
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus();
    LRESULT OnNotify(const NMHDR& header);
    LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopup(HMENU menu);
    LRESULT OnEnterMenuLoop();
    LRESULT OnExitMenuLoop();
    LRESULT OnMenuSelect(UINT item, UINT flags, HMENU menu);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged();
    LRESULT OnDestroy();
    LRESULT OnListMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND CreateChild(const wchar_t* className, DWORD style, Child id);
    void FillTree();
    void AddColumns();
    void OpenFolder(const mailbox::Folder& folder);
    // Shows the open folder's messages with row `selected` (or the last one)
    // selected and focused.
    void FillList(size_t selected);
    std::vector<size_t> SelectedPositions() const;
    bool SelectedAt(LPARAM listPoint) const;
    // What a move or copy of the selected messages came to.
    enum class Filed { kNothingSelected, kDone, kRefused };
    Filed Transfer(const std::string& target, bool copy);
    void ShowMessageMenu(LPARAM screenPoint);
    POINT MenuPosition(LPARAM screenPoint) const;
    void RunHostCommand(UINT id);
    HTREEITEM FolderAt(LPARAM clientPoint) const;
    const mailbox::Folder* FolderOf(HTREEITEM item) const;
    void BeginDrag();
    void EndDrag();
    void ShowIdleStatus();
    void SetStatus(const std::wstring& text);
    std::wstring Status() const;

    HWND window_;
    const LoadedPlugin& plugin_;
    HWND tree_ = nullptr;
    HWND list_ = nullptr;
    HWND status_ = nullptr;
    WNDPROC listProcedure_ = nullptr; // the list control's own
    HWND focus_ = nullptr;            // the child that had the keyboard when the window was left
    win_handles::GdiObject font_;
    mailbox::Mailbox mailbox_;
    std::string current_;
    bool dragging_ = false;
    // A Ctrl+press on a selected message, held back from the list until it
    // turns out a click or a drag.
    struct HeldPress {
        bool held = false;
        WPARAM keys = 0;
        LPARAM at = 0;
    } heldPress_;
    win_handles::Cursor copyCursor_ = copy_cursor::Make();
    std::wstring statusBeforeMenu_;
};

bool MainWindow::RegisterClassOnce() {
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &existing)) {
        return true;
    }
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0;
}

HWND MainWindow::Open(const LoadedPlugin& plugin, int showCommand) {
    if (!RegisterClassOnce()) {
        return nullptr;
    }
    win_handles::Menu bar = host_menus::MenuBar();
    HWND window = CreateWindowExW(0, kClassName, L"QvHost", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  40, 40, 720, 420, nullptr, bar.get(), GetModuleHandleW(nullptr),
                                  const_cast<LoadedPlugin*>(&plugin));
    if (window == nullptr) {
        return nullptr;
    }
    HMENU menuBar = bar.Release(); // the window's now
    plugin.MenuInit(window, menuBar, 0);
    DrawMenuBar(window);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    SetFocus(GetDlgItem(window, kMessageList)); // the keyboard starts in the message list
    return window;
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        return OnNcCreate(window, lParam);
    }
    MainWindow* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_CREATE:
        return self->OnCreate();
    case WM_SIZE:
        return self->OnSize();
    case WM_ACTIVATE:
        return self->OnActivate(wParam, lParam);
    case WM_SETFOCUS:
        return self->OnSetFocus();
    case WM_NOTIFY:
        return self->OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CONTEXTMENU:
        return self->OnContextMenu(wParam, lParam);
    case WM_INITMENUPOPUP:
        return self->OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
    case WM_ENTERMENULOOP:
        return self->OnEnterMenuLoop();
    case WM_EXITMENULOOP:
        return self->OnExitMenuLoop();
    case WM_MENUSELECT:
        return self->OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
    case WM_COMMAND:
        return self->OnCommand(wParam, lParam);
    case WM_MOUSEMOVE:
        return self->OnMouseMove(wParam, lParam);
    case WM_LBUTTONUP:
        return self->OnLButtonUp(wParam, lParam);
    case WM_CAPTURECHANGED:
        return self->OnCaptureChanged();
    case WM_DESTROY:
        return self->OnDestroy();
    case WM_NCDESTROY:
        return OnNcDestroy(window, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT MainWindow::OnNcCreate(HWND window, LPARAM lParam) {
    const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    const LoadedPlugin* plugin = static_cast<const LoadedPlugin*>(create->lpCreateParams);
    // Freed at WM_NCDESTROY, the window's last message.
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(new MainWindow(window, *plugin)));
    return DefWindowProcW(window, WM_NCCREATE, 0, lParam);
}

LRESULT MainWindow::OnNcDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
    delete reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return DefWindowProcW(window, WM_NCDESTROY, wParam, lParam);
}

HWND MainWindow::CreateChild(const wchar_t* className, DWORD style, Child id) {
    HWND child = CreateWindowExW(0, className, nullptr, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                 window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return child;
}

LRESULT MainWindow::OnCreate() {
    INITCOMMONCONTROLSEX controls = {sizeof controls,
                                     ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font_.Reset(CreateFontIndirectW(&metrics.lfMessageFont));

    tree_ = CreateChild(WC_TREEVIEWW,
                        WS_BORDER | WS_TABSTOP | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS |
                            TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP,
                        kFolderTree);
    list_ = CreateChild(WC_LISTVIEWW, WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                        kMessageList);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    status_ = CreateChild(STATUSCLASSNAMEW, SBARS_SIZEGRIP, kStatusBar);
    listProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProcedure)));
    AddColumns();

    fake_host::Host& host = fake_host::TheHost();
    for (const mailbox::Folder& folder : mailbox_.Folders()) {
        host.displayNames[folder.id] = host_text::Ansi(folder.name);
    }
    // QVA_MoveSelectedMessages moves what is selected in this window.
    host.moveResultFor = [this](const std::string& folder) {
        return Transfer(folder, false) != Filed::kRefused ? 1 : 0;
    };
    FillTree(); // selecting the first folder opens it
    return 0;
}

void MainWindow::AddColumns() {
    struct Column {
        const wchar_t* title;
        int width;
    };
    const Column columns[] = {
        {L"\x4ef6\x540d", 250},       // 件名
        {L"\x5dee\x51fa\x4eba", 110}, // 差出人
        {L"\x65e5\x4ed8", 120},       // 日付
    };
    int index = 0;
    for (const Column& column : columns) {
        LVCOLUMNW entry = {};
        entry.mask = LVCF_TEXT | LVCF_WIDTH;
        entry.pszText = const_cast<wchar_t*>(column.title);
        entry.cx = column.width;
        SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++),
                     reinterpret_cast<LPARAM>(&entry));
    }
}

void MainWindow::FillTree() {
    std::vector<HTREEITEM> parents; // the last item at each depth
    const std::vector<mailbox::Folder>& folders = mailbox_.Folders();
    for (size_t i = 0; i < folders.size(); ++i) {
        const mailbox::Folder& folder = folders[i];
        TVINSERTSTRUCTW insert = {};
        insert.hParent =
            folder.depth > 0 ? parents[static_cast<size_t>(folder.depth - 1)] : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<wchar_t*>(folder.name.c_str());
        insert.item.lParam = static_cast<LPARAM>(i);
        HTREEITEM item = reinterpret_cast<HTREEITEM>(
            SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        if (folder.depth > 0) { // every folder shows open
            SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(insert.hParent));
        }
        parents.resize(static_cast<size_t>(folder.depth));
        parents.push_back(item);
    }
    HTREEITEM first =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
}

LRESULT MainWindow::OnSize() {
    SendMessageW(status_, WM_SIZE, 0, 0);
    RECT client = {};
    RECT status = {};
    GetClientRect(window_, &client);
    GetWindowRect(status_, &status);
    int height = client.bottom - (status.bottom - status.top);
    MoveWindow(tree_, 0, 0, kTreeWidth, height, TRUE);
    MoveWindow(list_, kTreeWidth + 3, 0, client.right - kTreeWidth - 3, height, TRUE);
    // The status bar and the list's header repaint only what they gain, which
    // would leave the size grip and the header's old right edge standing.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 0;
}

// Left for another window (a dialog, another program), the main window
// remembers which of its children had the keyboard; activated again, it
// gives the keyboard back to that child, as a Windows main window does.
LRESULT MainWindow::OnActivate(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) {
            focus_ = focus;
        }
        return 0;
    }
    return DefWindowProcW(window_, WM_ACTIVATE, wParam, lParam); // focuses the window itself
}

LRESULT MainWindow::OnSetFocus() {
    if (focus_ != nullptr && IsChild(window_, focus_)) {
        SetFocus(focus_);
    }
    return 0;
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
    if (header.hwndFrom == tree_ &&
        (header.code == TVN_SELCHANGEDW || header.code == TVN_SELCHANGEDA)) {
        const NMTREEVIEWW& change = reinterpret_cast<const NMTREEVIEWW&>(header);
        if (const mailbox::Folder* folder = FolderOf(change.itemNew.hItem)) {
            OpenFolder(*folder);
        }
    } else if (header.hwndFrom == list_ && header.code == LVN_BEGINDRAG) {
        BeginDrag();
    }
    return 0;
}

LRESULT CALLBACK MainWindow::ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* self =
        reinterpret_cast<MainWindow*>(GetWindowLongPtrW(GetParent(list), GWLP_USERDATA));
    return self->OnListMessage(message, wParam, lParam);
}

// The list control takes a Ctrl+press as a toggle at once, so the message
// pressed to copy it would be deselected. As in Explorer, a Ctrl+press on a
// selected message waits: moved past the drag distance, it drags the
// selection; let go first, it reaches the list as the click it was.
LRESULT MainWindow::OnListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        if ((wParam & (MK_CONTROL | MK_SHIFT)) == MK_CONTROL && SelectedAt(lParam)) {
            heldPress_ = HeldPress{true, wParam, lParam};
            SetFocus(list_);
            SetCapture(list_);
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (heldPress_.held) {
            POINT at = PointOf(heldPress_.at);
            RECT still = {at.x, at.y, at.x, at.y};
            InflateRect(&still, GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG));
            if (!PtInRect(&still, PointOf(lParam))) {
                heldPress_.held = false;
                BeginDrag();
            }
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (heldPress_.held) {
            heldPress_.held = false;
            ReleaseCapture();
            CallWindowProcW(listProcedure_, list_, WM_LBUTTONDOWN, heldPress_.keys, heldPress_.at);
        }
        break;
    case WM_CAPTURECHANGED:
        heldPress_.held = false; // another window took the mouse
        break;
    default:
        break;
    }
    return CallWindowProcW(listProcedure_, list_, message, wParam, lParam);
}

bool MainWindow::SelectedAt(LPARAM listPoint) const {
    LVHITTESTINFO hit = {};
    hit.pt = PointOf(listPoint);
    int row = static_cast<int>(SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return row >= 0 &&
           SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
}

const mailbox::Folder* MainWindow::FolderOf(HTREEITEM item) const {
    TVITEMW entry = {};
    entry.mask = TVIF_PARAM;
    entry.hItem = item;
    if (item == nullptr ||
        !SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry))) {
        return nullptr;
    }
    return &mailbox_.Folders().at(static_cast<size_t>(entry.lParam));
}

void MainWindow::OpenFolder(const mailbox::Folder& folder) {
    current_ = folder.id;
    fake_host::TheHost().currentFolder = folder.id; // what QVA_GetCurrentFolder answers
    SetWindowTextW(window_, (L"QvHost - " + folder.name).c_str());
    FillList(0); // the newest message starts selected, as in the mail client
    ShowIdleStatus();
}

void MainWindow::FillList(size_t selected) {
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    const mailbox::Folder* folder = mailbox_.Find(current_);
    int row = 0;
    for (const mailbox::Message& message : folder->messages) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(message.subject.c_str());
        SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        const std::wstring* columns[] = {&message.sender, &message.date};
        for (int sub = 1; sub <= 2; ++sub) {
            item.iSubItem = sub;
            item.pszText = const_cast<wchar_t*>(columns[sub - 1]->c_str());
            SendMessageW(list_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
        }
        ++row;
    }
    if (row == 0) {
        return;
    }
    int focus = selected < folder->messages.size() ? static_cast<int>(selected) : row - 1;
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = state.stateMask;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(focus),
                 reinterpret_cast<LPARAM>(&state));
    SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(focus), FALSE);
}

std::vector<size_t> MainWindow::SelectedPositions() const {
    std::vector<size_t> positions;
    int row = -1;
    while ((row = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                LVNI_SELECTED))) >= 0) {
        positions.push_back(static_cast<size_t>(row));
    }
    return positions;
}

MainWindow::Filed MainWindow::Transfer(const std::string& target, bool copy) {
    std::vector<size_t> positions = SelectedPositions();
    if (positions.empty()) {
        return Filed::kNothingSelected; // nothing to move and nothing to say
    }
    const mailbox::Folder* folder = mailbox_.Find(target);
    std::wstring name = folder != nullptr ? folder->name : host_text::Wide(target);
    if (!mailbox_.Transfer(current_, positions, target, copy)) {
        // 「<name>」へは移動できません
        SetStatus(Quoted(name, L"\x300d\x3078\x306f\x79fb\x52d5\x3067\x304d\x307e\x305b\x3093"));
        return Filed::kRefused;
    }
    if (!copy) {
        FillList(positions.front()); // the message now where the first moved one was
    }
    // <n> 通を「<name>」へ移動しました, or へコピーしました
    SetStatus(std::to_wstring(positions.size()) + L" \x901a\x3092" +
              Quoted(name, copy ? L"\x300d\x3078\x30b3\x30d4\x30fc\x3057\x307e\x3057\x305f"
                                : L"\x300d\x3078\x79fb\x52d5\x3057\x307e\x3057\x305f"));
    return Filed::kDone;
}

LRESULT MainWindow::OnContextMenu(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(wParam) != list_) {
        return DefWindowProcW(window_, WM_CONTEXTMENU, wParam, lParam);
    }
    ShowMessageMenu(lParam);
    return 0;
}

void MainWindow::ShowMessageMenu(LPARAM screenPoint) {
    POINT at = MenuPosition(screenPoint);
    // A fresh menu each time; the plug-in puts its submenu at the top.
    win_handles::Menu menu = host_menus::MessageMenu();
    plugin_.MenuInit(window_, menu.get(), 1);
    // The item picked arrives as WM_COMMAND.
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0,
                   window_, nullptr);
}

// Where the click was, or for the keyboard's menu key (or a point outside the
// list) below the focused message.
POINT MainWindow::MenuPosition(LPARAM screenPoint) const {
    POINT at = PointOf(screenPoint);
    RECT list = {};
    GetWindowRect(list_, &list);
    if (screenPoint != -1 && PtInRect(&list, at)) {
        return at;
    }
    int focused = static_cast<int>(
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    RECT item = {};
    item.left = LVIR_LABEL;
    if (focused < 0 || !SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(focused),
                                     reinterpret_cast<LPARAM>(&item))) {
        item = RECT{0, 0, 0, 0};
    }
    at = POINT{item.left + 24, item.bottom};
    ClientToScreen(list_, &at);
    return at;
}

LRESULT MainWindow::OnInitMenuPopup(HMENU menu) {
    host_menus::ApplyPluginStates(menu);
    return 0;
}

LRESULT MainWindow::OnEnterMenuLoop() {
    statusBeforeMenu_ = Status();
    return 0;
}

LRESULT MainWindow::OnExitMenuLoop() {
    SetStatus(statusBeforeMenu_);
    return 0;
}

LRESULT MainWindow::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    if (menu == nullptr) {
        return 0; // the menu closes; WM_EXITMENULOOP puts the status back
    }
    bool command = (flags & (MF_POPUP | MF_SEPARATOR)) == 0;
    SetStatus(command ? host_menus::HelpText(item) : std::wstring());
    return 0;
}

LRESULT MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam != 0) {
        return 0; // a control's notification
    }
    UINT id = LOWORD(wParam);
    if (id == 0) {
        return 0; // an item without a command, such as the plug-in's placeholder
    }
    if (!host_menus::RunPluginCommand(id, window_)) {
        RunHostCommand(id);
    }
    return 0;
}

void MainWindow::RunHostCommand(UINT id) {
    switch (id) {
    case host_menus::kExit:
        DestroyWindow(window_);
        break;
    case host_menus::kSelectAll: {
        LVITEMW state = {};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(&state));
        break;
    }
    case host_menus::kRefresh:
        FillList(0);
        break;
    case host_menus::kDelete:
        Transfer(mailbox::kTrashFolder, false);
        break;
    default:
        SetStatus(
            L"\x3053\x306e\x6a5f\x80fd\x306f\x3042\x308a\x307e\x305b\x3093"); // この機能はありません
        break;
    }
}

HTREEITEM MainWindow::FolderAt(LPARAM clientPoint) const {
    TVHITTESTINFO hit = {};
    hit.pt = PointOf(clientPoint);
    MapWindowPoints(window_, tree_, &hit.pt, 1);
    HTREEITEM item = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & TVHT_ONITEM) != 0 ? item : nullptr;
}

LRESULT MainWindow::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (dragging_) {
        HTREEITEM target = FolderAt(lParam);
        SendMessageW(tree_, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(target));
        if (target == nullptr) {
            SetCursor(LoadCursorA(nullptr, IDC_NO));
        } else {
            // Held Ctrl copies at the drop.
            SetCursor((wParam & MK_CONTROL) != 0 ? copyCursor_.get()
                                                 : LoadCursorA(nullptr, IDC_ARROW));
        }
    }
    return 0;
}

LRESULT MainWindow::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
    if (!dragging_) {
        return 0;
    }
    const mailbox::Folder* target = FolderOf(FolderAt(lParam));
    EndDrag();
    if (target == nullptr || target->id == current_) {
        return 0; // dropped where the messages already are, or on no folder
    }
    // Held Ctrl copies (drop kind 2); a plain drop moves (kind 1). A drop
    // that files no mail is none: the plug-in hears only of one that did.
    bool copy = (wParam & MK_CONTROL) != 0;
    if (Transfer(target->id, copy) == Filed::kDone) {
        plugin_.DragDrop(target->id, copy ? 2 : 1);
    }
    return 0;
}

void MainWindow::BeginDrag() {
    dragging_ = true;
    SetCapture(window_); // the rest of the drag comes to this window
}

void MainWindow::EndDrag() {
    dragging_ = false;
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_DROPHILITE, 0);
    ReleaseCapture();
}

LRESULT MainWindow::OnCaptureChanged() {
    if (dragging_) {
        EndDrag(); // another window took the mouse: the drag is off
    }
    return 0;
}

LRESULT MainWindow::OnDestroy() {
    fake_host::TheHost().moveResultFor = nullptr;
    PostQuitMessage(0);
    return 0;
}

void MainWindow::ShowIdleStatus() {
    const mailbox::Folder* folder = mailbox_.Find(current_);
    // <name>: <n> 通
    SetStatus(folder->name + L": " + std::to_wstring(folder->messages.size()) + L" \x901a");
}

void MainWindow::SetStatus(const std::wstring& text) {
    SetWindowTextW(status_, text.c_str());
}

std::wstring MainWindow::Status() const {
    wchar_t text[256] = {};
    GetWindowTextW(status_, text, 256);
    return text;
}

} // namespace

int Run(const char* pluginPath, int showCommand, const std::function<void(HWND)>& opened) {
    // The mail client has its settings key from its first start on; the
    // plug-in only opens it, to read at load and to write at unload.
    host_settings::CreateKey();
    LoadedPlugin plugin(pluginPath);
    if (!plugin.Usable()) {
        // <path> をプラグインとして読み込めません (エラー <n>)
        std::wstring text = host_text::Wide(pluginPath) +
                            L" \x3092\x30d7\x30e9\x30b0\x30a4\x30f3\x3068\x3057\x3066\x8aad"
                            L"\x307f\x8fbc\x3081\x307e\x305b\x3093 (\x30a8\x30e9\x30fc " +
                            std::to_wstring(plugin.LoadError()) + L")";
        MessageBoxW(nullptr, text.c_str(), L"QvHost", MB_OK | MB_ICONERROR);
        return 1;
    }
    plugin.Notify("QVC_OnStart");
    HWND window = MainWindow::Open(plugin, showCommand);
    if (window != nullptr && opened) {
        opened(window);
    }
    win_handles::Accelerators keys = host_menus::Accelerators();
    MSG message;
    while (window != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(window, keys.get(), &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    plugin.Notify("QVC_OnExit");
    return window != nullptr ? 0 : 1;
}

} // namespace main_window
