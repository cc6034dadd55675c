// The unit tests have no module-wide settings object; the code that works on
// the module's history works on this one.
#include "shell/plugin_instance.h"

FolderHistory& ActiveHistory() noexcept {
    static FolderHistory history;
    return history;
}
