// Tests of cutting rectangles out of a clip list: a hole in the middle, a
// cover, a touch from outside, and several owners.
#include <gtest/gtest.h>

#include <vector>

#include "widgets/UI_CLIP_LIST.h"

namespace {

struct Piece {
    int32_t screen, left, top, right, bottom;
    bool operator==(const Piece&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Piece& p)
{
    return out << "{" << p.screen << ": " << p.left << "," << p.top << "," << p.right << "," << p.bottom << "}";
}

std::vector<Piece> Pieces(const UI_CLIP_LIST& list)
{
    std::vector<Piece> out;
    for (const UI_CLIP_RECT* r = list.First(); r != nullptr; r = r->Next())
        out.push_back({r->screenNumber, r->region.left, r->region.top, r->region.right, r->region.bottom});
    return out;
}

TEST(UI_CLIP_LIST, CutSplitsAndKeeps)
{
    struct Row {
        const char* name;
        UI_RECT cut;
        int32_t keepOne;
        std::vector<Piece> expected;
    };
    const Row rows[] = {
        {"hole in the middle", {40, 40, 59, 59}, 0,
         {{3, 0, 0, 99, 39}, {3, 0, 60, 99, 99}, {3, 0, 40, 39, 59}, {3, 60, 40, 99, 59}}},
        {"covering everything", {-5, -5, 200, 200}, 0, {}},
        {"covering everything, one kept", {-5, -5, 200, 150}, 1, {{7, -5, 151, 200, 152}}},
        {"exactly the element", {0, 0, 99, 99}, 0, {}},
        {"touching the right edge from outside", {100, 0, 150, 99}, 0, {{3, 0, 0, 99, 99}}},
        {"touching the bottom edge from outside", {0, 100, 99, 120}, 1, {{3, 0, 0, 99, 99}}},
        {"top strip", {0, 0, 99, 9}, 0, {{3, 0, 10, 99, 99}}},
        {"left edge band", {-10, 20, 9, 29}, 0, {{3, 0, 0, 99, 19}, {3, 0, 30, 99, 99}, {3, 10, 20, 99, 29}}},
        {"one pixel", {50, 50, 50, 50}, 0,
         {{3, 0, 0, 99, 49}, {3, 0, 51, 99, 99}, {3, 0, 50, 49, 50}, {3, 51, 50, 99, 50}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        UI_CLIP_LIST list;
        list.InsertBefore(nullptr, new UI_CLIP_RECT(3, 0, 0, 99, 99));
        list.Cut(7, r.cut, r.keepOne);
        EXPECT_EQ(Pieces(list), r.expected);
    }
}

TEST(UI_CLIP_LIST, EveryElementIsCutAndKeepsItsOwner)
{
    UI_CLIP_LIST list;
    list.InsertBefore(nullptr, new UI_CLIP_RECT(1, 0, 0, 49, 99));
    list.InsertBefore(nullptr, new UI_CLIP_RECT(2, UI_RECT{50, 0, 99, 99}));
    list.InsertBefore(nullptr, new UI_CLIP_RECT(4, 200, 200, 210, 210));
    list.Cut(9, UI_RECT{40, 0, 59, 99}, 1);
    EXPECT_EQ(Pieces(list), (std::vector<Piece>{{4, 200, 200, 210, 210}, {1, 0, 0, 39, 99}, {2, 60, 0, 99, 99}}));
    // The pieces never overlap what was cut out.
    for (const Piece& p : Pieces(list))
        EXPECT_TRUE(p.right < 40 || p.left > 59 || p.screen == 4) << p;
}

TEST(UI_CLIP_LIST, CuttingAnElementsOwnRectangleOutlivesIt)
{
    // The region may be a member's own rectangle, which the cut deletes.
    UI_CLIP_LIST list;
    list.InsertBefore(nullptr, new UI_CLIP_RECT(2, 10, 10, 19, 19));
    list.InsertBefore(nullptr, new UI_CLIP_RECT(3, 0, 0, 29, 9));
    list.Cut(4, list.First()->region, 0);
    EXPECT_EQ(Pieces(list), (std::vector<Piece>{{3, 0, 0, 29, 9}}));
    list.Cut(4, list.First()->region, 1);
    EXPECT_EQ(Pieces(list), (std::vector<Piece>{{4, 0, 10, 29, 11}}));
}

TEST(UI_CLIP_LIST, EmptyListKeepsOneOnlyWhenAsked)
{
    UI_CLIP_LIST list;
    list.Cut(5, UI_RECT{0, 0, 9, 9}, 0);
    EXPECT_TRUE(Pieces(list).empty());
    list.Cut(5, UI_RECT{0, 0, 9, 9}, 1);
    EXPECT_EQ(Pieces(list), (std::vector<Piece>{{5, 0, 10, 9, 11}}));
}

} // namespace
