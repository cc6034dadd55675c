#include "host_menus.h"

#include "fake_host.h"
#include "host_text.h"

namespace host_menus {

namespace {

struct Item {
    UINT id;
    const wchar_t* label;
    const wchar_t* help;
};

const Item kItems[] = {
    // 終了(&X): 見本のホストを終了します
    {kExit, L"\x7d42\x4e86(&X)",
     L"\x898b\x672c\x306e\x30db\x30b9\x30c8\x3092\x7d42\x4e86\x3057\x307e\x3059"},
    // すべて選択(&A), Ctrl+A: 一覧のメールをすべて選択します
    {kSelectAll, L"\x3059\x3079\x3066\x9078\x629e(&A)\tCtrl+A",
     L"\x4e00\x89a7\x306e\x30e1\x30fc\x30eb\x3092\x3059\x3079\x3066\x9078\x629e\x3057\x307e\x3059"},
    // 最新の情報に更新(&R): 一覧を読み直します
    {kRefresh, L"\x6700\x65b0\x306e\x60c5\x5831\x306b\x66f4\x65b0(&R)",
     L"\x4e00\x89a7\x3092\x8aad\x307f\x76f4\x3057\x307e\x3059"},
    // 新規作成(&N): 新しいメールを書きます
    {kNewMail, L"\x65b0\x898f\x4f5c\x6210(&N)",
     L"\x65b0\x3057\x3044\x30e1\x30fc\x30eb\x3092\x66f8\x304d\x307e\x3059"},
    // オプション(&O)...: 設定を変更します
    {kOptions, L"\x30aa\x30d7\x30b7\x30e7\x30f3(&O)...",
     L"\x8a2d\x5b9a\x3092\x5909\x66f4\x3057\x307e\x3059"},
    // 返信(&R): 選択したメールに返信します
    {kReply, L"\x8fd4\x4fe1(&R)",
     L"\x9078\x629e\x3057\x305f\x30e1\x30fc\x30eb\x306b\x8fd4\x4fe1\x3057\x307e\x3059"},
    // 転送(&F): 選択したメールを転送します
    {kForward, L"\x8ee2\x9001(&F)",
     L"\x9078\x629e\x3057\x305f\x30e1\x30fc\x30eb\x3092\x8ee2\x9001\x3057\x307e\x3059"},
    // 削除(&D): 選択したメールをごみ箱へ移動します
    {kDelete, L"\x524a\x9664(&D)",
     L"\x9078\x629e\x3057\x305f\x30e1\x30fc\x30eb\x3092\x3054\x307f\x7bb1\x3078\x79fb\x52d5\x3057"
     L"\x307e\x3059"},
};

const Item* FindItem(UINT id) {
    for (const Item& item : kItems) {
        if (item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

void Append(HMENU menu, UINT id) {
    AppendMenuW(menu, MF_STRING, id, FindItem(id)->label);
}

void AppendSubmenu(HMENU bar, const wchar_t* label, UINT id) {
    win_handles::Menu submenu(CreatePopupMenu());
    Append(submenu.get(), id);
    // The bar owns the submenu from here on.
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.Release()), label);
}

} // namespace

win_handles::Menu MenuBar() {
    win_handles::Menu bar(CreateMenu());
    AppendSubmenu(bar.get(), L"\x30d5\x30a1\x30a4\x30eb(&F)", kExit); // ファイル(&F)
    AppendSubmenu(bar.get(), L"\x7de8\x96c6(&E)", kSelectAll);        // 編集(&E)
    AppendSubmenu(bar.get(), L"\x8868\x793a(&V)", kRefresh);          // 表示(&V)
    AppendSubmenu(bar.get(), L"\x30e1\x30fc\x30eb(&M)", kNewMail);    // メール(&M)
    AppendSubmenu(bar.get(), L"\x30c4\x30fc\x30eb(&T)", kOptions);    // ツール(&T)
    return bar;
}

win_handles::Menu MessageMenu() {
    win_handles::Menu menu(CreatePopupMenu());
    Append(menu.get(), kReply);
    Append(menu.get(), kForward);
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    Append(menu.get(), kDelete);
    return menu;
}

win_handles::Accelerators Accelerators() {
    ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'A', kSelectAll}};
    return win_handles::Accelerators(CreateAcceleratorTableW(keys, 1));
}

std::wstring HelpText(UINT id) {
    if (const Item* item = FindItem(id)) {
        return item->help;
    }
    const fake_host::Command* command = fake_host::FindCommand(static_cast<int>(id));
    return command != nullptr ? host_text::Wide(command->comment) : std::wstring();
}

void ApplyPluginStates(HMENU menu) {
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        UINT id = GetMenuItemID(menu, position);
        if (id == static_cast<UINT>(-1) || FindItem(id) != nullptr) {
            continue; // a submenu, or one of ours
        }
        int state = fake_host::QueryState(static_cast<int>(id));
        if (state >= 0) {
            EnableMenuItem(menu, static_cast<UINT>(position),
                           MF_BYPOSITION | (state == 1 ? MF_GRAYED : MF_ENABLED));
        }
    }
}

bool RunPluginCommand(UINT id, HWND window) {
    return FindItem(id) == nullptr && fake_host::InvokeCommand(static_cast<int>(id), window);
}

} // namespace host_menus
