// Owner of one open registry key, and where a key is.
#pragma once

#include <windows.h>

struct KeyLocation {
    HKEY root;
    const char* path; // ANSI; null names no key (never the root itself)
};

class RegistryKey {
  public:
    // Opens an existing key for reading and setting values; never creates it.
    // The open counts as failed when no handle comes back.
    explicit RegistryKey(const KeyLocation& location) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey();

    explicit operator bool() const noexcept { return key_ != nullptr; }
    HKEY get() const noexcept { return key_; }

  private:
    HKEY key_ = nullptr;
};
