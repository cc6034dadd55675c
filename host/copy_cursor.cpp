#include "copy_cursor.h"

#include <cstring>

namespace copy_cursor {

namespace {

constexpr int kSize = 32;

// X black, o white, anything else shows through; the hot spot is the top left.
const char* const kPicture[] = {
    "X",
    "XX",
    "XoX",
    "XooX",
    "XoooX",
    "XooooX",
    "XoooooX",
    "XooooooX",
    "XoooooooX",
    "XooooooooX",
    "XoooooooooX",
    "XooooooXXXXX",
    "XoooXooX",
    "XooX XooX",
    "XoX  XooX",
    "XX    XooX",
    "X     XooX",
    "       XooX",
    "       XooXXXXXXXXX",
    "        XXXoooooooX",
    "          XoooXoooX",
    "          XoooXoooX",
    "          XoXXXXXoX",
    "          XoooXoooX",
    "          XoooXoooX",
    "          XoooooooX",
    "          XXXXXXXXX",
};

} // namespace

win_handles::Cursor Make() {
    constexpr int kRowBytes = kSize / 8;
    BYTE andMask[kSize * kRowBytes];
    BYTE xorMask[kSize * kRowBytes];
    std::memset(andMask, 0xFF, sizeof andMask);
    std::memset(xorMask, 0, sizeof xorMask);
    int row = 0;
    for (const char* line : kPicture) {
        for (int column = 0; line[column] != '\0'; ++column) {
            BYTE bit = static_cast<BYTE>(0x80 >> (column % 8));
            int at = row * kRowBytes + column / 8;
            if (line[column] == 'X' || line[column] == 'o') {
                andMask[at] = static_cast<BYTE>(andMask[at] & ~bit);
            }
            if (line[column] == 'o') {
                xorMask[at] = static_cast<BYTE>(xorMask[at] | bit);
            }
        }
        ++row;
    }
    return win_handles::Cursor(
        CreateCursor(GetModuleHandleW(nullptr), 0, 0, kSize, kSize, andMask, xorMask));
}

} // namespace copy_cursor
