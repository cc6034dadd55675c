#include "common/folder_name.h"

#include <cstring>
#include <new>

#include <windows.h>

#include "common/folder_name_error.h"
#include "common/resource_counts.h"

// The header, then the text and its NUL.
struct FolderName::Body {
    enum class RoundTrip { Unknown, Yes, No };

    explicit Body(std::size_t units) noexcept : length(units) { Text()[units] = L'\0'; }

    volatile LONG refs = 1;
    std::size_t length;   // code units, without the NUL
    char* ansi = nullptr; // made on first request
    RoundTrip roundTrip = RoundTrip::Unknown;

    wchar_t* Text() noexcept { return reinterpret_cast<wchar_t*>(this + 1); }
};

namespace {

// The longest text a body takes, in code units.
constexpr std::size_t kLongestText = 0x7FFFFFFEu / sizeof(wchar_t);

[[noreturn]] void RaiseLastError() {
    RaiseFolderNameError(StatusFromWin32(GetLastError()));
}

} // namespace

// A body with room for `length` units and its NUL in place; the caller fills
// the text.
FolderName::Body* FolderName::NewBody(std::size_t length) {
    if (length > kLongestText) {
        RaiseFolderNameError(kStatusOutOfMemory);
    }
    void* block = ::operator new(sizeof(Body) + (length + 1) * sizeof(wchar_t), std::nothrow);
    if (block == nullptr) {
        RaiseFolderNameError(kStatusOutOfMemory);
    }
    CountTaken(Resource::FolderBody);
    return new (block) Body(length);
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
    FolderName made;
    made.body_ = NewBody(static_cast<std::size_t>(units) - 1);
    if (MultiByteToWideChar(CP_ACP, 0, ansi, -1, made.body_->Text(), units) <= 0) {
        RaiseLastError();
    }
    body_ = made.body_;
    made.body_ = nullptr;
}

FolderName FolderName::FromWide(const wchar_t* text, std::size_t length) {
    FolderName made;
    made.body_ = NewBody(length);
    if (length != 0) {
        std::memcpy(made.body_->Text(), text, length * sizeof(wchar_t));
    }
    return made;
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

// A sole holder needs no atomic decrement: no one else can reach the body.
FolderName::~FolderName() {
    if (body_ != nullptr && (body_->refs == 1 || InterlockedDecrement(&body_->refs) == 0)) {
        FreeBody(body_);
    }
}

void FolderName::FreeBody(Body* body) noexcept {
    delete[] body->ansi;
    body->~Body();
    CountGiven(Resource::FolderBody);
    ::operator delete(body);
}

const wchar_t* FolderName::Wide() const noexcept {
    return body_ != nullptr ? body_->Text() : nullptr;
}

std::size_t FolderName::Length() const noexcept {
    return body_ != nullptr ? body_->length : 0;
}

const char* FolderName::Ansi() const {
    if (body_ == nullptr) {
        return nullptr;
    }
    if (body_->ansi == nullptr) {
        // Up to the first NUL, into a buffer of exactly the measured size.
        const wchar_t* wide = body_->Text();
        int bytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0) {
            RaiseLastError();
        }
        char* ansi = new (std::nothrow) char[static_cast<std::size_t>(bytes)];
        if (ansi == nullptr) {
            RaiseFolderNameError(kStatusOutOfMemory);
        }
        if (WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, bytes, nullptr, nullptr) <= 0) {
            DWORD error = GetLastError();
            delete[] ansi;
            RaiseFolderNameError(StatusFromWin32(error));
        }
        body_->ansi = ansi;
    }
    return body_->ansi;
}

FolderName FolderName::ThroughAnsi() const {
    if (body_ == nullptr || body_->roundTrip == Body::RoundTrip::Yes) {
        return *this;
    }
    FolderName back(Ansi());
    if (body_->roundTrip == Body::RoundTrip::Unknown && back.Length() == body_->length &&
        std::memcmp(back.Wide(), body_->Text(), body_->length * sizeof(wchar_t)) == 0) {
        body_->roundTrip = Body::RoundTrip::Yes;
        return *this;
    }
    body_->roundTrip = Body::RoundTrip::No;
    return back;
}

FolderName FolderName::Join(const FolderName& first, const FolderName& second) {
    std::size_t firstLength = first.Length();
    std::size_t secondLength = second.Length();
    if (secondLength > kLongestText - firstLength) {
        RaiseFolderNameError(kStatusOutOfMemory);
    }
    FolderName made;
    made.body_ = NewBody(firstLength + secondLength);
    if (firstLength != 0) {
        std::memcpy(made.body_->Text(), first.Wide(), firstLength * sizeof(wchar_t));
    }
    if (secondLength != 0) {
        std::memcpy(made.body_->Text() + firstLength, second.Wide(),
                    secondLength * sizeof(wchar_t));
    }
    return made;
}
