// The module header: tracked allocation, the parameter record and the list
// append.
#include "zorQModule.h"

#include "leak_delta.h"
#include "zorMemLeakRecords.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using zorq::testing::LeakBaseline;

namespace {

constexpr char kFile[] = "tests/zorQModule_test";

TEST(TrackedAlloc, SizeZeroYieldsNullAndReportsNothing) {
    LeakBaseline baseline;
    EXPECT_EQ(TrackedAlloc(0, kFile, 1), nullptr);
    EXPECT_TRUE(baseline.NewBlocks().empty());
    EXPECT_TRUE(zorMemLeak_Failures().empty());
}

TEST(TrackedAlloc, BlockIsZeroFilledAndReportedOnceWithFileLineAndSize) {
    LeakBaseline baseline;
    auto* block = static_cast<unsigned char*>(TrackedAlloc(48, kFile, 77));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::vector<unsigned char>(block, block + 48), std::vector<unsigned char>(48, 0));
    const std::vector<zorMemLeakBlock> blocks = baseline.NewBlocks();
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].address, block);
    EXPECT_EQ(blocks[0].file, kFile);
    EXPECT_EQ(blocks[0].line, 77);
    EXPECT_EQ(blocks[0].size, 48u);
    TrackedFree(block);
    EXPECT_TRUE(baseline.NewBlocks().empty());
    EXPECT_EQ(zorGlobalMem_Size(block), 0u);
    EXPECT_TRUE(zorMemLeak_UnknownFrees().empty());
}

TEST(TrackedAlloc, FailureReportsSizeFileAndLineAndYieldsNull) {
    LeakBaseline baseline;
    zorGlobalMem_FailNext(1);
    EXPECT_EQ(TrackedAlloc(300, kFile, 12), nullptr);
    const std::vector<zorMemLeakFailure> failures = zorMemLeak_Failures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].size, 300u);
    EXPECT_EQ(failures[0].file, kFile);
    EXPECT_EQ(failures[0].line, 12);
    EXPECT_TRUE(baseline.NewBlocks().empty());
    void* next = TrackedAlloc(4, kFile, 13);  // only one failure was asked for
    EXPECT_NE(next, nullptr);
    TrackedFree(next);
}

TEST(TrackedFree, NullReportsNothing) {
    LeakBaseline baseline;
    TrackedFree(nullptr);
    EXPECT_TRUE(zorMemLeak_UnknownFrees().empty());
}

TEST(ZorParam, ConstructorsSetKindStorageAndExtra) {
    char text[kZorParamTextSize] = {};
    int32_t number = 0;
    float real = 0.0f;
    const zorParam textParam("some_text", text, 4);
    const zorParam intParam("some_int", &number, -1);
    const zorParam floatParam("some_float", &real, 9);
    EXPECT_STREQ(textParam.name, "some_text");
    EXPECT_EQ(textParam.type, PARAM_TEXT);
    EXPECT_EQ(textParam.data, text);
    EXPECT_EQ(textParam.extra, 4);
    EXPECT_EQ(intParam.type, PARAM_INT);
    EXPECT_EQ(intParam.data, &number);
    EXPECT_EQ(floatParam.type, PARAM_FLOAT);
    EXPECT_EQ(floatParam.data, &real);
    EXPECT_EQ(floatParam.extra, 9);
}

TEST(ZorParam, NameOf63CharactersFitsAndLongerIsRefused) {
    int32_t value = 0;
    const std::string longest(kZorParamNameSize - 1, 'n');
    const zorParam fits(longest.c_str(), &value, -1);
    EXPECT_EQ(std::string(fits.name), longest);
    const std::string tooLong(kZorParamNameSize, 'n');
    EXPECT_THROW(zorParam(tooLong.c_str(), &value, -1), std::length_error);
}

// A list with its own storage, released the way its owner does.
struct ParamList {
    zorParam** params = nullptr;
    int32_t count = 0;
    int32_t values[40] = {};

    bool Append() {
        return zorQModule_AppendParam(params, count, new zorParam("p", &values[count], -1));
    }

    ~ParamList() {
        for (int32_t i = 0; i < count; ++i) delete params[i];
        TrackedFree(params);
    }
};

TEST(AppendParam, ArrayGrowsByTenExactlyAtMultiplesOfTenCarryingEntriesOver) {
    LeakBaseline baseline;
    ParamList list;
    std::vector<zorParam**> arrays;
    for (int i = 0; i < 21; ++i) {
        ASSERT_TRUE(list.Append());
        if (arrays.empty() || arrays.back() != list.params) arrays.push_back(list.params);
    }
    EXPECT_EQ(arrays.size(), 3u);  // new arrays at the 1st, 11th and 21st append
    EXPECT_EQ(list.count, 21);
    for (int32_t i = 0; i < list.count; ++i)
        EXPECT_EQ(list.params[i]->data, &list.values[i]) << "entry " << i;
    const std::vector<zorMemLeakBlock> blocks = baseline.NewBlocks();
    ASSERT_EQ(blocks.size(), 1u);  // the old arrays went back
    EXPECT_EQ(blocks[0].size, 30 * sizeof(zorParam*));
    EXPECT_EQ(blocks[0].file, ZORQMODULE_SOURCE_FILE);
    EXPECT_GT(blocks[0].line, 0);
}

TEST(AppendParam, FailedGrowthLeavesTheListAsItWas) {
    ParamList list;
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(list.Append());
    zorParam** const before = list.params;
    zorGlobalMem_FailNext(1);
    EXPECT_FALSE(list.Append());  // the record is deleted, not leaked
    EXPECT_EQ(list.params, before);
    EXPECT_EQ(list.count, 10);
    EXPECT_TRUE(list.Append());
    EXPECT_EQ(list.count, 11);
}

}  // namespace
