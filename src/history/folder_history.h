// The folder history: recently used destination folders, most recent first,
// each with the host command id bound to its submenu item.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/status.h"
#include "history/entry_list.h"
#include "history/folder_cap.h"

using FolderHistory = EntryList;

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

// RecordFolder for a folder already converted: the same steps and result.
Status RecordFolderName(FolderHistory& history, const FolderName& folder, std::int32_t commandId,
                        std::int32_t moveToFront);

// RecordFolder(folder.Ansi(), ...), without converting that text back when it
// would come back as `folder` itself. `folder` may be an entry's own.
Status RecordFolderText(FolderHistory& history, const FolderName& folder, std::int32_t commandId,
                        std::int32_t moveToFront);

// What RecordFolder(the text EntryTextAt hands out for `position`,
// `commandId`, 0) does, without converting that text back when it would come
// back unchanged. `position` must be in range.
Status BindCommandAt(FolderHistory& history, std::size_t position, std::int32_t commandId);

// Once the list is short, looks whether two entries hold equal folders; when
// none do, the list remembers it, and binding need not search any more.
void ConfirmDistinctFolders(FolderHistory& history);

// The position of the first entry bound to `commandId`, or kNoEntry.
constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);
std::size_t IndexOfCommand(const FolderHistory& history, std::int32_t commandId) noexcept;
