// A seeded model check: thousands of random host events through the real DLL
// (drops, context menus with odd host answers, picks of current and stale
// items, state queries, restarts with another stored cap), each compared with
// a small model of the history's rules written here.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "cp932_text.h"
#include "fake_host.h"
#include "plugin_module.h"
#include "resource_report.h"
#include "settings_values.h"

namespace {

using plugin_module::MenuItem;

const std::string kSubmenuComment = cp932_text::FromWide(cp932_text::kSubmenuComment);
const std::string kMoveSuffix = cp932_text::FromWide(cp932_text::kMoveSuffix);

// Folder texts as the host names them: case variants, double-byte characters
// whose second byte is a backslash, a display text with an ampersand.
const std::vector<std::string> kFolders = {
    "\\Inbox",
    "\\inbox",
    "\\Inbox\\Work",
    "\\Inbox\\work",
    "\\\x8e\x64\x8e\x96",
    "\\\x95\x5c\x8e\xa6",
    "\\\x83\x5c\x83\x74\x83\x67",
    "\\Archive",
    "\\Archive 2",
    "\\A&B",
    "\\Lists\\cpp",
    "\\Lists\\Cpp",
};

struct Entry {
    std::string folder;
    int id = 0;
};

// The rules of the history, as plainly as they can be written.
struct Model {
    std::vector<Entry> entries;
    unsigned cap = 10;

    int IndexOfId(int id) const {
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [id](const Entry& entry) { return entry.id == id; });
        return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
    }
    void Record(const std::string& folder, int id, bool toFront) {
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const Entry& entry) { return entry.folder == folder; });
        if (found != entries.end() && !toFront) {
            found->id = id;
        } else {
            if (found != entries.end()) {
                entries.erase(found);
            }
            entries.insert(entries.begin(), Entry{folder, id});
        }
        if (entries.size() > cap) {
            entries.resize(cap);
        }
    }
};

std::wstring Wide(const std::string& ansi) {
    int units = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], units);
    wide.resize(static_cast<size_t>(units) - 1);
    return wide;
}

// What the host answers during one build of the context menu.
struct BuildScript {
    std::vector<std::optional<std::string>> display; // by folder index
    std::vector<int> commandResults;                 // k-th item registration; 0 fails
    std::vector<int> uiResults;                      // k-th state registration; 0 fails
};

// How often each kind of event happened, so a run that exercises nothing fails.
struct Coverage {
    int recordedDrops = 0;
    int menus = 0;
    int placeholders = 0;
    int items = 0;
    int moved = 0;
    int refused = 0;
    int ignoredPicks = 0;
    int currentState = 0;
    int restarts = 0;
};

class HistoryModel {
  public:
    explicit HistoryModel(unsigned seed) : random_(seed) {}

    void Run(int steps) {
        ASSERT_TRUE(settings_values::EmptyKey());
        Load();
        for (step_ = 0; step_ < steps && !::testing::Test::HasFailure(); ++step_) {
            int kind = Pick(100);
            if (kind < 28) {
                Drop();
            } else if (kind < 52) {
                Build();
            } else if (kind < 74) {
                Choose();
            } else if (kind < 94) {
                State();
            } else if (kind < 99) {
                OtherMenuType();
            } else {
                // Rare: every load of the DLL costs the process a TLS slot
                // that its static runtime never gives back.
                Restart();
            }
        }
        Unload();
        settings_values::DeleteKey();
    }

    const Coverage& Seen() const { return seen_; }

  private:
    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    std::string Where() const { return "step " + std::to_string(step_); }

    void Load() {
        fake_host::ResetHost();
        fake_host::TheHost().registerCommandResult = [this](const std::string& comment, int) {
            return NextCommandResult(comment);
        };
        fake_host::TheHost().registerUiResult = [this](int) {
            return Next(script_.uiResults, uiRegistrations_, "state");
        };
        plugin_ = plugin_module::Load(L"QvVornProbe.dll");
        ASSERT_NE(plugin_.module, nullptr) << GetLastError();
        // As loading left it: created empty on the first run.
        storedFolder_ = settings_values::GetRaw(L"VornFolder");
        moveCallback_ = nullptr;
        stateCallback_ = nullptr;
        menuIds_.clear();
    }

    void Unload() {
        resource_report::UnloadLeavingNothing(plugin_, Where());
        CheckSaved();
    }

