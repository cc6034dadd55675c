// Owner of one OLE Automation string.
#pragma once

#include <windows.h>
#include <oleauto.h>

class BStr {
  public:
    BStr() noexcept = default;
    explicit BStr(BSTR text) noexcept : text_(text) {}
    BStr(const BStr&) = delete;
    BStr& operator=(const BStr&) = delete;
    ~BStr() { SysFreeString(text_); }

    BSTR get() const noexcept { return text_; }
    BSTR release() noexcept {
        BSTR text = text_;
        text_ = nullptr;
        return text;
    }

  private:
    BSTR text_ = nullptr;
};
