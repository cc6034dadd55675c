#include "shell/plugin_info.h"

#include <cstring>

#include "version.h"

// The texts are code page 932 bytes, written out so that they do not depend
// on the compiler's execution character set.

// "Quorvel!移動プラグイン"
const char kPlugInName[] = "Quorvel!"
                           "\x88\xda"
                           "\x93\xae"
                           "\x83\x76"
                           "\x83\x89"
                           "\x83\x4f"
                           "\x83\x43"
                           "\x83\x93";

const char kPlugInVendor[] = "Tolvenar";

const char kPlugInVersion[] = QVVORN_VERSION_INFO_TEXT;

// "選択したメールを右クリックメニューから「送る」のようにフォルダへ移動できるプラグインです。"
const char kPlugInDescription[] = "\x91\x49"
                                  "\x91\xf0"
                                  "\x82\xb5"
                                  "\x82\xbd"
                                  "\x83\x81"
                                  "\x81\x5b"
                                  "\x83\x8b"
                                  "\x82\xf0"
                                  "\x89\x45"
                                  "\x83\x4e"
                                  "\x83\x8a"
                                  "\x83\x62"
                                  "\x83\x4e"
                                  "\x83\x81"
                                  "\x83\x6a"
                                  "\x83\x85"
                                  "\x81\x5b"
                                  "\x82\xa9"
                                  "\x82\xe7"
                                  "\x81\x75"
                                  "\x91\x97"
                                  "\x82\xe9"
                                  "\x81\x76"
                                  "\x82\xcc"
                                  "\x82\xe6"
                                  "\x82\xa4"
                                  "\x82\xc9"
                                  "\x83\x74"
                                  "\x83\x48"
                                  "\x83\x8b"
                                  "\x83\x5f"
                                  "\x82\xd6"
                                  "\x88\xda"
                                  "\x93\xae"
                                  "\x82\xc5"
                                  "\x82\xab"
                                  "\x82\xe9"
                                  "\x83\x76"
                                  "\x83\x89"
                                  "\x83\x4f"
                                  "\x83\x43"
                                  "\x83\x93"
                                  "\x82\xc5"
                                  "\x82\xb7"
                                  "\x81\x42";

namespace {

constexpr std::size_t kFieldWidth = 80;
constexpr std::size_t kNameOffset = 0;
constexpr std::size_t kVendorOffset = 80;
constexpr std::size_t kVersionOffset = 160;
constexpr std::size_t kDescriptionOffset = 240;

static_assert(sizeof kPlugInName == 23 && sizeof kPlugInName <= kFieldWidth, "name and NUL");
static_assert(sizeof kPlugInVendor == 9, "vendor and NUL");
static_assert(sizeof kPlugInVersion == 4, "version and NUL");
static_assert(sizeof kPlugInDescription == 91, "description and NUL");
static_assert(kDescriptionOffset + sizeof kPlugInDescription == kPlugInInfoMinimumSize,
              "the description is the last text written");

} // namespace

void WritePlugInInfo(char* record) noexcept {
    std::memcpy(record + kNameOffset, kPlugInName, sizeof kPlugInName);
    std::memcpy(record + kVendorOffset, kPlugInVendor, sizeof kPlugInVendor);
    std::memcpy(record + kVersionOffset, kPlugInVersion, sizeof kPlugInVersion);
    std::memcpy(record + kDescriptionOffset, kPlugInDescription, sizeof kPlugInDescription);
}
