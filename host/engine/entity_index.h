// A uniform grid over a world's entities, so that a cube query visits the
// entities near the cube instead of every entity of the world.
#pragma once

#include "zorQWorld.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zorq {

class EntityIndex {
public:
    // Files `entity` by its extent: its box together with its position.
    void Insert(zorQEntityRef* entity);
    void Remove(const zorQEntityRef* entity);
    // Files `entity` again after its position changed.
    void Update(zorQEntityRef* entity);

    bool Contains(const zorQEntityRef* entity) const;
    std::size_t Size() const { return filed_.size(); }

    // Every entity whose extent may share a point with the cube [min, max],
    // each once, in the order they were created (by id). A superset: the
    // caller tests each against the cube.
    std::vector<zorQEntityRef*> Candidates(const D3DXVECTOR3& min, const D3DXVECTOR3& max) const;

    // Every entity, in no particular order.
    std::vector<zorQEntityRef*> All() const;

private:
    // Cells [lo, hi] on each axis; an entity too large for the grid, or
    // reaching beyond it, is kept apart and offered to every query.
    struct Cells {
        bool inGrid;
        int32_t lo[3];
        int32_t hi[3];
    };

    static Cells CellsOf(const D3DXVECTOR3& min, const D3DXVECTOR3& max);
    static uint64_t CellKey(int32_t x, int32_t y, int32_t z);
    template <typename Visit>
    static void ForEachCell(const Cells& cells, Visit visit);

    std::unordered_map<const zorQEntityRef*, Cells> filed_;
    std::unordered_map<uint64_t, std::vector<zorQEntityRef*>> grid_;
    std::unordered_set<zorQEntityRef*> outsideGrid_;
};

}  // namespace zorq
