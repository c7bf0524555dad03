// TimeStampNodeTest.cpp: time span records: the overlap test at touching and
// wrapping ends, the saved form byte for byte in a saved keyed list, and
// damaged forms cut at every length.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "annex/TimeStampNode.h"
#include "core/SavedTreeListOf.h"
#include "support/Bytes.h"

namespace {

std::string Saved(const SavedTreeListOf<TimeStampNode>& list)
{
    std::ostringstream out;
    EXPECT_TRUE(list.Save(out));
    return out.str();
}

}  // namespace

TEST(TimeStampNode, OverlapNeedsSharedTime)
{
    struct Row { uint32_t aStart, aEnd, bStart, bEnd; bool overlaps; };
    const Row rows[] = {
        {10, 20, 20, 30, false},   // touching ends
        {20, 30, 10, 20, false},
        {10, 20, 19, 30, true},
        {19, 30, 10, 20, true},
        {10, 20, 12, 15, true},    // one inside the other
        {12, 15, 10, 20, true},
        {10, 20, 30, 40, false},
        {10, 10, 10, 10, false},   // empty spans share nothing
        {10, 20, 15, 15, true},    // an empty span inside a span does
        {0x7FFFFFF0, 0x80000010, 0x80000000, 0x80000020, true},   // unsigned, not signed
        {0, 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFF, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "[" << r.aStart << ", " << r.aEnd << "] and [" << r.bStart << ", "
                                        << r.bEnd << "]");
        const TimeStampNode a(1, r.aStart, r.aEnd);
        const TimeStampNode b(2, r.bStart, r.bEnd);
        EXPECT_EQ(a.Overlaps(b), r.overlaps);
    }
}

TEST(TimeStampNode, SavesKeyStartAndEndInTenBytes)
{
    const TimeStampNode blank;
    EXPECT_EQ(blank.GetKey(), 0);
    EXPECT_EQ(blank.GetStart().Get(), 0u);
    EXPECT_EQ(blank.GetEnd().Get(), 0u);

    SavedTreeListOf<TimeStampNode> list;
    list.Insert(new TimeStampNode(0x0102, 0x0A0B0C0D, 0xFFFFFFFE));
    list.Insert(new TimeStampNode(1, 15, 900));
    const std::string saved = Saved(list);
    EXPECT_EQ(saved, Bytes({2, 0,
                            1, 0, 15, 0, 0, 0, 0x84, 0x03, 0, 0,
                            2, 1, 0x0D, 0x0C, 0x0B, 0x0A, 0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(saved.size(), 2u + 2u * TimeStampNode::SAVED_BYTES);

    SavedTreeListOf<TimeStampNode> loaded;
    std::istringstream in(saved);
    ASSERT_TRUE(loaded.Load(in));
    const TimeStampNode* node = loaded.Find(0x0102);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->GetStart().Get(), 0x0A0B0C0Du);
    EXPECT_EQ(node->GetEnd().Get(), 0xFFFFFFFEu);
    EXPECT_EQ(Saved(loaded), saved);
}

TEST(TimeStampNode, EveryTruncationLoadsAsFailure)
{
    SavedTreeListOf<TimeStampNode> list;
    list.Insert(new TimeStampNode(3, 30, 31));
    list.Insert(new TimeStampNode(4, 40, 41));
    const std::string saved = Saved(list);
    for (size_t cut = 0; cut < saved.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut);
        SavedTreeListOf<TimeStampNode> loaded;
        std::istringstream in(saved.substr(0, cut));
        EXPECT_FALSE(loaded.Load(in));
        size_t count = 0;
        for (const TimeStampNode* n = loaded.First(); n; n = n->GetNext()) {
            EXPECT_EQ(n->GetStart().Get(), 10u * n->GetKey());
            EXPECT_EQ(n->GetEnd().Get(), 10u * n->GetKey() + 1);
            ++count;
        }
        EXPECT_EQ(count, cut < 2 ? 0 : (cut - 2) / TimeStampNode::SAVED_BYTES);
    }
}