    void CheckSaved() {
        std::optional<settings_values::RawValue> folder = settings_values::GetRaw(L"VornFolder");
        ASSERT_TRUE(folder.has_value()) << Where();
        if (model_.entries.empty()) {
            ASSERT_TRUE(storedFolder_.has_value());
            EXPECT_EQ(folder->bytes, storedFolder_->bytes) << Where() << ": stored list touched";
        } else {
            std::wstring joined;
            for (size_t i = 0; i < model_.entries.size(); ++i) {
                joined += (i == 0 ? L"" : L"*??*") + Wide(model_.entries[i].folder);
            }
            joined += L'\0'; // the platform adds the terminator
            const unsigned char* bytes = reinterpret_cast<const unsigned char*>(joined.data());
            EXPECT_EQ(folder->bytes,
                      std::vector<unsigned char>(bytes, bytes + joined.size() * sizeof(wchar_t)))
                << Where();
        }
        EXPECT_EQ(settings_values::Describe(L"VornMax"), "REG_DWORD " + std::to_string(model_.cap))
            << Where();
    }

    // The stored list, split here on its own: every '*' and '?' separates.
    static std::vector<std::string> StoredFolders() {
        std::vector<std::string> folders;
        const std::wstring text = settings_values::Text(L"VornFolder");
        std::wstring piece;
        for (size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == L'*' || text[i] == L'?') {
                if (!piece.empty()) {
                    folders.push_back(cp932_text::FromWide(piece.c_str(), CP_ACP));
                }
                piece.clear();
            } else {
                piece += text[i];
            }
        }
        return folders;
    }

    void Restart() {
        ++seen_.restarts;
        Unload();
        static const DWORD kCaps[] = {5, 6, 9, 17, 30, 4, 31, 0, 0xFFFFFFFF};
        if (Pick(2) == 0) {
            DWORD cap = kCaps[Pick(9)];
            settings_values::SetDword(L"VornMax", cap);
            model_.cap = cap >= 5 && cap <= 30 ? cap : 10;
        }
        // The next run starts from what is stored, which an empty history left alone.
        model_.entries.clear();
        for (const std::string& folder : StoredFolders()) {
            model_.entries.push_back(Entry{folder, 0});
        }
        Load();
    }

    // Ids are 16-bit; the host's counter wraps, so an old id can come back.
    int AllocateId() {
        nextId_ = nextId_ >= 0xFFF0 ? 1 : nextId_ + 1;
        return nextId_;
    }

    int NextCommandResult(const std::string& comment) {
        if (comment == kSubmenuComment) {
            return Pick(10) == 0 ? 0 : AllocateId(); // the submenu's own result is not used
        }
        return Next(script_.commandResults, registrations_, "item");
    }

    // The `taken`-th of the build's scripted `results`, and one more taken.
    int Next(const std::vector<int>& results, size_t& taken, const char* kind) {
        if (taken >= results.size()) {
            ADD_FAILURE() << Where() << ": more " << kind << " registrations than entries";
            return 0;
        }
        return results[taken++];
    }

    std::optional<std::string> RandomFolder() {
        int choice = Pick(50);
        if (choice == 0) {
            return std::nullopt;
        }
        if (choice == 1) {
            return std::string();
        }
        return kFolders[static_cast<size_t>(Pick(static_cast<int>(kFolders.size())))];
    }

    void Drop() {
        static const int kKinds[] = {0, 1, 2, 3, 1, 2, -1, 0x10001};
        int kind = kKinds[Pick(8)];
        std::optional<std::string> folder = RandomFolder();
        EXPECT_EQ(plugin_.dragDrop(folder ? folder->c_str() : nullptr, 7, 9, kind), 0);
        if ((kind == 1 || kind == 2) && folder && !folder->empty()) {
            model_.Record(*folder, 0, true);
            ++seen_.recordedDrops;
        }
    }

    BuildScript RandomScript() {
        BuildScript script;
        for (size_t i = 0; i < kFolders.size(); ++i) {
            int choice = Pick(40);
            std::string text =
                choice <= 2 ? "" : kFolders[i].substr(1) + (choice % 3 == 0 ? " (2)" : "");
            script.display.push_back(choice == 0 ? std::nullopt : std::optional<std::string>(text));
        }
        for (int k = 0; k < 31; ++k) {
            int id = Pick(60) == 0 ? 0 : AllocateId();
            script.commandResults.push_back(id);
            script.uiResults.push_back(Pick(60) == 0 ? 0 : Pick(10) == 0 ? AllocateId() : id);
        }
        return script;
    }

    std::optional<std::string> DisplayOf(const std::string& folder) const {
        auto it = std::find(kFolders.begin(), kFolders.end(), folder);
        return script_.display[static_cast<size_t>(it - kFolders.begin())];
    }

    // The walk over the history as the model predicts it.
    std::vector<MenuItem> PredictBuild(size_t& attempts) {
        std::vector<MenuItem> items;
        attempts = 0;
        size_t position = 0;
        while (position < model_.entries.size()) {
            std::string folder = model_.entries[position].folder;
            std::optional<std::string> display = DisplayOf(folder);
            if (!display) {
                break;
            }
            if (display->empty()) {
                model_.entries.erase(model_.entries.begin() + static_cast<long>(position));
                continue;
            }
            int ui = script_.uiResults[attempts];
            if (script_.commandResults[attempts++] == 0 || ui == 0) {
                break;
            }
            model_.Record(folder, ui, false);
            items.push_back({*display, static_cast<UINT>(ui)});
            ++position;
        }
        if (model_.entries.empty()) {
            items.push_back({cp932_text::FromWide(cp932_text::kPlaceholder)});
        }
        return items;
    }

    void Build() {
        script_ = RandomScript();
        registrations_ = 0;
        uiRegistrations_ = 0;
        for (size_t i = 0; i < kFolders.size(); ++i) {
            fake_host::TheHost().displayNames[kFolders[i]] = script_.display[i];
        }
        size_t commandsBefore = fake_host::TheHost().commands.size();
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, 100, "Reply");
        AppendMenuA(menu, MF_STRING, 101, "Delete");
        EXPECT_EQ(plugin_.menuInit(nullptr, menu, 1), 0);

        size_t attempts = 0;
        std::vector<MenuItem> expected = PredictBuild(attempts);
        std::vector<MenuItem> top = plugin_module::ReadMenu(menu);
        ASSERT_EQ(top.size(), 4u) << Where();
        EXPECT_EQ(top[0].label, cp932_text::FromWide(cp932_text::kSubmenuLabel)) << Where();
        ASSERT_NE(top[0].submenu, nullptr) << Where();
        EXPECT_TRUE(top[1].type & MFT_SEPARATOR) << Where();
        EXPECT_EQ(top[2].label, "Reply");
        EXPECT_EQ(top[3].label, "Delete");

        std::vector<MenuItem> items = plugin_module::ReadMenu(top[0].submenu);
        ASSERT_EQ(items.size(), expected.size())
            << Where() << "\n  menu:  " << Describe(items) << "\n  model: " << Describe(expected)
            << "\n  history now: " << DescribeModel();
        menuIds_.clear();
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].label, expected[i].label) << Where() << " item " << i;
            EXPECT_EQ(items[i].id, expected[i].id) << Where() << " item " << i;
            EXPECT_EQ(items[i].state & (MFS_DISABLED | MFS_CHECKED), 0u) << Where();
            if (items[i].id != 0) {
                menuIds_.push_back(static_cast<int>(items[i].id));
                seenIds_.push_back(static_cast<int>(items[i].id));
            }
        }
        CheckRegistrations(commandsBefore, attempts, expected);
        ++seen_.menus;
        seen_.placeholders += model_.entries.empty() ? 1 : 0;
        seen_.items += static_cast<int>(menuIds_.size());
        DestroyMenu(menu);
    }

    static std::string Describe(const std::vector<MenuItem>& items) {
        std::string out;
        for (const MenuItem& item : items) {
            out += item.label + "(" + std::to_string(item.id) + ") ";
        }
        return out;
    }

    std::string DescribeModel() const {
        std::string out;
        for (const Entry& entry : model_.entries) {
            out += entry.folder + "(" + std::to_string(entry.id) + ") ";
        }
        return out + "cap " + std::to_string(model_.cap);
    }

    void CheckRegistrations(size_t before, size_t attempts, const std::vector<MenuItem>& items) {
        const std::vector<fake_host::Command>& commands = fake_host::TheHost().commands;
        ASSERT_EQ(commands.size(), before + 1 + attempts) << Where();
        EXPECT_EQ(commands[before].comment, kSubmenuComment);
        EXPECT_EQ(commands[before].callback, nullptr);
        for (size_t k = 0; k < attempts; ++k) {
            const fake_host::Command& command = commands[before + 1 + k];
            EXPECT_EQ(command.menuType, 1);
            ASSERT_NE(command.callback, nullptr);
            if (k < items.size() && items[k].id != 0) {
                EXPECT_EQ(command.comment, items[k].label + kMoveSuffix) << Where();
            }
            moveCallback_ = command.callback;
            if (command.state != nullptr) {
                stateCallback_ = command.state;
            }
        }
    }

    int RandomCommandId() {
        int choice = Pick(20);
        if (choice < 13 && !menuIds_.empty()) {
            return menuIds_[static_cast<size_t>(Pick(static_cast<int>(menuIds_.size())))];
        }
        if (choice < 18 && !seenIds_.empty()) {
            return seenIds_[static_cast<size_t>(Pick(static_cast<int>(seenIds_.size())))];
        }
        return choice == 18 ? 0 : Pick(0x10000);
    }

    // Sets the host's current folder, often to the folder of the item asked about.
    std::optional<std::string> RandomCurrentFolder(int id) {
        int index = model_.IndexOfId(id);
        std::optional<std::string> current = Pick(3) == 0 && index >= 0
                                                 ? model_.entries[static_cast<size_t>(index)].folder
                                                 : RandomFolder();
        fake_host::TheHost().currentFolder = current;
        return current;
    }

    static DWORD Param(int id, int high) {
        return static_cast<DWORD>(high) << 16 | static_cast<DWORD>(id & 0xFFFF);
    }

    void Choose() {
        if (moveCallback_ == nullptr) {
            return;
        }
        static const int kResults[] = {1, 1, 1, 0, 2, -1};
        int id = RandomCommandId();
        std::optional<std::string> current = RandomCurrentFolder(id);
        int result = kResults[Pick(6)];
        fake_host::TheHost().moveResult = result;
        size_t movesBefore = fake_host::TheHost().moves.size();
        moveCallback_(nullptr, Param(id, Pick(4) == 0 ? Pick(0x10000) : 0));

        int index = id == 0 ? -1 : model_.IndexOfId(id);
        bool moves = index >= 0 && !(current && *current == model_.entries[index].folder);
        const std::vector<std::string>& moved = fake_host::TheHost().moves;
        ASSERT_EQ(moved.size(), movesBefore + (moves ? 1 : 0)) << Where() << " id " << id;
        if (!moves) {
            ++seen_.ignoredPicks;
            return;
        }
        std::string folder = model_.entries[static_cast<size_t>(index)].folder;
        EXPECT_EQ(moved.back(), folder) << Where();
        if (result == 1) {
            model_.Record(folder, id, true);
            ++seen_.moved;
        } else {
            model_.entries.erase(model_.entries.begin() + index);
            ++seen_.refused;
        }
    }

    void State() {
        if (stateCallback_ == nullptr) {
            return;
        }
        int id = RandomCommandId();
        std::optional<std::string> current = RandomCurrentFolder(id);
        int index = id == 0 ? -1 : model_.IndexOfId(id);
        int expected =
            index >= 0 && current && *current == model_.entries[static_cast<size_t>(index)].folder;
        EXPECT_EQ(stateCallback_(0, Param(id, Pick(4) == 0 ? 1 : 0)), expected)
            << Where() << " id " << id;
        seen_.currentState += expected;
    }

    void OtherMenuType() {
        static const int kTypes[] = {2, 3, -1, 0x101};
        size_t before = fake_host::TheHost().commands.size();
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, 100, "Reply");
        EXPECT_EQ(plugin_.menuInit(nullptr, menu, kTypes[Pick(4)]), 0);
        EXPECT_EQ(GetMenuItemCount(menu), 1) << Where();
        EXPECT_EQ(fake_host::TheHost().commands.size(), before) << Where();
        DestroyMenu(menu);
    }

    std::mt19937 random_;
    Coverage seen_;
    int step_ = 0;
    Model model_;
    plugin_module::Plugin plugin_;
    std::optional<settings_values::RawValue> storedFolder_;
    BuildScript script_;
    size_t registrations_ = 0;
    size_t uiRegistrations_ = 0;
    int nextId_ = 40000;
    std::vector<int> menuIds_;
    std::vector<int> seenIds_;
    fake_host::CommandCallback moveCallback_ = nullptr;
    fake_host::StateCallback stateCallback_ = nullptr;
};

class HistoryModelTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(HistoryModelTest, DllFollowsTheModel) {
    const int kSteps = 5000;
    HistoryModel model(GetParam());
    model.Run(kSteps);
    const Coverage& seen = model.Seen();
    std::printf("[ measure  ] seed %u: %d steps, %d drops recorded, %d menus (%d with the "
                "placeholder, %d items), %d moves, %d refused, %d picks without a move, %d items "
                "of the open folder, %d restarts\n",
                GetParam(), kSteps, seen.recordedDrops, seen.menus, seen.placeholders, seen.items,
                seen.moved, seen.refused, seen.ignoredPicks, seen.currentState, seen.restarts);
    EXPECT_GT(seen.recordedDrops, 100);
    EXPECT_GT(seen.placeholders, 0);
    EXPECT_GT(seen.items, 1000);
    EXPECT_GT(seen.moved, 100);
    EXPECT_GT(seen.refused, 20);
    EXPECT_GT(seen.ignoredPicks, 50);
    EXPECT_GT(seen.currentState, 20);
    EXPECT_GT(seen.restarts, 20);
}

INSTANTIATE_TEST_SUITE_P(Seeds, HistoryModelTest, ::testing::Values(1u, 2u, 3u, 20261207u));

} // namespace
