// The folder history: recently used destination folders, most recent first,
// each with the host command id bound to its submenu item.
#pragma once

#include <cstdint>

#include "common/status.h"
#include "history/entry_list.h"

using FolderHistory = EntryList;

// The cap, kept beside the settings; trimming reads it each time.
extern std::uint32_t maxFolders;

// Handed out where a text is asked for and there is none; never null.
extern const char kEmptyText[];

// Folders are equal when they share a body, both hold no text, or their
// UTF-16 texts match unit for unit.
bool SameFolder(const FolderName& a, const FolderName& b) noexcept;

// Every operation returns status 0.
Status RecordFolder(FolderHistory& history, const char* folderText, std::int32_t commandId,
                    std::int32_t moveToFront);
Status FolderForCommand(const FolderHistory& history, std::int32_t commandId, const char** text);
Status RemoveByCommand(FolderHistory& history, std::int32_t commandId);
Status RemoveAt(FolderHistory& history, std::int16_t position);
Status EntryTextAt(const FolderHistory& history, std::int16_t position, const char** text);

// The first entry bound to `commandId`, or null.
const HistoryEntry* FindByCommand(const FolderHistory& history, std::int32_t commandId) noexcept;
