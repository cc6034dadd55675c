#include <gtest/gtest.h>

#include <cstring>
#include <new>

#include "common/resource_counts.h"
#include "history/folder_history.h"
#include "history_text.h"

namespace {

using history_text::Describe;
using history_text::Fill;

class FolderHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bodiesBefore = LiveResources().folderBodies;
        maxFolders = 10;
    }
    void TearDown() override {
        history.Clear();
        maxFolders = 10;
        EXPECT_EQ(LiveResources().folderBodies, bodiesBefore) << "a folder body leaked";
    }

    FolderHistory history;
    LONG bodiesBefore = 0;
};

struct RecordCase {
    const char* name;
    const char* before;
    unsigned cap;
    const char* folder; // "<null>" for a null text
    std::int32_t commandId;
    std::int32_t moveToFront;
    const char* after;
};

const RecordCase kRecordCases[] = {
    {"empty list", "", 10, "Alpha", 0, 1, "Alpha"},
    {"present, to front", "Alpha,Beta,Gamma", 10, "Gamma", 7, 1, "Gamma(7),Alpha,Beta"},
    {"present, bind only", "Gamma(7),Alpha,Beta", 10, "Beta", 9, 0, "Gamma(7),Alpha,Beta(9)"},
    {"absent, flag 0 still inserts at front", "Alpha,Beta", 10, "Delta", 0, 0, "Delta,Alpha,Beta"},
    {"only 1 moves to front", "Alpha,Beta", 10, "Beta", 3, 2, "Alpha,Beta(3)"},
    {"negative flag binds only", "Alpha,Beta", 10, "Beta", 3, -1, "Alpha,Beta(3)"},
    {"bind id 0 clears", "Alpha(4),Beta", 10, "Alpha", 0, 0, "Alpha,Beta"},
    {"drop replaces the binding", "Alpha,Beta(5)", 10, "Beta", 0, 1, "Beta,Alpha"},
    {"cap drops the last", "F1,F2,F3,F4,F5,F6,F7,F8,F9,F10", 10, "New", 0, 1,
     "New,F1,F2,F3,F4,F5,F6,F7,F8,F9"},
    {"cap, present drops nothing", "F1,F2,F3,F4,F5,F6,F7,F8,F9,F10", 10, "F10", 0, 1,
     "F10,F1,F2,F3,F4,F5,F6,F7,F8,F9"},
    {"lowered cap trims on a bind", "F1,F2,F3,F4,F5,F6,F7", 5, "F2", 8, 0, "F1,F2(8),F3,F4,F5"},
    {"bound entry beyond the cap is trimmed", "F1,F2,F3,F4,F5,F6,F7", 5, "F7", 8, 0,
     "F1,F2,F3,F4,F5"},
    {"letter case makes a new folder", "alpha,Beta", 10, "Alpha", 0, 1, "Alpha,alpha,Beta"},
    {"null and empty are different", "<null>", 10, "", 2, 0, "(2),<null>"},
    {"null finds null", ",<null>", 10, "<null>", 6, 0, ",<null>(6)"},
    {"duplicates: first one wins", "Alpha,Beta,Alpha", 10, "Alpha", 4, 0, "Alpha(4),Beta,Alpha"},
    {"duplicates: move takes the first", "Beta,Alpha,Alpha", 10, "Alpha", 4, 1,
     "Alpha(4),Beta,Alpha"},
    {"japanese", "\x83\x5c\x83\x74\x83\x67,Beta", 10, "\x83\x5c\x83\x74\x83\x67", 1, 1,
     "\x83\x5c\x83\x74\x83\x67(1),Beta"},
};

TEST_F(FolderHistoryTest, RecordFolder) {
    for (const RecordCase& c : kRecordCases) {
        SCOPED_TRACE(c.name);
        Fill(history, c.before);
        maxFolders = c.cap;
        const char* text = std::strcmp(c.folder, "<null>") == 0 ? nullptr : c.folder;
        EXPECT_EQ(history.RecordFolder(text, c.commandId, c.moveToFront), 0);
        EXPECT_EQ(Describe(history), c.after);
    }
}

TEST_F(FolderHistoryTest, RecordingTwiceLeavesOneEntryWithTheLastId) {
    history.RecordFolder("Alpha", 1, 1);
    history.RecordFolder("Beta", 0, 1);
    history.RecordFolder("Alpha", 2, 1);
    EXPECT_EQ(Describe(history), "Alpha(2),Beta");
}

