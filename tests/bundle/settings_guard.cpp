// run-tests.cmd's guard of the user's own settings, on the machine that holds
// them. It is the one program of the bundle that reads the mail client's key,
// and it only reads it: the copy it keeps is a .reg file that the user
// imports. The only keys it deletes are test keys under
// HKEY_CURRENT_USER\Software\QvVornTests whose program is gone.
//   save          writes settings-before-<local time>.reg here and prints the
//                 two values as bytes
//   compare FILE  compares the values now with FILE, an earlier save's output
//   keys          removes the test keys that ended programs left
// Everything it prints is ASCII lines, for run-tests.cmd to read.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <string>
#include <vector>

#include "error_dialogs.h"
#include "win_handles.h"

namespace {

const wchar_t kClientKey[] = L"Software\\Halvane\\QV2\\Settings";
const wchar_t kTestsKey[] = L"Software\\QvVornTests";
// The values that the plug-in owns, in the order they are printed.
const wchar_t* const kValueNames[] = {L"VornMax", L"VornFolder"};

void Line(const std::string& text) {
    std::printf("%s\n", text.c_str());
}

// A name for a line that run-tests.cmd shows: any character that cmd could
// take as its own shows as '?'.
std::string Ascii(const std::wstring& text) {
    std::string result;
    for (wchar_t c : text) {
        bool plain = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                     (c >= L'0' && c <= L'9') || (c != 0 && std::wcschr(L" ._-:\\", c) != nullptr);
        result += plain ? static_cast<char>(c) : '?';
    }
    return result;
}

std::string Hex(unsigned long number, const char* format) {
    char text[16];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

std::string ErrorText(const std::string& what, LONG error) {
    return what + ": error " + std::to_string(error);
}

struct Value {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};

struct Settings {
    bool keyPresent = false;
    Value values[2];
};

// A value's type and bytes as they are stored, whatever their type and size;
// it may grow between a call that measures it and the read.
LONG ReadValue(HKEY key, const wchar_t* name, Value& value) {
    DWORD size = 0;
    LONG result = ERROR_MORE_DATA;
    while (result == ERROR_MORE_DATA || (result == ERROR_SUCCESS && size > value.data.size())) {
        value.data.resize(size);
        result = RegQueryValueExW(key, name, nullptr, &value.type, value.data.data(), &size);
    }
    value.data.resize(result == ERROR_SUCCESS ? size : 0);
    value.present = result == ERROR_SUCCESS;
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

// The key is opened to read values alone: nothing here can change it.
bool ReadSettings(Settings& settings, std::string& why) {
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, kClientKey, 0, KEY_QUERY_VALUE, &opened);
    if (result == ERROR_FILE_NOT_FOUND) {
        return true;
    }
    if (result != ERROR_SUCCESS) {
        why = ErrorText("HKCU\\Software\\Halvane\\QV2\\Settings cannot be opened", result);
        return false;
    }
    win_handles::RegistryKey key(opened);
    settings.keyPresent = true;
    for (int i = 0; i < 2; ++i) {
        result = ReadValue(key.get(), kValueNames[i], settings.values[i]);
        if (result != ERROR_SUCCESS) {
            why = ErrorText(Ascii(kValueNames[i]) + " cannot be read", result);
            return false;
        }
    }
    return true;
}

// What save prints and compare compares, in this order: "key: present", then
// a line a value, "VornMax: REG_DWORD (4 bytes) 0c 00 00 00", with every byte
// of it, so that equal lines are equal values.
std::vector<std::string> SettingsLines(const Settings& settings) {
    std::vector<std::string> lines = {settings.keyPresent ? "key: present" : "key: absent"};
    for (int i = 0; i < 2; ++i) {
        const Value& value = settings.values[i];
        std::string type = value.type == REG_SZ      ? "REG_SZ"
                           : value.type == REG_DWORD ? "REG_DWORD"
                                                     : "type " + std::to_string(value.type);
        lines.push_back(Ascii(kValueNames[i]) + ": " +
                        (value.present ? type + " (" + std::to_string(value.data.size()) + " bytes)"
                                       : "absent"));
        for (BYTE byte : value.data) {
            lines.back() += Hex(byte, " %02x");
        }
    }
    return lines;
}

// What `reg import` takes to put both values back as they were, with the
// stored type and bytes (hex(N)); a value that was absent is deleted.
// Without the key there is nothing to put back, and a section line would
// make the key, so the file only says so.
std::string RegFile(const Settings& settings) {
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n";
    if (!settings.keyPresent) {
        return text + "; HKEY_CURRENT_USER\\Software\\Halvane\\QV2\\Settings was not there: "
                      "there is nothing to put back, and an import must not make it.\r\n";
    }
    text += "[HKEY_CURRENT_USER\\Software\\Halvane\\QV2\\Settings]\r\n";
    for (int i = 0; i < 2; ++i) {
        const Value& value = settings.values[i];
        text += "\"" + Ascii(kValueNames[i]) + "\"=";
        text += value.present ? Hex(value.type, "hex(%lx):") : "-";
        for (size_t b = 0; b < value.data.size(); ++b) {
            text += Hex(value.data[b], b == 0 ? "%02x" : ",%02x");
        }
        text += "\r\n";
    }
    return text + "\r\n";
}

// A file of a name that no file here has (CREATE_NEW never overwrites one),
// in UTF-16LE with a byte order mark, as regedit writes version 5.00 files.
bool WriteRegFile(const std::string& text, std::string& name, std::string& why) {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    char base[40];
    std::snprintf(base, sizeof base, "settings-before-%04u%02u%02u-%02u%02u%02u", now.wYear,
                  now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int number = 1; created == INVALID_HANDLE_VALUE && number <= 100; ++number) {
        name = base + (number == 1 ? "" : "-" + std::to_string(number)) + ".reg";
        created = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            why = ErrorText("cannot make " + name, GetLastError());
            return false;
        }
    }
    if (created == INVALID_HANDLE_VALUE) {
        why = std::string("100 files named ") + base + "*.reg are here already";
        return false;
    }
    win_handles::KernelHandle file(created);
    std::wstring bytes = L"\xfeff" + std::wstring(text.begin(), text.end());
    DWORD size = static_cast<DWORD>(bytes.size() * sizeof(wchar_t));
    DWORD written = 0;
    if (WriteFile(file.get(), bytes.data(), size, &written, nullptr) && written == size &&
        FlushFileBuffers(file.get())) {
        return true;
    }
    why = ErrorText("cannot write " + name, GetLastError());
    file.Reset();
    DeleteFileA(name.c_str());
    return false;
}

int Save() {
    Settings settings;
    std::string why;
    std::string name;
    if (!ReadSettings(settings, why) || !WriteRegFile(RegFile(settings), name, why)) {
        Line("cannot save: " + why);
        return 1;
    }
    Line("saved: " + name);
    for (const std::string& line : SettingsLines(settings)) {
        Line(line);
    }
    // What run-tests.cmd compares with later: a line lost here is a save
    // that failed.
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int Compare(const char* path) {
    std::vector<std::string> before;
    std::ifstream file(path, std::ios::binary);
    for (std::string line; std::getline(file, line);) {
        before.push_back(line.substr(0, line.find_last_not_of("\r\n") + 1));
    }
    if (before.size() != 4 || before[0].compare(0, 7, "saved: ") != 0) {
        Line("cannot compare: " + Ascii(std::wstring(path, path + std::strlen(path))) +
             " holds no values that save printed");
        return 2;
    }
    Settings settings;
    std::string why;
    if (!ReadSettings(settings, why)) {
        Line("cannot compare: " + why);
        return 2;
    }
    std::vector<std::string> now = SettingsLines(settings);
    bool changed = false;
    for (size_t i = 0; i < now.size(); ++i) {
        if (before[i + 1] != now[i]) {
            Line("changed: " + now[i].substr(0, now[i].find(':')));
            Line("before: " + before[i + 1]);
            Line("after: " + now[i]);
            changed = true;
        }
    }
    if (!changed) {
        Line("unchanged: VornMax and VornFolder");
    }
    return changed ? 1 : 0;
}

// A test key's process: ended unless it opens and is not yet signalled. One
// that cannot be opened for another reason is taken as running: its key is
// left rather than taken from a running program.
bool ProcessRunning(DWORD id) {
    HANDLE opened = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (opened == nullptr) {
        return GetLastError() != ERROR_INVALID_PARAMETER;
    }
    win_handles::KernelHandle process(opened);
    return WaitForSingleObject(process.get(), 0) != WAIT_OBJECT_0;
}

int Keys() {
    HKEY opened = nullptr;
    LONG result =
        RegOpenKeyExW(HKEY_CURRENT_USER, kTestsKey, 0,
                      DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE, &opened);
    if (result == ERROR_FILE_NOT_FOUND) {
        return 0;
    }
    if (result != ERROR_SUCCESS) {
        Line(ErrorText("cannot check: HKCU\\Software\\QvVornTests cannot be opened", result));
        return 1;
    }
    win_handles::RegistryKey tests(opened);
    std::vector<std::wstring> names;
    wchar_t name[256];
    for (DWORD length = 256;
         RegEnumKeyExW(tests.get(), static_cast<DWORD>(names.size()), name, &length, nullptr,
                       nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         length = 256) {
        names.emplace_back(name, length);
    }
    int status = 0;
    for (const std::wstring& subkey : names) {
        // A program's key is named after its process id: digits alone.
        std::string shown = "QvVornTests\\" + Ascii(subkey);
        bool numbered = !subkey.empty() && subkey.size() <= 9 &&
                        subkey.find_first_not_of(L"0123456789") == std::wstring::npos;
        if (!numbered) {
            Line("kept: " + shown);
        } else if (ProcessRunning(std::wcstoul(subkey.c_str(), nullptr, 10))) {
            Line("in use: " + shown);
        } else if ((result = RegDeleteTreeW(tests.get(), subkey.c_str())) == ERROR_SUCCESS) {
            Line("removed: " + shown);
        } else {
            Line(ErrorText("cannot remove: " + shown, result));
            status = 1;
        }
    }
    tests.Reset();
    // Fails while the key has subkeys: then it stays for them.
    RegDeleteKeyW(HKEY_CURRENT_USER, kTestsKey);
    return status;
}

} // namespace

int main(int argc, char* argv[]) {
    error_dialogs::TurnOff();
    std::string command = argc >= 2 ? argv[1] : "";
    if (command == "save" && argc == 2) {
        return Save();
    }
    if (command == "compare" && argc == 3) {
        return Compare(argv[2]);
    }
    if (command == "keys" && argc == 2) {
        return Keys();
    }
    Line("usage: settings_guard save | compare FILE | keys");
    return 2;
}
