#include "shell/bind_host_api.h"

#include <cstddef>
#include <cstring>

#include "shell/host_api.h"
#include "shell/version_rule.h"

namespace {

// A host function's name and the place of its field in the table.
struct HostName {
    const char* name;
    unsigned short offset; // bytes from the start of HostApi
    unsigned char lookup;  // 0: required; 1 to 4: optional, in that order
};

constexpr unsigned char kLastOptional = 4;

#define QVVORN_CALLED_NAME(name, FieldType, lookup)                                                \
    HostName{#name, offsetof(HostApi, name), lookup},
#define QVVORN_OTHER_NAME(name, lookup) QVVORN_CALLED_NAME(name, , lookup)
constexpr HostName kFieldOrder[] = {QVVORN_HOST_FUNCTIONS(QVVORN_CALLED_NAME, QVVORN_OTHER_NAME)};
#undef QVVORN_CALLED_NAME
#undef QVVORN_OTHER_NAME

constexpr std::size_t kNames = sizeof kFieldOrder / sizeof kFieldOrder[0];

// The required names in field order, then the optional ones in their order.
struct LookupOrder {
    HostName names[kNames];
    std::size_t required;
};

constexpr LookupOrder InLookupOrder() {
    LookupOrder order{};
    std::size_t at = 0;
    for (unsigned char lookup = 0; lookup <= kLastOptional; ++lookup) {
        for (const HostName& host : kFieldOrder) {
            if (host.lookup == lookup) {
                order.names[at++] = host;
            }
        }
        if (lookup == 0) {
            order.required = at;
        }
    }
    return order;
}

constexpr LookupOrder kLookupOrder = InLookupOrder();

static_assert(kNames == 58 && kLookupOrder.required == 54, "58 names, 54 of them required");
static_assert(sizeof(HostApi) == 59 * sizeof(FARPROC), "58 entry fields and the host module");

// Every field is pointer-sized; the six called functions have their own types.
void Store(HostApi& api, const HostName& host, FARPROC entry) noexcept {
    std::memcpy(reinterpret_cast<unsigned char*>(&api) + host.offset, &entry, sizeof entry);
}

// A host that gives no version text at all is taken as an older one: its
// text never reaches lstrlenA and lstrcmpA.
bool IsOlderHost(const char* version) noexcept {
    if (version == nullptr) {
        return true;
    }
    // cppcheck-suppress lstrlenACalled ; the version rule is defined on lstrlenA's count
    int length = lstrlenA(version);
    return IsOlderHostVersion(length < 0 ? 0 : static_cast<std::size_t>(length),
                              lstrcmpA(version, kSetStatusHostVersion));
}

} // namespace

int BindHostApiWith(const HostResolver& resolver) noexcept {
    if (hostApi.hostModule != nullptr) {
        return 1;
    }
    hostApi.hostModule = resolver.executableModule(nullptr);
    if (hostApi.hostModule == nullptr) {
        return 0;
    }
    for (std::size_t at = 0; at < kNames; ++at) {
        const HostName& host = kLookupOrder.names[at];
        FARPROC entry = resolver.lookup(hostApi.hostModule, host.name);
        Store(hostApi, host, entry); // a missing name's field holds null
        if (entry == nullptr && at < kLookupOrder.required) {
            hostApi.hostModule = nullptr;
            return 0;
        }
    }
    if (IsOlderHost(hostApi.QVA_GetVersion()) || hostApi.QVA_SetStatus != nullptr) {
        return 1;
    }
    hostApi.hostModule = nullptr;
    return 0;
}

int BindHostApi() noexcept {
    return BindHostApiWith(HostResolver{GetModuleHandleA, GetProcAddress});
}
