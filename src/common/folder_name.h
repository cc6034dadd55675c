// FolderName: a shared, immutable UTF-16 text with a reference-counted body.
// Copies share the body; the last holder frees it. The ANSI form is made on
// first request and cached in the body, so every holder sees the same pointer.
#pragma once

#include <cstddef>

class FolderName {
  public:
    // Holds no text.
    FolderName() noexcept = default;
    // Converts NUL-terminated ANSI text with the system ANSI code page.
    // A null source holds no text; an empty source holds the empty text.
    explicit FolderName(const char* ansi);
    // Copies `length` UTF-16 code units.
    static FolderName FromWide(const wchar_t* text, std::size_t length);

    FolderName(const FolderName& other) noexcept;
    FolderName(FolderName&& other) noexcept;
    FolderName& operator=(FolderName other) noexcept;
    ~FolderName();

    bool HasText() const noexcept { return body_ != nullptr; }
    // NUL-terminated; null when the value holds no text.
    const wchar_t* Wide() const noexcept;
    // Code units of the text; 0 when there is none.
    std::size_t Length() const noexcept;
    // The cached ANSI form; null when the value holds no text.
    const char* Ansi() const;
    // The folder that the ANSI form names, FolderName(Ansi()): this value
    // itself, its body shared, when that text converts back to this one.
    // Whether it does is worked out once for each body.
    FolderName ThroughAnsi() const;
    bool SharesBodyWith(const FolderName& other) const noexcept {
        return body_ != nullptr && body_ == other.body_;
    }

    // The first text followed by the second; a value without text counts as empty.
    // The result always holds text.
    static FolderName Join(const FolderName& first, const FolderName& second);

  private:
    struct Body;
    static Body* NewBody(std::size_t length);
    static void FreeBody(Body* body) noexcept;

    Body* body_ = nullptr;
};
