// The plug-in's own texts as the tests expect them, each written here once.
// They are written as UTF-16 and converted, so a wrong byte in the product's
// code page 932 literals cannot hide behind a copy of it.
#pragma once

#include <string>

namespace cp932_text {

// `text` in code page 932, or in `codePage` (CP_ACP: as the plug-in converts).
std::string FromWide(const wchar_t* text, unsigned codePage = 932);

// フォルダへ移動: the comment of the command registered for the submenu.
inline constexpr wchar_t kSubmenuComment[] = L"\x30d5\x30a9\x30eb\x30c0\x3078\x79fb\x52d5";
// フォルダへ移動(&Q): the submenu's label.
inline constexpr wchar_t kSubmenuLabel[] = L"\x30d5\x30a9\x30eb\x30c0\x3078\x79fb\x52d5(&Q)";
// " に移動": what follows the display text in an item's comment.
inline constexpr wchar_t kMoveSuffix[] = L" \x306b\x79fb\x52d5";
// (フォルダが登録されていません。何かメールを移動すると登録されます。): the
// only item of an empty submenu.
inline constexpr wchar_t kPlaceholder[] =
    L"(\x30d5\x30a9\x30eb\x30c0\x304c\x767b\x9332\x3055\x308c\x3066\x3044\x307e\x305b\x3093\x3002"
    L"\x4f55\x304b\x30e1\x30fc\x30eb\x3092\x79fb\x52d5\x3059\x308b\x3068\x767b\x9332\x3055\x308c"
    L"\x307e\x3059\x3002)";
// フォルダ移動の設定をする(&E)...: the settings command's label.
inline constexpr wchar_t kSettingsLabel[] =
    L"\x30d5\x30a9\x30eb\x30c0\x79fb\x52d5\x306e\x8a2d\x5b9a\x3092\x3059\x308b(&E)...";
// フォルダ移動の設定をする: the settings command's comment.
inline constexpr wchar_t kSettingsComment[] =
    L"\x30d5\x30a9\x30eb\x30c0\x79fb\x52d5\x306e\x8a2d\x5b9a\x3092\x3059\x308b";
// フォルダ移動の設定: the settings dialog's caption.
inline constexpr wchar_t kDialogCaption[] =
    L"\x30d5\x30a9\x30eb\x30c0\x79fb\x52d5\x306e\x8a2d\x5b9a";
// 設定: the dialog's group box.
inline constexpr wchar_t kDialogGroup[] = L"\x8a2d\x5b9a";
// 最大表示フォルダ数(&M) (5～30)： with U+FF5E and U+FF1A: the dialog's label.
inline constexpr wchar_t kMaxFoldersLabel[] =
    L"\x6700\x5927\x8868\x793a\x30d5\x30a9\x30eb\x30c0\x6570(&M) (5\xff5e"
    L"30)\xff1a";
// キャンセル: the dialog's cancel button.
inline constexpr wchar_t kCancel[] = L"\x30ad\x30e3\x30f3\x30bb\x30eb";
// 範囲内の数値を入力してください: the warning for a number out of range.
inline constexpr wchar_t kRangeWarning[] =
    L"\x7bc4\x56f2\x5185\x306e\x6570\x5024\x3092\x5165\x529b\x3057\x3066\x304f\x3060\x3055\x3044";
// Quorvel!移動プラグイン: the plug-in's name.
inline constexpr wchar_t kPluginName[] = L"Quorvel!\x79fb\x52d5\x30d7\x30e9\x30b0\x30a4\x30f3";

} // namespace cp932_text
