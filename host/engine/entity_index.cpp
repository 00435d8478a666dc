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
constexpr double kMaxCellsPerEntity = 64.0;

float Axis(const D3DXVECTOR3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

// The cell of a coordinate, or false when it lies beyond the grid or is not
// a number.
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

// Cells in a range; up to 2^21 per axis, so the product is counted in a double.
double CellCount(const int32_t lo[3], const int32_t hi[3]) {
    double count = 1.0;
    for (int axis = 0; axis < 3; ++axis)
        count *= static_cast<double>(int64_t(hi[axis]) - lo[axis] + 1);
    return count;
}

bool Ordered(const D3DXVECTOR3& low, const D3DXVECTOR3& high) {
    return low.x <= high.x && low.y <= high.y && low.z <= high.z;
}

// True when [aMin, aMax] and [bMin, bMax] share a point (touching counts).
bool Overlap(const D3DXVECTOR3& aMin, const D3DXVECTOR3& aMax, const D3DXVECTOR3& bMin,
             const D3DXVECTOR3& bMax) {
    return Ordered(aMin, bMax) && Ordered(bMin, aMax);
}

double AxisGap(double point, double lo, double hi) {
    if (point < lo) return lo - point;
    if (point > hi) return point - hi;
    return 0.0;
}

bool Selects(const zorQEntityRef* entity, PICK_FILTER filter) {
    switch (filter) {
        case PICK_FILTER_ALL:
            return true;
        case PICK_FILTER_PLAYERS:
            return entity->player != nullptr;
        case PICK_FILTER_CORPSES:
            return (entity->flags & ZORQENTITY_CORPSE) != 0;
        case PICK_FILTER_NONE:
            break;
    }
    return false;
}

}  // namespace

// One cube query: looks at filed entities and keeps the nearest ones.
class EntityIndex::Query {
public:
    Query(const EntityIndex& index, const D3DXVECTOR3& min, const D3DXVECTOR3& max, bool boxes,
          PICK_FILTER filter, int capacity)
        : index_(index),
          min_(min),
          max_(max),
          centre_{(double(min.x) + max.x) / 2, (double(min.y) + max.y) / 2,
                  (double(min.z) + max.z) / 2},
          boxes_(boxes),
          filter_(filter),
          capacity_(static_cast<std::size_t>(capacity)),
          stamp_(++index.queries_) {
        nearest_.reserve(capacity_ + 1);
    }

    // Looks at one filing; an entity filed in several cells is looked at once.
    void Look(const Filed& filed) {
        if (filed.shared) {
            const Slot& slot = index_.slots_[filed.slot];
            if (slot.seenBy == stamp_) return;
            slot.seenBy = stamp_;
        }
        const D3DXVECTOR3& lo = boxes_ ? filed.boxMin : filed.position;
        const D3DXVECTOR3& hi = boxes_ ? filed.boxMax : filed.position;
        if (!Overlap(lo, hi, min_, max_)) return;
        if (!Selects(filed.entity, filter_)) return;
        ++inCube_;
        Keep(Match{SquaredDistance(lo, hi), filed.id, filed.entity});
    }

    zorQPickResult Write(zorQEntityRef** list) {
        std::sort(nearest_.begin(), nearest_.end(),
                  [](const Match& a, const Match& b) { return a.id < b.id; });
        for (std::size_t i = 0; i < nearest_.size(); ++i) list[i] = nearest_[i].entity;
        return {static_cast<int>(nearest_.size()), inCube_};
    }

private:
    static bool Nearer(const Match& a, const Match& b) {
        return a.distance != b.distance ? a.distance < b.distance : a.id < b.id;
    }

    double SquaredDistance(const D3DXVECTOR3& lo, const D3DXVECTOR3& hi) const {
        const double dx = AxisGap(centre_[0], lo.x, hi.x);
        const double dy = AxisGap(centre_[1], lo.y, hi.y);
        const double dz = AxisGap(centre_[2], lo.z, hi.z);
        return dx * dx + dy * dy + dz * dz;
    }

    // The nearest are kept as a heap whose top is the farthest of them.
    void Keep(const Match& match) {
        if (nearest_.size() == capacity_) {
            if (!Nearer(match, nearest_.front())) return;
            std::pop_heap(nearest_.begin(), nearest_.end(), Nearer);
            nearest_.back() = match;
        } else {
            nearest_.push_back(match);
        }
        std::push_heap(nearest_.begin(), nearest_.end(), Nearer);
    }

    const EntityIndex& index_;
    const D3DXVECTOR3 min_;
    const D3DXVECTOR3 max_;
    const double centre_[3];
    const bool boxes_;
    const PICK_FILTER filter_;
    const std::size_t capacity_;
    const uint64_t stamp_;
    std::vector<Match> nearest_;
    int inCube_ = 0;
};

