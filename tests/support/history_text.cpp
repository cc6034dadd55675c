#include "history_text.h"

#include <sstream>

namespace history_text {

void Fill(FolderHistory& history, const std::string& description) {
    history.Clear();
    std::stringstream items(description);
    std::string item;
    while (std::getline(items, item, ',')) {
        std::int32_t id = 0;
        std::size_t open = item.find('(');
        if (open != std::string::npos) {
            id = std::stoi(item.substr(open + 1));
            item.erase(open);
        }
        history.Append(item == "<null>" ? FolderName() : FolderName(item.c_str()), id);
    }
}

std::string Describe(const FolderHistory& history) {
    std::string out;
    for (std::size_t i = 0; i < history.Count(); ++i) {
        const HistoryEntry& entry = history.At(i);
        out += i == 0 ? "" : ",";
        out += entry.folder.HasText() ? entry.folder.Ansi() : "<null>";
        if (entry.commandId != 0) {
            out += "(" + std::to_string(entry.commandId) + ")";
        }
    }
    return out;
}

} // namespace history_text
