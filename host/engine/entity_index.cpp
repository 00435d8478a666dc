#include "entity_index.h"

#include <algorithm>
#include <cmath>

namespace zorq {
namespace {

// Edge of a grid cell in world units: a cube of the default splash radius
// spans two or three cells on each axis, a body one or two.
constexpr float kCellSize = 128.0f;
// Cells on each side of the origin along one axis (21 bits per axis in a key).
constexpr int32_t kCellsPerSide = 1 << 20;
constexpr int kKeyBitsPerAxis = 21;
// An entity spanning more cells than this is kept outside the grid.
constexpr int64_t kMaxCellsPerEntity = 64;

// The cell of a coordinate, or false when the coordinate lies beyond the grid
// or is not a number.
bool CellOf(float coordinate, int32_t& cell) {
    const float scaled = std::floor(coordinate / kCellSize);
    if (!(scaled >= -static_cast<float>(kCellsPerSide) &&
          scaled < static_cast<float>(kCellsPerSide)))
        return false;
    cell = static_cast<int32_t>(scaled);
    return true;
}

// The cell of a coordinate clamped to the grid: a query may reach beyond it.
int32_t ClampedCell(float coordinate) {
    const float scaled = std::floor(coordinate / kCellSize);
    if (scaled <= -static_cast<float>(kCellsPerSide)) return -kCellsPerSide;
    if (scaled >= static_cast<float>(kCellsPerSide - 1)) return kCellsPerSide - 1;
    return static_cast<int32_t>(scaled);
}

// Cells in the range; at most 2^21 per axis, so the product (up to 2^63) is
// counted in a double.
double CellCount(const int32_t lo[3], const int32_t hi[3]) {
    double count = 1.0;
    for (int axis = 0; axis < 3; ++axis)
        count *= static_cast<double>(int64_t(hi[axis]) - lo[axis] + 1);
    return count;
}

float Axis(const D3DXVECTOR3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

bool ById(const zorQEntityRef* a, const zorQEntityRef* b) { return a->id < b->id; }

// The entity's box together with its position.
void ExtentOf(const zorQEntityRef* entity, D3DXVECTOR3& min, D3DXVECTOR3& max) {
    const D3DXVECTOR3& p = entity->position;
    min = {std::min(p.x, p.x + entity->boxMin.x), std::min(p.y, p.y + entity->boxMin.y),
           std::min(p.z, p.z + entity->boxMin.z)};
    max = {std::max(p.x, p.x + entity->boxMax.x), std::max(p.y, p.y + entity->boxMax.y),
           std::max(p.z, p.z + entity->boxMax.z)};
}

}  // namespace

EntityIndex::Cells EntityIndex::CellsOf(const D3DXVECTOR3& min, const D3DXVECTOR3& max) {
    Cells cells{true, {}, {}};
    for (int axis = 0; axis < 3; ++axis) {
        if (!CellOf(Axis(min, axis), cells.lo[axis]) || !CellOf(Axis(max, axis), cells.hi[axis])) {
            cells.inGrid = false;
            return cells;
        }
    }
    cells.inGrid = CellCount(cells.lo, cells.hi) <= static_cast<double>(kMaxCellsPerEntity);
    return cells;
}

uint64_t EntityIndex::CellKey(int32_t x, int32_t y, int32_t z) {
    const auto field = [](int32_t cell) {
        return static_cast<uint64_t>(cell + kCellsPerSide);
    };
    return field(x) << (2 * kKeyBitsPerAxis) | field(y) << kKeyBitsPerAxis | field(z);
}

template <typename Visit>
void EntityIndex::ForEachCell(const Cells& cells, Visit visit) {
    for (int32_t x = cells.lo[0]; x <= cells.hi[0]; ++x)
        for (int32_t y = cells.lo[1]; y <= cells.hi[1]; ++y)
            for (int32_t z = cells.lo[2]; z <= cells.hi[2]; ++z) visit(CellKey(x, y, z));
}

void EntityIndex::Insert(zorQEntityRef* entity) {
    D3DXVECTOR3 min;
    D3DXVECTOR3 max;
    ExtentOf(entity, min, max);
    const Cells cells = CellsOf(min, max);
    filed_[entity] = cells;
    if (!cells.inGrid) {
        outsideGrid_.insert(entity);
        return;
    }
    ForEachCell(cells, [&](uint64_t key) { grid_[key].push_back(entity); });
}

void EntityIndex::Remove(const zorQEntityRef* entity) {
    const auto found = filed_.find(entity);
    if (found == filed_.end()) return;
    const Cells cells = found->second;
    filed_.erase(found);
    if (!cells.inGrid) {
        outsideGrid_.erase(const_cast<zorQEntityRef*>(entity));
        return;
    }
    ForEachCell(cells, [&](uint64_t key) {
        const auto cell = grid_.find(key);
        if (cell == grid_.end()) return;
        std::vector<zorQEntityRef*>& members = cell->second;
        members.erase(std::find(members.begin(), members.end(), entity));
        if (members.empty()) grid_.erase(cell);
    });
}

void EntityIndex::Update(zorQEntityRef* entity) {
    if (!Contains(entity)) return;
    Remove(entity);
    Insert(entity);
}

bool EntityIndex::Contains(const zorQEntityRef* entity) const { return filed_.count(entity) != 0; }

std::vector<zorQEntityRef*> EntityIndex::Candidates(const D3DXVECTOR3& min,
                                                    const D3DXVECTOR3& max) const {
    std::vector<zorQEntityRef*> found;
    Cells query{true, {}, {}};
    for (int axis = 0; axis < 3; ++axis) {
        // An inverted cube, or one with a coordinate that is not a number,
        // holds nothing.
        if (!(Axis(min, axis) <= Axis(max, axis))) return found;
        query.lo[axis] = ClampedCell(Axis(min, axis));
        query.hi[axis] = ClampedCell(Axis(max, axis));
    }
    // Visiting more cells than there are entities costs more than a look at
    // every entity.
    if (CellCount(query.lo, query.hi) > static_cast<double>(filed_.size())) {
        found = All();
    } else {
        found.assign(outsideGrid_.begin(), outsideGrid_.end());
        ForEachCell(query, [&](uint64_t key) {
            const auto cell = grid_.find(key);
            if (cell != grid_.end())
                found.insert(found.end(), cell->second.begin(), cell->second.end());
        });
    }
    std::sort(found.begin(), found.end(), ById);
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

std::vector<zorQEntityRef*> EntityIndex::All() const {
    std::vector<zorQEntityRef*> all;
    all.reserve(filed_.size());
    for (const auto& [entity, cells] : filed_) all.push_back(const_cast<zorQEntityRef*>(entity));
    return all;
}

}  // namespace zorq
