// The one exception type raised by FolderName: it carries a status and nothing else.
#pragma once

#include "common/status.h"

class FolderNameError {
  public:
    explicit FolderNameError(Status status) noexcept : status_(status) {}
    Status status() const noexcept { return status_; }

  private:
    Status status_;
};

// Raises FolderNameError through the process-wide error hook.
[[noreturn]] void RaiseFolderNameError(Status status);
