#include "common/folder_name.h"

#include <cstring>
#include <new>

#include <windows.h>
#include <oleauto.h>

#include "common/bstr.h"
#include "common/folder_name_error.h"
#include "common/resource_counts.h"

struct FolderName::Body {
    volatile LONG refs;
    BSTR wide;  // never null
    char* ansi; // made on first request
};

namespace {

[[noreturn]] void RaiseLastError() {
    RaiseFolderNameError(StatusFromWin32(GetLastError()));
}

BSTR AllocWide(std::size_t length) {
    if (length > 0x7FFFFFFEu / sizeof(wchar_t)) {
        RaiseFolderNameError(kStatusOutOfMemory);
    }
    BSTR wide = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (wide == nullptr) {
        RaiseFolderNameError(kStatusOutOfMemory);
    }
    return wide;
}

} // namespace

// Takes ownership of `wide`, also when it raises.
FolderName::Body* FolderName::NewBody(wchar_t* wide) {
    BStr owner(wide);
    // cppcheck-suppress unreadVariable ; read just below, cppcheck misparses new (std::nothrow) T{}
    Body* body = new (std::nothrow) Body{1, wide, nullptr};
    if (body == nullptr) {
        RaiseFolderNameError(kStatusOutOfMemory);
    }
    owner.release();
    InterlockedIncrement(&LiveResources().folderBodies);
    return body;
}

FolderName::FolderName(const char* ansi) {
    if (ansi == nullptr) {
        return;
    }
    // Measure first (the count includes the NUL), then convert.
    int units = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    if (units <= 0) {
        RaiseLastError();
    }
    BStr wide(AllocWide(static_cast<std::size_t>(units) - 1));
    if (MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide.get(), units) <= 0) {
        RaiseLastError();
    }
    body_ = NewBody(wide.release());
}

FolderName FolderName::FromWide(const wchar_t* text, std::size_t length) {
    BStr wide(AllocWide(length));
    if (length != 0) {
        std::memcpy(wide.get(), text, length * sizeof(wchar_t));
    }
    return Adopt(NewBody(wide.release()));
}

FolderName::FolderName(const FolderName& other) noexcept : body_(other.body_) {
    if (body_ != nullptr) {
        InterlockedIncrement(&body_->refs);
    }
}

FolderName::FolderName(FolderName&& other) noexcept : body_(other.body_) {
    other.body_ = nullptr;
}

FolderName& FolderName::operator=(FolderName other) noexcept {
    Body* old = body_;
    body_ = other.body_;
    // cppcheck-suppress unreadVariable ; the parameter's destructor releases the old body
    other.body_ = old;
    return *this;
}

FolderName::~FolderName() {
    if (body_ != nullptr && InterlockedDecrement(&body_->refs) == 0) {
        SysFreeString(body_->wide);
        delete[] body_->ansi;
        delete body_;
        InterlockedDecrement(&LiveResources().folderBodies);
    }
}

const wchar_t* FolderName::Wide() const noexcept {
    return body_ != nullptr ? body_->wide : nullptr;
}

std::size_t FolderName::Length() const noexcept {
    return body_ != nullptr ? SysStringLen(body_->wide) : 0;
}

const char* FolderName::Ansi() const {
    if (body_ == nullptr) {
        return nullptr;
    }
    if (body_->ansi == nullptr) {
        // Up to the first NUL, into a buffer of exactly the measured size.
        int bytes = WideCharToMultiByte(CP_ACP, 0, body_->wide, -1, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0) {
            RaiseLastError();
        }
        char* ansi = new (std::nothrow) char[static_cast<std::size_t>(bytes)];
        if (ansi == nullptr) {
            RaiseFolderNameError(kStatusOutOfMemory);
        }
        if (WideCharToMultiByte(CP_ACP, 0, body_->wide, -1, ansi, bytes, nullptr, nullptr) <= 0) {
            DWORD error = GetLastError();
            delete[] ansi;
            RaiseFolderNameError(StatusFromWin32(error));
        }
        body_->ansi = ansi;
    }
    return body_->ansi;
}

FolderName FolderName::Join(const FolderName& first, const FolderName& second) {
    std::size_t firstLength = first.Length();
    std::size_t secondLength = second.Length();
    if (secondLength > 0x3FFFFFFFu - firstLength) {
        RaiseFolderNameError(kStatusOutOfMemory);
    }
    BStr wide(AllocWide(firstLength + secondLength));
    if (firstLength != 0) {
        std::memcpy(wide.get(), first.Wide(), firstLength * sizeof(wchar_t));
    }
    if (secondLength != 0) {
        std::memcpy(wide.get() + firstLength, second.Wide(), secondLength * sizeof(wchar_t));
    }
    return Adopt(NewBody(wide.release()));
}
