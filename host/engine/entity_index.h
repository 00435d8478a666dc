// The world's entities in a bounding-volume tree, so that a cube query costs
// about the logarithm of the world's size and what it finds, wherever the
// entities stand and however large they are.
//
// Each leaf holds one entity's extent (its box together with its position);
// each inner node holds the bounds of its two children, how many entities lie
// below it and the oldest of them. A query skips a node that misses its cube,
// counts a node that lies inside it without visiting it, and looks for the
// nearest entities best first, so the nearest k of n entities in a cube cost
// about k log n. Inserting, removing and moving an entity cost about log n:
// the tree keeps itself balanced by rotations.
#pragma once

#include "d3dx_math.h"
#include "zorQWorld.h"
#include "zorWorld.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace zorq {

// A query's cube, what it tests against it, and what it leaves out.
struct PickQuery {
    D3DXVECTOR3 min{};
    D3DXVECTOR3 max{};
    bool boxes = true;  // test boxes; false: positions
    PICK_FILTER filter = PICK_FILTER_ALL;
    // Entities that meet this second cube are left out; none when null.
    const D3DXVECTOR3* outsideMin = nullptr;
    const D3DXVECTOR3* outsideMax = nullptr;
};

class EntityIndex {
public:
    EntityIndex() = default;
    EntityIndex(const EntityIndex&) = delete;
    EntityIndex& operator=(const EntityIndex&) = delete;

    // Files `entity` by its box together with its position, as they are now.
    void Insert(zorQEntityRef* entity);
    void Remove(const zorQEntityRef* entity);
    // Files `entity` again after its position changed.
    void Update(zorQEntityRef* entity);

    bool Contains(const zorQEntityRef* entity) const { return slotOf_.count(entity) != 0; }
    std::size_t Size() const { return slotOf_.size(); }
    // Every entity, in no particular order.
    std::vector<zorQEntityRef*> All() const;

    // Writes into `list` at most `capacity` of the entities the query finds
    // (selected by its filter, whose box or position shares a point with its
    // cube, and none that meets its second cube): all of them in creation
    // order, or, when more are found, the `capacity` nearest the cube's centre
    // (ties to the older), in creation order. An inverted cube holds nothing.
    zorQPickResult Pick(const PickQuery& query, zorQEntityRef** list, int capacity) const;

private:
    struct Bounds {
        D3DXVECTOR3 min;
        D3DXVECTOR3 max;
    };
    // What the index keeps of an entity.
    struct Filed {
        uint32_t id;
        zorQEntityRef* entity;
        Bounds box;
        D3DXVECTOR3 position;
        Bounds extent;  // the box together with the position
    };
    struct Slot {
        Filed filed;
        int32_t leaf;  // its node, or kNoNode for an extent that is not finite
    };
    struct Node {
        Bounds bounds;
        int32_t parent;
        int32_t left;  // kNoNode for a leaf
        int32_t right;
        int32_t height;   // 0 for a leaf
        uint32_t count;   // entities below
        uint32_t oldest;  // the smallest id below
        uint32_t slot;    // a leaf's entity
    };
    class Search;

    static constexpr int32_t kNoNode = -1;

    uint32_t NewSlot();
    int32_t NewNode();
    void FreeNode(int32_t node);
    void InsertLeaf(int32_t leaf);
    void RemoveLeaf(int32_t leaf);
    int32_t BestSibling(const Bounds& bounds) const;
    // Restores the node from its children: bounds, height, count and oldest.
    void Refit(int32_t node);
    // Rotates the node's subtree when one side is two levels taller; returns
    // the node now at its place.
    int32_t Balance(int32_t node);
    // Refits and balances every node from `node` up to the root.
    void RefitUpwards(int32_t node);
    void File(uint32_t slot);
    void Unfile(uint32_t slot);

    std::vector<Slot> slots_;
    std::vector<uint32_t> freeSlots_;
    std::unordered_map<const zorQEntityRef*, uint32_t> slotOf_;
    std::vector<Node> nodes_;
    std::vector<int32_t> freeNodes_;
    int32_t root_ = kNoNode;
    // Entities whose extent is not finite: no bound can hold them, so every
    // query looks at each (the world never makes one; a move may).
    std::vector<uint32_t> unbounded_;
};

}  // namespace zorq
