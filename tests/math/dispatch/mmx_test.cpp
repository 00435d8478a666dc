// The cached MMX query: the registry on every call, the processor once.
#include "dispatch/dispatch.h"
#include "platform/fake_platform.h"

#include <gtest/gtest.h>

namespace d3dx {
namespace {

class MmxQuery : public ::testing::Test {
protected:
    platform::ScopedFakePlatform fake_;
};

TEST_F(MmxQuery, AsksTheProcessorOnceAndResetsTheMmxState) {
    fake_->SetCpuFeatures(platform::kCpuMmx);
    EXPECT_EQ(ProcessorHasMMX(), 1);
    const int cpuidAfterFirstCall = fake_->Counts().cpuid;
    EXPECT_GT(cpuidAfterFirstCall, 0);
    EXPECT_EQ(ProcessorHasMMX(), 1);
    EXPECT_EQ(fake_->Counts().cpuid, cpuidAfterFirstCall);
    EXPECT_EQ(fake_->Counts().emms, 1);
    EXPECT_EQ(fake_->Counts().regOpenKey, 2) << "the registry is read on every call";
}

TEST_F(MmxQuery, NoMmxMeansNoEmms) {
    EXPECT_EQ(ProcessorHasMMX(), 0);
    EXPECT_EQ(fake_->Counts().emms, 0);
}

TEST_F(MmxQuery, NoCpuidMeansNoMmx) {
    fake_->RemoveCpuid();
    EXPECT_EQ(ProcessorHasMMX(), 0);
}

TEST_F(MmxQuery, DisableMmxForcesZeroForGood) {
    fake_->SetCpuFeatures(platform::kCpuMmx);
    ASSERT_EQ(ProcessorHasMMX(), 1);
    fake_->SetDword("DisableMMX", 7);
    EXPECT_EQ(ProcessorHasMMX(), 0);
    fake_->RemoveValue("DisableMMX");
    EXPECT_EQ(ProcessorHasMMX(), 0);
    EXPECT_EQ(fake_->OpenKeys(), 0);
}

TEST_F(MmxQuery, IgnoresAZeroOrNonDwordDisableMmx) {
    fake_->SetCpuFeatures(platform::kCpuMmx);
    fake_->SetDword("DisableMMX", 0);
    EXPECT_EQ(ProcessorHasMMX(), 1);
    fake_->SetBinary("DisableMMX", {1, 0, 0, 0});
    EXPECT_EQ(ProcessorHasMMX(), 1);
}

}  // namespace
}  // namespace d3dx
