// Outstanding tracked blocks allocated since a test began.
#pragma once

#include "zorMemLeakRecords.h"

#include <set>
#include <string>
#include <vector>

namespace zorq::testing {

class LeakBaseline {
public:
    LeakBaseline() {
        for (const zorMemLeakBlock& block : zorMemLeak_Outstanding()) before.insert(block.address);
        zorMemLeak_ClearEvents();
    }

    // Blocks recorded since construction and not yet released.
    std::vector<zorMemLeakBlock> NewBlocks() const {
        std::vector<zorMemLeakBlock> fresh;
        for (const zorMemLeakBlock& block : zorMemLeak_Outstanding()) {
            if (before.count(block.address) == 0) fresh.push_back(block);
        }
        return fresh;
    }

private:
    std::set<const void*> before;
};

}  // namespace zorq::testing