EntityIndex::Cells EntityIndex::CellsOf(const Filed& filed) {
    Cells cells{true, {}, {}};
    for (int axis = 0; axis < 3; ++axis) {
        // The extent: the box together with the position.
        const float p = Axis(filed.position, axis);
        const float lo = std::min(p, Axis(filed.boxMin, axis));
        const float hi = std::max(p, Axis(filed.boxMax, axis));
        if (!CellOf(lo, cells.lo[axis]) || !CellOf(hi, cells.hi[axis])) {
            cells.inGrid = false;
            return cells;
        }
    }
    cells.inGrid = CellCount(cells.lo, cells.hi) <= kMaxCellsPerEntity;
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
    if (Contains(entity)) return;
    uint32_t slot;
    if (freeSlots_.empty()) {
        slot = static_cast<uint32_t>(slots_.size());
        slots_.emplace_back();
    } else {
        slot = freeSlots_.back();
        freeSlots_.pop_back();
    }
    slots_[slot].entity = entity;
    slots_[slot].seenBy = 0;
    slotOf_.emplace(entity, slot);
    File(slot);
}

void EntityIndex::Remove(const zorQEntityRef* entity) {
    const auto found = slotOf_.find(entity);
    if (found == slotOf_.end()) return;
    const uint32_t slot = found->second;
    slotOf_.erase(found);
    Unfile(slot);
    slots_[slot].entity = nullptr;
    freeSlots_.push_back(slot);
}

void EntityIndex::Update(zorQEntityRef* entity) {
    const auto found = slotOf_.find(entity);
    if (found == slotOf_.end()) return;
    Unfile(found->second);
    File(found->second);
}

void EntityIndex::File(uint32_t slot) {
    Slot& s = slots_[slot];
    const zorQEntityRef* entity = s.entity;
    const D3DXVECTOR3& p = entity->position;
    s.filed = Filed{slot,
                    false,
                    entity->id,
                    s.entity,
                    {p.x + entity->boxMin.x, p.y + entity->boxMin.y, p.z + entity->boxMin.z},
                    {p.x + entity->boxMax.x, p.y + entity->boxMax.y, p.z + entity->boxMax.z},
                    p};
    s.cells = CellsOf(s.filed);
    if (!s.cells.inGrid) {
        outsideGrid_.push_back(slot);
        return;
    }
    s.filed.shared = CellCount(s.cells.lo, s.cells.hi) > 1.0;
    ForEachCell(s.cells, [&](uint64_t key) { grid_[key].push_back(s.filed); });
}

void EntityIndex::Unfile(uint32_t slot) {
    const auto drop = [slot](std::vector<Filed>& filings) {
        const auto found = std::find_if(filings.begin(), filings.end(),
                                        [slot](const Filed& f) { return f.slot == slot; });
        if (found == filings.end()) return;
        *found = filings.back();
        filings.pop_back();
    };
    const Cells& cells = slots_[slot].cells;
    if (!cells.inGrid) {
        outsideGrid_.erase(std::find(outsideGrid_.begin(), outsideGrid_.end(), slot));
        return;
    }
    ForEachCell(cells, [&](uint64_t key) {
        const auto cell = grid_.find(key);
        if (cell == grid_.end()) return;
        drop(cell->second);
        if (cell->second.empty()) grid_.erase(cell);
    });
}

std::vector<zorQEntityRef*> EntityIndex::All() const {
    std::vector<zorQEntityRef*> all;
    all.reserve(Size());
    for (const Slot& slot : slots_)
        if (slot.entity != nullptr) all.push_back(slot.entity);
    return all;
}

zorQPickResult EntityIndex::Pick(const D3DXVECTOR3& min, const D3DXVECTOR3& max, bool boxes,
                                 PICK_FILTER filter, zorQEntityRef** list, int capacity) const {
    // An inverted cube, or one with a coordinate that is not a number, holds
    // nothing.
    if (list == nullptr || capacity <= 0 || !Ordered(min, max)) return {0, 0};
    Query query(*this, min, max, boxes, filter, capacity);
    Cells range{true, {}, {}};
    for (int axis = 0; axis < 3; ++axis) {
        range.lo[axis] = ClampedCell(Axis(min, axis));
        range.hi[axis] = ClampedCell(Axis(max, axis));
    }
    // Visiting more cells than there are entities costs more than a look at
    // every entity.
    if (CellCount(range.lo, range.hi) > static_cast<double>(Size())) {
        for (const Slot& slot : slots_)
            if (slot.entity != nullptr) query.Look(slot.filed);
        return query.Write(list);
    }
    for (uint32_t slot : outsideGrid_) query.Look(slots_[slot].filed);
    ForEachCell(range, [&](uint64_t key) {
        const auto cell = grid_.find(key);
        if (cell == grid_.end()) return;
        for (const Filed& filed : cell->second) query.Look(filed);
    });
    return query.Write(list);
}

}  // namespace zorq
