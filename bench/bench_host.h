// The benchmark's host: instant answers, command ids counted in a range.
#pragma once

#include "fake_host.h"

namespace bench_host {

constexpr int kFirstId = 1000;
constexpr int kLastId = 60000;

// The next command id, as the host's QVA_RegisterCommand gives them.
int TakeCommandId();

// What QVA_GetCurrentFolder answers.
extern const char* currentFolder;
// Keeps the last command callback that was not null (the move command's).
void CaptureCallback(fake_host::CommandCallback callback);
// The id that the last QVA_RegisterCommand gave.
extern int lastCommandId;

} // namespace bench_host
