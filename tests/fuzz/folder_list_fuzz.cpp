// Fuzzes the stored folder list text. The input is both a stored value (its
// bytes as UTF-16LE of floor(size / 2) units, as the settings store reads
// it) and a history to join. Each result is held against a reference
// written here, apart from the product.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "history/folder_list_text.h"

namespace {

using Folders = std::vector<std::u16string>;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool IsSeparator(char16_t unit) {
    return unit == u'*' || unit == u'?';
}

// A plain state machine: collect units until a separator, NUL or the end.
Folders ReferenceSplit(const char16_t* text, std::size_t units) {
    Folders folders;
    std::u16string current;
    for (std::size_t i = 0; i < units && text[i] != u'\0'; ++i) {
        if (!IsSeparator(text[i])) {
            current.push_back(text[i]);
        } else if (!current.empty()) {
            folders.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) {
        folders.push_back(current);
    }
    return folders;
}

// Splits a heap copy of exactly `units` units; the pieces must lie inside it,
// in order, without overlap, and hold no separator and no NUL.
Folders ProductSplit(const char16_t* text, std::size_t units) {
    std::unique_ptr<char16_t[]> exact(new char16_t[units]);
    std::copy_n(text, units, exact.get());
    Folders folders;
    std::size_t next = 0;
    ForEachStoredFolder(exact.get(), units, [&](std::size_t offset, std::size_t length) {
        Check(length != 0);
        Check(offset >= next && offset <= units && length <= units - offset);
        next = offset + length;
        std::u16string folder(exact.get() + offset, length);
        for (char16_t unit : folder) {
            Check(unit != u'\0' && !IsSeparator(unit));
        }
        folders.push_back(folder);
    });
    return folders;
}

std::u16string ReferenceJoin(const Folders& folders) {
    std::u16string joined;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        joined += (i == 0 ? u"" : u"*??*") + folders[i];
    }
    return joined;
}

// Joined into a heap buffer of exactly the size JoinedListUnits gives.
std::u16string ProductJoin(const Folders& folders) {
    std::size_t folderUnits = 0;
    for (const std::u16string& folder : folders) {
        folderUnits += folder.size();
    }
    std::size_t units = 0;
    Check(JoinedListUnits(folders.size(), folderUnits, SIZE_MAX / 2, &units));
    std::unique_ptr<char16_t[]> joined(new char16_t[units]);
    char16_t* end = joined.get();
    for (std::size_t i = 0; i < folders.size(); ++i) {
        std::unique_ptr<char16_t[]> exact(new char16_t[folders[i].size()]);
        std::copy(folders[i].begin(), folders[i].end(), exact.get());
        end = AppendToFolderList(end, i == 0, exact.get(), folders[i].size());
    }
    Check(end == joined.get() + units);
    return std::u16string(joined.get(), units);
}

// The stored bytes as the registry hands them over, little-endian units.
std::vector<char16_t> StoredUnits(const std::uint8_t* data, std::size_t size) {
    std::vector<char16_t> units(size / 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    }
    return units;
}

// A history made from the same units: a unit 0xFFFF ends a folder. Folders
// may be empty and may hold separators and NULs.
Folders HistoryFrom(const std::vector<char16_t>& units) {
    Folders folders(1);
    for (char16_t unit : units) {
        if (unit == 0xFFFF) {
            folders.emplace_back();
        } else {
            folders.back().push_back(unit);
        }
    }
    return folders;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<char16_t> units = StoredUnits(data, size);

    // Loading: the same folders as the reference, also for every shorter count.
    Folders loaded = ProductSplit(units.data(), units.size());
    Check(loaded == ReferenceSplit(units.data(), units.size()));
    std::size_t cut = size == 0 ? 0 : data[0] % (units.size() + 1);
    Check(ProductSplit(units.data(), cut) == ReferenceSplit(units.data(), cut));
    Check(TextLengthWithin(units.data(), units.size()) ==
          static_cast<std::size_t>(std::find(units.begin(), units.end(), u'\0') - units.begin()));

    // Saving what was loaded and loading it again gives the same folders.
    std::u16string saved = ProductJoin(loaded);
    Check(saved == ReferenceJoin(loaded));
    Check(ProductSplit(saved.data(), saved.size()) == loaded);

    // Any history: the join is the reference join, and loading it gives the
    // pieces of each folder in order, up to the first NUL.
    Folders history = HistoryFrom(units);
    std::u16string joined = ProductJoin(history);
    Check(joined == ReferenceJoin(history));
    Folders expected;
    for (const std::u16string& folder : history) {
        Folders pieces = ReferenceSplit(folder.data(), folder.size());
        expected.insert(expected.end(), pieces.begin(), pieces.end());
        if (folder.find(u'\0') != std::u16string::npos) {
            break; // the stored text ends here
        }
    }
    Check(ProductSplit(joined.data(), joined.size()) == expected);
    return 0;
}
