#include "common/folder_name_error.h"

namespace {

[[noreturn]] void ThrowFolderNameError(Status status) {
    throw FolderNameError(status);
}

// Set once, at compile time, and never changed.
using ErrorHook = void (*)(Status);
const ErrorHook kErrorHook = ThrowFolderNameError;

} // namespace

void RaiseFolderNameError(Status status) {
    kErrorHook(status);
    throw FolderNameError(status); // the hook never returns; this keeps [[noreturn]] honest
}
