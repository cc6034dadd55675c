#include "mailbox.h"

#include <algorithm>
#include <cstddef>

namespace mailbox {

const char kReadOnlyFolder[] = "\\Archive\\ReadOnly";
const char kTrashFolder[] = "\\Trash";

namespace {

Folder MakeFolder(const char* id, const wchar_t* name, int depth, std::vector<Message> messages) {
    Folder folder;
    folder.id = id;
    folder.name = name;
    folder.depth = depth;
    folder.messages = std::move(messages);
    return folder;
}

std::vector<Folder> SampleFolders() {
    std::vector<Folder> folders;
    folders.push_back(MakeFolder( // 受信箱
        "\\Inbox", L"\x53d7\x4fe1\x7bb1", 0,
        {
            // 会議の日程について, 佐藤 一郎
            {L"\x4f1a\x8b70\x306e\x65e5\x7a0b\x306b\x3064\x3044\x3066",
             L"\x4f50\x85e4 \x4e00\x90ce", L"2024/05/13 09:12"},
            // 週末の予定, 母
            {L"\x9031\x672b\x306e\x4e88\x5b9a", L"\x6bcd", L"2024/05/12 20:41"},
            // 請求書の送付, 経理部
            {L"\x8acb\x6c42\x66f8\x306e\x9001\x4ed8", L"\x7d4c\x7406\x90e8", L"2024/05/12 15:03"},
            // 写真を送ります, 鈴木 花子
            {L"\x5199\x771f\x3092\x9001\x308a\x307e\x3059", L"\x9234\x6728 \x82b1\x5b50",
             L"2024/05/11 18:27"},
        }));
    folders.push_back(MakeFolder( // 仕事
        "\\Inbox\\Work", L"\x4ed5\x4e8b", 1,
        {
            {L"\x8b70\x4e8b\x9332", L"\x7530\x4e2d", L"2024/05/10 17:55"}, // 議事録, 田中
            // 来週の出張, 山本
            {L"\x6765\x9031\x306e\x51fa\x5f35", L"\x5c71\x672c", L"2024/05/09 11:20"},
        }));
    folders.push_back(MakeFolder( // 家族
        "\\Inbox\\Family", L"\x5bb6\x65cf", 1,
        {
            // 誕生日のお祝い, 父
            {L"\x8a95\x751f\x65e5\x306e\x304a\x795d\x3044", L"\x7236", L"2024/05/08 08:03"},
        }));
    folders.push_back(MakeFolder( // 友人
        "\\Inbox\\Friends", L"\x53cb\x4eba", 1,
        {
            // 同窓会のお知らせ, 高橋
            {L"\x540c\x7a93\x4f1a\x306e\x304a\x77e5\x3089\x305b", L"\x9ad8\x6a4b",
             L"2024/05/07 21:14"},
        }));
    folders.push_back(MakeFolder( // 送信済み
        "\\Sent", L"\x9001\x4fe1\x6e08\x307f", 0,
        {
            // Re: 会議の日程について, 自分
            {L"Re: \x4f1a\x8b70\x306e\x65e5\x7a0b\x306b\x3064\x3044\x3066", L"\x81ea\x5206",
             L"2024/05/13 10:02"},
        }));
    folders.push_back(MakeFolder( // アーカイブ
        "\\Archive", L"\x30a2\x30fc\x30ab\x30a4\x30d6", 0,
        {
            // 昨年の報告書, 経理部
            {L"\x6628\x5e74\x306e\x5831\x544a\x66f8", L"\x7d4c\x7406\x90e8", L"2023/12/28 16:40"},
        }));
    folders.push_back(MakeFolder( // 2023年
        "\\Archive\\2023", L"2023\x5e74", 1,
        {
            // 年末のご挨拶, 佐藤 一郎
            {L"\x5e74\x672b\x306e\x3054\x6328\x62f6", L"\x4f50\x85e4 \x4e00\x90ce",
             L"2023/12/27 09:30"},
        }));
    folders.push_back(MakeFolder( // 読み取り専用
        kReadOnlyFolder, L"\x8aad\x307f\x53d6\x308a\x5c02\x7528", 1,
        {
            {L"\x53e4\x3044\x8a18\x9332", L"\x81ea\x5206", L"2019/04/01 12:00"}, // 古い記録, 自分
        }));
    folders.back().takesMail = false;
    folders.push_back(MakeFolder(kTrashFolder, L"\x3054\x307f\x7bb1", 0, {})); // ごみ箱
    return folders;
}

// Folders list their mail newest first; mail of the same minute keeps the
// order it came in.
void InsertByDate(std::vector<Message>& messages, const Message& message) {
    auto place =
        std::upper_bound(messages.begin(), messages.end(), message,
                         [](const Message& a, const Message& b) { return a.date > b.date; });
    messages.insert(place, message);
}

} // namespace

Mailbox::Mailbox() : folders_(SampleFolders()) {}

const Folder* Mailbox::Find(const std::string& id) const {
    for (const Folder& folder : folders_) {
        if (folder.id == id) {
            return &folder;
        }
    }
    return nullptr;
}

Folder* Mailbox::FindMutable(const std::string& id) {
    return const_cast<Folder*>(Find(id));
}

bool Mailbox::Transfer(const std::string& from, const std::vector<size_t>& positions,
                       const std::string& to, bool copy) {
    Folder* source = FindMutable(from);
    Folder* target = FindMutable(to);
    if (source == nullptr || target == nullptr || source == target || !target->takesMail) {
        return false;
    }
    for (size_t position : positions) {
        if (position < source->messages.size()) {
            InsertByDate(target->messages, source->messages[position]);
        }
    }
    if (!copy) {
        // From the back, so the positions still to erase stay where they were.
        for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
            if (*it < source->messages.size()) {
                source->messages.erase(source->messages.begin() + static_cast<std::ptrdiff_t>(*it));
            }
        }
    }
    return true;
}

} // namespace mailbox
