// Owner of one open registry key.
#pragma once

#include <windows.h>

class RegistryKey {
  public:
    // Opens an existing key for reading and setting values; never creates it.
    // The open counts as failed when no handle comes back.
    RegistryKey(HKEY root, const char* path) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey();

    explicit operator bool() const noexcept { return key_ != nullptr; }
    HKEY get() const noexcept { return key_; }

  private:
    HKEY key_ = nullptr;
};
