// The Flamer object: creation, copies, deletion of single objects and arrays.
#include "leak_delta.h"
#include "plFlamer.h"
#include "zorMemLeakRecords.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

using zorq::testing::LeakBaseline;

namespace {

class FlamerObjectTest : public ::testing::Test {
protected:
    ~FlamerObjectTest() override { delete cls; }
    zorPlFlamerClass* cls = CreateObjClass();
};

struct CreateCase {
    bool withEntity;
    uint32_t entityId;  // what the classic player's Create reports for it
    long expected;
};

TEST_F(FlamerObjectTest, CreateReportsFailuresUnchangedAndSuccessAsZero) {
    const CreateCase cases[] = {
        {true, 5, 0}, {true, 0, 0}, {false, 0, ZORPLCLASSIC_NO_ENTITY},  // the classic player's -3
    };
    static_assert(ZORPLCLASSIC_NO_ENTITY == -3);
    for (const CreateCase& c : cases) {
        zorQEntityRef entity{c.entityId, 0, {}, {}, {}, nullptr, nullptr};
        zorPlFlamer flamer(cls);
        EXPECT_EQ(flamer.Create(c.withEntity ? &entity : nullptr, 0), c.expected) << c.entityId;
        if (c.withEntity) {
            EXPECT_EQ(flamer.OwnEntity(), &entity);
        }
    }
}

TEST_F(FlamerObjectTest, CopyUsesTheFlamerTableAndAssignmentKeepsTheTarget) {
    zorQEntityRef entity{3, 0, {}, {}, {}, nullptr, nullptr};
    zorPlFlamer source(cls);
    source.Create(&entity, 0);
    zorPlFlamer copy(source);
    zorObj& asObj = copy;
    EXPECT_NE(dynamic_cast<zorPlFlamer*>(&asObj), nullptr);
    EXPECT_EQ(copy.OwnEntity(), &entity);
    EXPECT_EQ(copy.FlamerClass(), cls);
    EXPECT_EQ(asObj.Create(nullptr, 0), ZORPLCLASSIC_NO_ENTITY);

    zorPlFlamer target(cls);
    void* tableBefore;
    std::memcpy(&tableBefore, static_cast<const void*>(&target), sizeof tableBefore);
    zorPlFlamer& result = (target = source);
    void* tableAfter;
    std::memcpy(&tableAfter, static_cast<const void*>(&target), sizeof tableAfter);
    EXPECT_EQ(&result, &target);
    EXPECT_EQ(tableBefore, tableAfter);
    EXPECT_EQ(target.OwnEntity(), &entity);
}

TEST_F(FlamerObjectTest, DeletingThroughTheBaseReturnsTheBlock) {
    LeakBaseline baseline;
    zorObj* flamer = cls->CreateObj();
    ASSERT_EQ(baseline.NewBlocks().size(), 1u);
    EXPECT_EQ(baseline.NewBlocks()[0].size, sizeof(zorPlFlamer));
    delete flamer;
    EXPECT_TRUE(baseline.NewBlocks().empty());
}

std::vector<const void*> destroyed;

// A Flamer that notes its destruction; it inherits the Flamer's storage.
struct NotedFlamer : zorPlFlamer {
    explicit NotedFlamer(zorObjClass* c) : zorPlFlamer(c) {}
    ~NotedFlamer() override { destroyed.push_back(this); }
};

TEST_F(FlamerObjectTest, ArrayDeletionDestroysLastToFirstAndReturnsOneBlock) {
    destroyed.clear();
    LeakBaseline baseline;
    NotedFlamer* flamers = new NotedFlamer[3]{NotedFlamer(cls), NotedFlamer(cls), NotedFlamer(cls)};
    ASSERT_NE(flamers, nullptr);
    const std::vector<zorMemLeakBlock> blocks = baseline.NewBlocks();
    ASSERT_EQ(blocks.size(), 1u);
    const auto* countWord = reinterpret_cast<const std::size_t*>(flamers) - 1;
    EXPECT_EQ(blocks[0].address, countWord);
    EXPECT_EQ(*countWord, 3u);
    EXPECT_EQ(blocks[0].size, sizeof(std::size_t) + 3 * sizeof(NotedFlamer));

    const std::vector<const void*> lastToFirst{&flamers[2], &flamers[1], &flamers[0]};
    delete[] flamers;
    EXPECT_EQ(destroyed, lastToFirst);
    EXPECT_TRUE(baseline.NewBlocks().empty());
    EXPECT_TRUE(zorMemLeak_UnknownFrees().empty());
}

}  // namespace
