// The windowed host's mail: a few nested folders holding a few messages each.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace mailbox {

struct Message {
    std::wstring subject;
    std::wstring sender;
    std::wstring date; // "YYYY/MM/DD hh:mm", which sorts as text
};

struct Folder {
    std::string id;    // the host's own text, e.g. "\\Inbox\\Work"; what the plug-in sees
    std::wstring name; // what the user sees
    int depth = 0;     // 0 at the top of the tree
    bool takesMail = true;
    std::vector<Message> messages;
};

extern const char kReadOnlyFolder[]; // the one folder that takes no mail: moves into it fail
extern const char kTrashFolder[];    // where deleted mail goes

class Mailbox {
  public:
    Mailbox(); // the sample folders, in tree order

    const std::vector<Folder>& Folders() const { return folders_; }
    const Folder* Find(const std::string& id) const;

    // Moves, or copies, the messages at `positions` (ascending) of folder
    // `from` into folder `to`, each at its place by date. False, with nothing changed, when
    // either folder is unknown, they are the same, or `to` takes no mail.
    bool Transfer(const std::string& from, const std::vector<size_t>& positions,
                  const std::string& to, bool copy);

  private:
    Folder* FindMutable(const std::string& id);

    std::vector<Folder> folders_;
};

} // namespace mailbox
