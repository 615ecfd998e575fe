#include "game/level/BoundedLists.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "game/level/LevelStuff.h"

namespace {

struct Row {
    int32_t Id = 0;
    int32_t* Releases = nullptr;  // counts the releases of this row
};

void ReleaseEntry(Row& row) {
    if (row.Releases != nullptr) ++*row.Releases;
}

template <typename List>
std::vector<int32_t> Ids(const List& list) {
    std::vector<int32_t> ids;
    for (const Row& row : list) ids.push_back(row.Id);
    return ids;
}

TEST(CountedListTest, EntriesRunFromOneToCountAndAddsBeyondCapacityAreDropped) {
    CountedList<Row, 3> list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(Ids(list).empty());
    for (int32_t id = 10; id <= 12; ++id) {
        Row* row = list.Add();
        ASSERT_NE(row, nullptr);
        row->Id = id;
    }
    EXPECT_EQ(&list[3], list.end() - 1);
    EXPECT_EQ(list[1].Id, 10);
    EXPECT_EQ(list[3].Id, 12);
    EXPECT_TRUE(list.Full());
    EXPECT_EQ(list.Add(), nullptr);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{10, 11, 12}));
}

TEST(CountedListTest, RemovalClosesTheGapInOrderAndReleasesOnlyTheRemovedEntry) {
    int32_t releases[5] = {};
    CountedList<Row, 8> list;
    for (int32_t id = 1; id <= 5; ++id) *list.Add() = Row{id, &releases[id - 1]};
    EXPECT_FALSE(list.Remove(0));  // entry 0 is never used
    EXPECT_FALSE(list.Remove(6));
    EXPECT_TRUE(list.Remove(2));
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{1, 3, 4, 5}));
    EXPECT_EQ(releases[1], 1);
    EXPECT_EQ(releases[0] + releases[2] + releases[3] + releases[4], 0);
    EXPECT_TRUE(list.Remove(4));  // the last one
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{1, 3, 4}));
    EXPECT_EQ(list[4].Releases, nullptr);  // the vacated entry holds nothing
    Row* added = list.Add();
    EXPECT_EQ(added->Id, 0);  // a fresh entry, not what the slot held before
    EXPECT_EQ(list.Count(), 4);
}

TEST(CountedListTest, SetCountRefusesMoreThanTheCapacity) {
    int32_t releases = 0;
    CountedList<Row, 4> list;
    *list.Add() = Row{1, &releases};
    EXPECT_FALSE(list.SetCount(5));
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(releases, 0);
    EXPECT_TRUE(list.SetCount(4));
    EXPECT_EQ(releases, 1);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list[1].Id, 0);
    EXPECT_TRUE(list.SetCount(-3));
    EXPECT_EQ(list.Count(), 0);
}

TEST(HighIndexListTest, EmptyIsMinusOneAndTheLastRowIsTheCapacity) {
    auto list = std::make_unique<HighIndexList<Row, kListRows>>();
    EXPECT_EQ(list->High(), -1);
    EXPECT_TRUE(list->Empty());
    for (int32_t i = 0; i < kListRows; ++i) ASSERT_NE(list->Add(), nullptr) << i;
    EXPECT_EQ(list->High(), 4096);
    EXPECT_EQ(list->Add(), nullptr);
    EXPECT_EQ(list->High(), 4096);
    EXPECT_TRUE(list->Remove(4096));
    EXPECT_NE(list->Add(), nullptr);
    EXPECT_FALSE(list->SetHigh(4097));
    EXPECT_EQ(list->High(), 4096);
    EXPECT_TRUE(list->SetHigh(-7));
    EXPECT_EQ(list->High(), -1);
}

TEST(HighIndexListTest, RemovingAMiddleRowKeepsTheOrderOfTheOthers) {
    HighIndexList<Row, 6> list;
    for (int32_t id = 0; id < 5; ++id) list.Add()->Id = id;
    EXPECT_FALSE(list.Remove(-1));
    EXPECT_FALSE(list.Remove(5));
    EXPECT_TRUE(list.Remove(2));
    EXPECT_EQ(list.High(), 3);
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{0, 1, 3, 4}));
    EXPECT_TRUE(list.Remove(0));
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{1, 3, 4}));
    list.Clear();
    EXPECT_EQ(list.High(), -1);
}

// Rows that own meshes: a removal frees the removed row's mesh, the others keep
// theirs, and no two rows ever hold the same mesh.
TEST(HighIndexListTest, TileAnimationMeshesAreFreedOnceAndNeverShared) {
    auto list = std::make_unique<TileAnimationList>();
    std::vector<TG3DMesh*> meshes;
    for (int32_t i = 0; i < 3; ++i) {
        TileAnimationStuff* row = list->Add();
        G3DAllocMesh(row->AnimMesh, i, 0);
        meshes.push_back(row->AnimMesh);
    }
    ASSERT_TRUE(list->Remove(0));
    EXPECT_EQ((*list)[0].AnimMesh, meshes[1]);
    EXPECT_EQ((*list)[1].AnimMesh, meshes[2]);
    EXPECT_EQ((*list)[2].AnimMesh, nullptr);
    TileAnimationStuff* again = list->Add();
    EXPECT_EQ(again->AnimMesh, nullptr);
    G3DCopyMesh((*list)[0].AnimMesh, again->AnimMesh);  // frees nothing of row 1
    EXPECT_EQ((*list)[1].AnimMesh->LastVertex, 2);
    list->Clear();
    EXPECT_EQ((*list)[0].AnimMesh, nullptr);
}

TEST(LevelListsTest, TheGolemListTakes2048Golems) {
    auto golems = std::make_unique<GolemList>();
    for (int32_t i = 0; i < 2048; ++i) ASSERT_NE(golems->Add(), nullptr);
    EXPECT_EQ(golems->Add(), nullptr);
    EXPECT_EQ(golems->Count(), 2048);
}

}  // namespace
