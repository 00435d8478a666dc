// The world's entities filed in a uniform grid, so that a cube query looks at
// the entities near the cube instead of every entity of the world. Each cell
// keeps a copy of its entities' boxes and positions, so a query reads the
// cells in order and touches an entity record only to test a filter.
#pragma once

#include "d3dx_math.h"
#include "zorQWorld.h"
#include "zorWorld.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace zorq {

class EntityIndex {
public:
    // Files `entity` by its box together with its position, as they are now.
    void Insert(zorQEntityRef* entity);
    void Remove(const zorQEntityRef* entity);
    // Files `entity` again after its position changed.
    void Update(zorQEntityRef* entity);

    bool Contains(const zorQEntityRef* entity) const { return slotOf_.count(entity) != 0; }
    std::size_t Size() const { return slotOf_.size(); }
    // Every entity, in no particular order.
    std::vector<zorQEntityRef*> All() const;

    // Writes into `list` at most `capacity` of the entities that `filter`
    // selects and whose box (or, without `boxes`, position) shares a point
    // with the cube [min, max]: all of them in creation order, or, when more
    // are in the cube, the `capacity` nearest its centre (ties to the older),
    // in creation order. An inverted cube holds nothing.
    zorQPickResult Pick(const D3DXVECTOR3& min, const D3DXVECTOR3& max, bool boxes,
                        PICK_FILTER filter, zorQEntityRef** list, int capacity) const;

private:
    // Cells [lo, hi] on each axis; an entity too large for the grid, or
    // reaching beyond it, is kept apart and looked at by every query.
    struct Cells {
        bool inGrid;
        int32_t lo[3];
        int32_t hi[3];
    };
    // What a cell keeps of an entity.
    struct Filed {
        uint32_t slot;
        bool shared;  // also filed in other cells
        uint32_t id;
        zorQEntityRef* entity;
        D3DXVECTOR3 boxMin;
        D3DXVECTOR3 boxMax;
        D3DXVECTOR3 position;
    };
    struct Slot {
        zorQEntityRef* entity;  // null when free
        Cells cells;
        Filed filed;
        mutable uint64_t seenBy;  // the last query that looked at it
    };
    struct Match {
        double distance;  // squared, to the cube's centre
        uint32_t id;
        zorQEntityRef* entity;
    };
    class Query;

    static Cells CellsOf(const Filed& filed);
    static uint64_t CellKey(int32_t x, int32_t y, int32_t z);
    template <typename Visit>
    static void ForEachCell(const Cells& cells, Visit visit);
    void File(uint32_t slot);
    void Unfile(uint32_t slot);

    std::vector<Slot> slots_;
    std::vector<uint32_t> freeSlots_;
    std::unordered_map<const zorQEntityRef*, uint32_t> slotOf_;
    std::unordered_map<uint64_t, std::vector<Filed>> grid_;
    std::vector<uint32_t> outsideGrid_;
    mutable uint64_t queries_ = 0;
};

}  // namespace zorq
