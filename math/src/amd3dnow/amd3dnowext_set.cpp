// The 3DNow! extension variant set: the five slots that have variants built
// on PSWAPD, PFNACC, PFPNACC and PMOVMSKB, installed over the 3DNow! set.
#include "dispatch/op_table.h"

namespace d3dx {
namespace {

const VariantEntry kAmd3DNowExtEntries[] = {
    {kVec3Unproject, Erase(&amd3dnowext::Vec3Unproject)},
    {kMatrixInverse, Erase(&amd3dnowext::MatrixInverse)},
    {kQuaternionRotationMatrix, Erase(&amd3dnowext::QuaternionRotationMatrix)},
    {kMatrixRotationQuaternion, Erase(&amd3dnowext::MatrixRotationQuaternion)},
    {kMatrixTransformation, Erase(&amd3dnowext::MatrixTransformation)},
};

}  // namespace

const VariantList kAmd3DNowExtVariants{kAmd3DNowExtEntries};

}  // namespace d3dx
