// The name rule of zorQNames.h for names held as views, and the hash that goes
// with it, for the engine's and the host program's containers keyed by name.
#pragma once

#include "zorQDefs.h"
#include "zorQNames.h"

#include <cstddef>
#include <string_view>

struct ZOR_HOST_API zorQNameEqual {
    bool operator()(std::string_view a, std::string_view b) const;
};
struct ZOR_HOST_API zorQNameHash {
    std::size_t operator()(std::string_view name) const;
};