TEST_F(FolderHistoryTest, ChangingTheCapTrimsOnlyAtTheNextRecord) {
    Fill(history, "F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,F12,F13,F14,F15,F16,F17,F18,F19,F20");
    maxFolders = 30;
    history.RecordFolder("F3", 3, 0);
    EXPECT_EQ(history.Count(), 20u);
    maxFolders = 5;
    EXPECT_EQ(history.Count(), 20u);
    history.RecordFolder("F1", 1, 0);
    EXPECT_EQ(Describe(history), "F1(1),F2,F3(3),F4,F5");
}

TEST_F(FolderHistoryTest, LookupsByCommand) {
    Fill(history, "Alpha(4),Beta,Gamma(4),Delta");
    const char* text = nullptr;
    history.FolderForCommand(4, &text);
    EXPECT_STREQ(text, "Alpha");
    EXPECT_EQ(text, history.At(0).folder.Ansi()) << "the entry's cached text is handed out";
    history.FolderForCommand(0, &text);
    EXPECT_STREQ(text, "Beta") << "0 finds the first unbound entry";
    history.FolderForCommand(5, &text);
    EXPECT_EQ(text, kEmptyText);
    EXPECT_FALSE(history.FolderBoundTo(5).HasText());
    EXPECT_TRUE(history.FolderBoundTo(4).SharesBodyWith(history.At(0).folder));

    EXPECT_EQ(history.RemoveByCommand(4), 0);
    EXPECT_EQ(Describe(history), "Beta,Gamma(4),Delta") << "only the first match goes";
    history.RemoveByCommand(99);
    EXPECT_EQ(Describe(history), "Beta,Gamma(4),Delta");

    Fill(history, "<null>(3)");
    text = kEmptyText;
    history.FolderForCommand(3, &text);
    EXPECT_EQ(text, nullptr) << "a folder without text hands out null";
}

TEST_F(FolderHistoryTest, Positions) {
    struct PositionCase {
        const char* before;
        std::int16_t position;
        const char* textAt; // nullptr: the shared empty text
        const char* afterRemove;
    };
    const PositionCase cases[] = {
        {"", 0, nullptr, ""},
        {"Alpha,Beta,Gamma", -1, nullptr, "Alpha,Beta,Gamma"},
        {"Alpha,Beta,Gamma", 3, nullptr, "Alpha,Beta,Gamma"},
        {"Alpha,Beta,Gamma", 32767, nullptr, "Alpha,Beta,Gamma"},
        {"Alpha,Beta,Gamma", -32768, nullptr, "Alpha,Beta,Gamma"},
        {"Alpha,Beta,Gamma", 0, "Alpha", "Beta,Gamma"},
        {"Alpha,Beta,Gamma", 1, "Beta", "Alpha,Gamma"},
        {"Alpha,Beta,Gamma", 2, "Gamma", "Alpha,Beta"},
    };
    for (const PositionCase& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " @" + std::to_string(c.position));
        Fill(history, c.before);
        const char* text = nullptr;
        EXPECT_EQ(history.EntryTextAt(c.position, &text), 0);
        if (c.textAt == nullptr) {
            EXPECT_EQ(text, kEmptyText);
        } else {
            EXPECT_STREQ(text, c.textAt);
        }
        EXPECT_EQ(history.RemoveAt(c.position), 0);
        EXPECT_EQ(Describe(history), c.afterRemove);
    }
    Fill(history, "Alpha,Beta,Gamma");
    history.RemoveAt(1);
    const char* text = nullptr;
    history.EntryTextAt(1, &text);
    EXPECT_STREQ(text, "Gamma");
}

TEST_F(FolderHistoryTest, HandedOutTextStaysValidUntilItsEntryGoes) {
    Fill(history, "Alpha,Beta");
    const char* beta = nullptr;
    history.EntryTextAt(1, &beta);
    history.RecordFolder("Gamma", 0, 1);
    history.RemoveAt(0);
    EXPECT_STREQ(beta, "Beta");
    const char* again = nullptr;
    history.EntryTextAt(1, &again);
    EXPECT_EQ(again, beta);
}

TEST_F(FolderHistoryTest, RecordingTextOwnedByTheMovedEntryIsSafe) {
    // The text is converted before the old entry is released.
    Fill(history, "Alpha,Beta");
    const char* beta = nullptr;
    history.EntryTextAt(1, &beta);
    history.RecordFolder(beta, 9, 1);
    EXPECT_EQ(Describe(history), "Beta(9),Alpha");
}

