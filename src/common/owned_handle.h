// The owner of one Windows handle: frees it, once, with the one function that
// frees its kind, when the owner goes, unless it was released first.
#pragma once

#include <utility>

template <typename Handle, void (*Free)(Handle)> class OwnedHandle {
  public:
    OwnedHandle() noexcept = default;
    explicit OwnedHandle(Handle handle) noexcept : handle_(handle) {}
    ~OwnedHandle() { Reset(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.Release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle(); }
    // Gives the handle up without freeing it (to a new owner, or to Windows).
    Handle Release() noexcept { return std::exchange(handle_, Handle()); }
    void Reset(Handle handle = Handle()) noexcept {
        if (handle_ != Handle()) {
            Free(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = Handle();
};