// Once the list has found its folders distinct, it finds a folder by the
// body it shares with an entry. A folder appended since (as loading does)
// may equal an earlier one: the first equal entry must still be the one
// acted on, whichever entry's own body is given.
TEST_F(FolderHistoryTest, AFolderAppendedAgainIsFoundAtItsFirstEntry) {
    struct Case {
        const char* name;
        void (*record)(FolderHistory& history); // given [Alpha, Beta, Alpha']
    };
    const Case cases[] = {
        {"recorded by the later entry's own folder",
         [](FolderHistory& history) {
             FolderName later = history.At(2).folder;
             history.RecordFolder(later, 7, 0);
         }},
        {"bound at the later entry's position",
         [](FolderHistory& history) { history.BindCommandAt(2, 7); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(history, "Alpha,Beta");
        history.RecordFolder("Beta", 3, 0); // the folders are known to differ now
        history.Append(FolderName("Alpha"), 0);
        c.record(history);
        EXPECT_EQ(Describe(history), "Alpha(7),Beta(3),Alpha");
    }
}

// What a caller that let the host run relies on to know that an entry it
// found is still at its position.
TEST_F(FolderHistoryTest, GenerationChangesWhenAnEntryComesGoesOrMoves) {
    struct Case {
        const char* name;
        void (*change)(FolderHistory& history); // given [Alpha, Beta, Gamma]
        bool changes;
    };
    const Case cases[] = {
        {"bind in place", [](FolderHistory& h) { h.RecordFolder("Beta", 4, 0); }, false},
        {"bind at a position", [](FolderHistory& h) { h.BindCommandAt(1, 4); }, false},
        {"front entry to the front", [](FolderHistory& h) { h.RecordFolder("Alpha", 4, 1); },
         false},
        {"position out of range", [](FolderHistory& h) { h.RemoveAt(3); }, false},
        {"unknown command", [](FolderHistory& h) { h.RemoveByCommand(9); }, false},
        {"move to the front", [](FolderHistory& h) { h.RecordFolder("Gamma", 0, 1); }, true},
        {"new folder", [](FolderHistory& h) { h.RecordFolder("Delta", 0, 0); }, true},
        {"remove", [](FolderHistory& h) { h.RemoveAt(1); }, true},
        {"trim",
         [](FolderHistory& h) {
             maxFolders = 2;
             h.BindCommandAt(0, 4);
         },
         true},
        {"append", [](FolderHistory& h) { h.Append(FolderName("Delta"), 0); }, true},
        {"clear", [](FolderHistory& h) { h.Clear(); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(history, "Alpha,Beta,Gamma");
        maxFolders = 10;
        std::uint64_t before = history.Generation();
        c.change(history);
        EXPECT_EQ(history.Generation() != before, c.changes);
    }
}

TEST(FolderHistoryStorage, GrowsByHalfItsCapacity) {
    FolderHistory list;
    std::size_t expected[] = {1, 2, 3, 4, 6, 9, 13, 19, 28, 42, 63};
    std::size_t next = 0;
    for (int i = 0; i < 60; ++i) {
        list.Append(FolderName("x"), i);
        if (list.Capacity() != (next == 0 ? 0 : expected[next - 1])) {
            ASSERT_LT(next, sizeof expected / sizeof expected[0]);
            EXPECT_EQ(list.Capacity(), expected[next]) << "after " << i + 1 << " entries";
            ++next;
        }
    }
    EXPECT_EQ(list.Count(), 60u);
    EXPECT_EQ(list.At(59).commandId, 59);
    list.Clear();
    EXPECT_EQ(list.Capacity(), 0u);
}

TEST(FolderHistoryStorage, CapacityRuleAndLimit) {
    struct GrowthCase {
        std::size_t capacity;
        std::size_t needed;
        std::size_t grown;
    };
    const GrowthCase cases[] = {
        {0, 1, 1},
        {4, 5, 6},
        {10, 11, 15},
        {10, 40, 40},
        {0x30000000, 0x30000001, 0x3FFFFFFF},
        {0x3FFFFFFE, 0x3FFFFFFF, 0x3FFFFFFF},
    };
    for (const GrowthCase& c : cases) {
        EXPECT_EQ(FolderHistory::NextCapacity(c.capacity, c.needed), c.grown) << c.capacity;
    }
    // Beyond the limit: the failure an allocation of that size reports.
    EXPECT_THROW(FolderHistory::NextCapacity(0x3FFFFFFF, 0x40000000), std::bad_array_new_length);
}

} // namespace
