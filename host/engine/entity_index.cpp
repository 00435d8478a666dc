#include "entity_index.h"

#include "zorQBox.h"

#include <algorithm>
#include <queue>

namespace zorq {
namespace {

D3DXVECTOR3 Lower(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
}

D3DXVECTOR3 Upper(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
}

// True when [innerMin, innerMax] lies within [outerMin, outerMax].
bool Inside(const D3DXVECTOR3& innerMin, const D3DXVECTOR3& innerMax, const D3DXVECTOR3& outerMin,
            const D3DXVECTOR3& outerMax) {
    return Ordered(outerMin, innerMin) && Ordered(innerMax, outerMax);
}

// The surface of a box, the cost a tree of boxes pays for it; in double,
// since coordinates reach the float range's ends.
double Surface(const D3DXVECTOR3& min, const D3DXVECTOR3& max) {
    const double dx = double(max.x) - min.x;
    const double dy = double(max.y) - min.y;
    const double dz = double(max.z) - min.z;
    return 2.0 * (dx * dy + dy * dz + dz * dx);
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

// One query over the tree: the entities it finds, counted, and the nearest
// of them kept.
class EntityIndex::Search {
public:
    Search(const EntityIndex& index, const PickQuery& query, std::size_t capacity)
        : index_(index),
          query_(query),
          centre_{(double(query.min.x) + query.max.x) / 2, (double(query.min.y) + query.max.y) / 2,
                  (double(query.min.z) + query.max.z) / 2},
          capacity_(capacity) {
        nearest_.reserve(capacity_ + 1);
    }

    zorQPickResult Run(zorQEntityRef** list) {
        const int found = Count();
        FindNearest();
        for (uint32_t slot : index_.unbounded_) Look(index_.slots_[slot].filed);
        std::sort(nearest_.begin(), nearest_.end(),
                  [](const Match& a, const Match& b) { return a.id < b.id; });
        for (std::size_t i = 0; i < nearest_.size(); ++i) list[i] = nearest_[i].entity;
        return {static_cast<int>(nearest_.size()), found};
    }

private:
    struct Match {
        double distance;  // squared, from the cube's centre
        uint32_t id;
        zorQEntityRef* entity;
    };
    // A node waiting to be looked into, with the least its entities can be.
    struct Waiting {
        double distance;
        uint32_t oldest;
        int32_t node;
    };

    static bool Nearer(const Match& a, const Match& b) {
        return a.distance != b.distance ? a.distance < b.distance : a.id < b.id;
    }

    bool Finds(const Filed& filed) const {
        const D3DXVECTOR3& lo = query_.boxes ? filed.box.min : filed.position;
        const D3DXVECTOR3& hi = query_.boxes ? filed.box.max : filed.position;
        if (!BoxesMeet(lo, hi, query_.min, query_.max)) return false;
        if (query_.outsideMin != nullptr &&
            BoxesMeet(lo, hi, *query_.outsideMin, *query_.outsideMax))
            return false;
        return Selects(filed.entity, query_.filter);
    }

    // No entity below the node can be found: it misses the cube, or lies
    // wholly in the cube the query leaves out.
    bool Barren(const Node& node) const {
        if (!BoxesMeet(node.bounds.min, node.bounds.max, query_.min, query_.max)) return true;
        return query_.outsideMin != nullptr &&
               Inside(node.bounds.min, node.bounds.max, *query_.outsideMin, *query_.outsideMax);
    }

    // Every entity below the node is found, as far as the bounds tell.
    bool Whole(const Node& node) const {
        if (query_.filter != PICK_FILTER_ALL) return false;
        if (!Inside(node.bounds.min, node.bounds.max, query_.min, query_.max)) return false;
        return query_.outsideMin == nullptr ||
               !BoxesMeet(node.bounds.min, node.bounds.max, *query_.outsideMin, *query_.outsideMax);
    }

    int Count() const {
        int count = 0;
        for (uint32_t slot : index_.unbounded_) count += Finds(index_.slots_[slot].filed) ? 1 : 0;
        if (index_.root_ == kNoNode) return count;
        std::vector<int32_t> pending{index_.root_};
        while (!pending.empty()) {
            const Node& node = index_.nodes_[static_cast<std::size_t>(pending.back())];
            pending.pop_back();
            if (Barren(node)) continue;
            if (Whole(node)) {
                count += static_cast<int>(node.count);
            } else if (node.left == kNoNode) {
                count += Finds(index_.slots_[node.slot].filed) ? 1 : 0;
            } else {
                pending.push_back(node.left);
                pending.push_back(node.right);
            }
        }
        return count;
    }

    double Distance(const D3DXVECTOR3& lo, const D3DXVECTOR3& hi) const {
        const double dx = AxisGap(centre_[0], lo.x, hi.x);
        const double dy = AxisGap(centre_[1], lo.y, hi.y);
        const double dz = AxisGap(centre_[2], lo.z, hi.z);
        return dx * dx + dy * dy + dz * dz;
    }

    void Look(const Filed& filed) {
        if (!Finds(filed)) return;
        const D3DXVECTOR3& lo = query_.boxes ? filed.box.min : filed.position;
        const D3DXVECTOR3& hi = query_.boxes ? filed.box.max : filed.position;
        Keep(Match{Distance(lo, hi), filed.id, filed.entity});
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

    // Nodes in the order of the least distance and age their entities can
    // have: once the next can hold nothing nearer than the farthest kept,
    // nothing after it can either.
    void FindNearest() {
        const auto later = [](const Waiting& a, const Waiting& b) {
            return a.distance != b.distance ? a.distance > b.distance : a.oldest > b.oldest;
        };
        std::priority_queue<Waiting, std::vector<Waiting>, decltype(later)> waiting(later);
        const auto wait = [&](int32_t index) {
            const Node& node = index_.nodes_[static_cast<std::size_t>(index)];
            if (!Barren(node))
                waiting.push(
                    Waiting{Distance(node.bounds.min, node.bounds.max), node.oldest, index});
        };
        if (index_.root_ != kNoNode) wait(index_.root_);
        while (!waiting.empty()) {
            const Waiting next = waiting.top();
            waiting.pop();
            if (nearest_.size() == capacity_ &&
                !Nearer(Match{next.distance, next.oldest, nullptr}, nearest_.front()))
                break;
            const Node& node = index_.nodes_[static_cast<std::size_t>(next.node)];
            if (node.left == kNoNode) {
                Look(index_.slots_[node.slot].filed);
            } else {
                wait(node.left);
                wait(node.right);
            }
        }
    }

    const EntityIndex& index_;
    const PickQuery& query_;
    const double centre_[3];
    const std::size_t capacity_;
    std::vector<Match> nearest_;
};

uint32_t EntityIndex::NewSlot() {
    if (freeSlots_.empty()) {
        slots_.emplace_back();
        return static_cast<uint32_t>(slots_.size() - 1);
    }
    const uint32_t slot = freeSlots_.back();
    freeSlots_.pop_back();
    return slot;
}

int32_t EntityIndex::NewNode() {
    if (freeNodes_.empty()) {
        nodes_.emplace_back();
        return static_cast<int32_t>(nodes_.size() - 1);
    }
    const int32_t node = freeNodes_.back();
    freeNodes_.pop_back();
    return node;
}

void EntityIndex::FreeNode(int32_t node) { freeNodes_.push_back(node); }

void EntityIndex::Insert(zorQEntityRef* entity) {
    if (Contains(entity)) return;
    const uint32_t slot = NewSlot();
    slots_[slot].filed.entity = entity;
    slotOf_.emplace(entity, slot);
    File(slot);
}

void EntityIndex::Remove(const zorQEntityRef* entity) {
    const auto found = slotOf_.find(entity);
    if (found == slotOf_.end()) return;
    const uint32_t slot = found->second;
    slotOf_.erase(found);
    Unfile(slot);
    slots_[slot].filed.entity = nullptr;
    freeSlots_.push_back(slot);
}

void EntityIndex::Update(zorQEntityRef* entity) {
    const auto found = slotOf_.find(entity);
    if (found == slotOf_.end()) return;
    Unfile(found->second);
    File(found->second);
}

void EntityIndex::File(uint32_t slot) {
    Filed& filed = slots_[slot].filed;
    const zorQEntityRef* entity = filed.entity;
    filed.id = entity->id;
    filed.position = entity->position;
    filed.box = {Add(entity->position, entity->boxMin), Add(entity->position, entity->boxMax)};
    filed.extent = {Lower(filed.position, filed.box.min), Upper(filed.position, filed.box.max)};
    if (!Finite(filed.extent.min) || !Finite(filed.extent.max)) {
        slots_[slot].leaf = kNoNode;
        unbounded_.push_back(slot);
        return;
    }
    const int32_t leaf = NewNode();
    nodes_[static_cast<std::size_t>(leaf)] =
        Node{filed.extent, kNoNode, kNoNode, kNoNode, 0, 1, filed.id, slot};
    slots_[slot].leaf = leaf;
    InsertLeaf(leaf);
}

void EntityIndex::Unfile(uint32_t slot) {
    const int32_t leaf = slots_[slot].leaf;
    if (leaf == kNoNode) {
        unbounded_.erase(std::find(unbounded_.begin(), unbounded_.end(), slot));
        return;
    }
    RemoveLeaf(leaf);
    FreeNode(leaf);
}

// The node beside which a new box costs the tree the least surface: going
// down, the cost of a new parent here against what each child would cost,
// the growth of the bounds above counted on every path.
int32_t EntityIndex::BestSibling(const Bounds& bounds) const {
    int32_t index = root_;
    while (nodes_[static_cast<std::size_t>(index)].left != kNoNode) {
        const Node& node = nodes_[static_cast<std::size_t>(index)];
        const double area = Surface(node.bounds.min, node.bounds.max);
        const double combined =
            Surface(Lower(node.bounds.min, bounds.min), Upper(node.bounds.max, bounds.max));
        const double here = 2.0 * combined;
        const double inherited = 2.0 * (combined - area);
        const auto cost = [&](int32_t child) {
            const Node& c = nodes_[static_cast<std::size_t>(child)];
            const double joined =
                Surface(Lower(c.bounds.min, bounds.min), Upper(c.bounds.max, bounds.max));
            const double grown =
                c.left == kNoNode ? joined : joined - Surface(c.bounds.min, c.bounds.max);
            return grown + inherited;
        };
        const double left = cost(node.left);
        const double right = cost(node.right);
        if (here < left && here < right) break;
        index = left < right ? node.left : node.right;
    }
    return index;
}

void EntityIndex::InsertLeaf(int32_t leaf) {
    if (root_ == kNoNode) {
        root_ = leaf;
        nodes_[static_cast<std::size_t>(leaf)].parent = kNoNode;
        return;
    }
    const int32_t sibling = BestSibling(nodes_[static_cast<std::size_t>(leaf)].bounds);
    const int32_t oldParent = nodes_[static_cast<std::size_t>(sibling)].parent;
    const int32_t parent = NewNode();
    Node& joined = nodes_[static_cast<std::size_t>(parent)];
    joined.parent = oldParent;
    joined.left = sibling;
    joined.right = leaf;
    nodes_[static_cast<std::size_t>(sibling)].parent = parent;
    nodes_[static_cast<std::size_t>(leaf)].parent = parent;
    if (oldParent == kNoNode) {
        root_ = parent;
    } else {
        Node& above = nodes_[static_cast<std::size_t>(oldParent)];
        (above.left == sibling ? above.left : above.right) = parent;
    }
    RefitUpwards(parent);
}

void EntityIndex::RemoveLeaf(int32_t leaf) {
    if (leaf == root_) {
        root_ = kNoNode;
        return;
    }
    const int32_t parent = nodes_[static_cast<std::size_t>(leaf)].parent;
    const Node& joined = nodes_[static_cast<std::size_t>(parent)];
    const int32_t grandParent = joined.parent;
    const int32_t sibling = joined.left == leaf ? joined.right : joined.left;
    nodes_[static_cast<std::size_t>(sibling)].parent = grandParent;
    FreeNode(parent);
    if (grandParent == kNoNode) {
        root_ = sibling;
        return;
    }
    Node& above = nodes_[static_cast<std::size_t>(grandParent)];
    (above.left == parent ? above.left : above.right) = sibling;
    RefitUpwards(grandParent);
}

void EntityIndex::Refit(int32_t index) {
    Node& node = nodes_[static_cast<std::size_t>(index)];
    const Node& left = nodes_[static_cast<std::size_t>(node.left)];
    const Node& right = nodes_[static_cast<std::size_t>(node.right)];
    node.bounds = {Lower(left.bounds.min, right.bounds.min),
                   Upper(left.bounds.max, right.bounds.max)};
    node.height = 1 + std::max(left.height, right.height);
    node.count = left.count + right.count;
    node.oldest = std::min(left.oldest, right.oldest);
}

// The AVL rotation: the taller child takes the node's place, the node takes
// the child's shorter grandchild, and the taller grandchild stays with the
// child.
int32_t EntityIndex::Balance(int32_t a) {
    Node& nodeA = nodes_[static_cast<std::size_t>(a)];
    if (nodeA.left == kNoNode || nodeA.height < 2) return a;
    const int32_t b = nodeA.left;
    const int32_t c = nodeA.right;
    const int32_t balance =
        nodes_[static_cast<std::size_t>(c)].height - nodes_[static_cast<std::size_t>(b)].height;
    if (balance >= -1 && balance <= 1) return a;
    // The taller child rises; `aSide` is where it hung under A.
    const int32_t up = balance > 1 ? c : b;
    int32_t& aSide = balance > 1 ? nodeA.right : nodeA.left;
    Node& nodeUp = nodes_[static_cast<std::size_t>(up)];
    const int32_t first = nodeUp.left;
    const int32_t second = nodeUp.right;
    const bool firstTaller = nodes_[static_cast<std::size_t>(first)].height >
                             nodes_[static_cast<std::size_t>(second)].height;
    const int32_t kept = firstTaller ? first : second;
    const int32_t given = firstTaller ? second : first;

    nodeUp.parent = nodeA.parent;
    if (nodeUp.parent == kNoNode) {
        root_ = up;
    } else {
        Node& above = nodes_[static_cast<std::size_t>(nodeUp.parent)];
        (above.left == a ? above.left : above.right) = up;
    }
    nodeA.parent = up;
    nodeUp.left = a;
    nodeUp.right = kept;
    aSide = given;
    nodes_[static_cast<std::size_t>(given)].parent = a;
    Refit(a);
    Refit(up);
    return up;
}

void EntityIndex::RefitUpwards(int32_t node) {
    while (node != kNoNode) {
        Refit(node);
        node = Balance(node);
        node = nodes_[static_cast<std::size_t>(node)].parent;
    }
}

std::vector<zorQEntityRef*> EntityIndex::All() const {
    std::vector<zorQEntityRef*> all;
    all.reserve(Size());
    for (const auto& [entity, slot] : slotOf_) all.push_back(slots_[slot].filed.entity);
    return all;
}

zorQPickResult EntityIndex::Pick(const PickQuery& query, zorQEntityRef** list, int capacity) const {
    // An inverted cube, or one with a coordinate that is not a number, holds
    // nothing.
    if (list == nullptr || capacity <= 0 || !Ordered(query.min, query.max)) return {0, 0};
    if (query.filter != PICK_FILTER_ALL && query.filter != PICK_FILTER_PLAYERS &&
        query.filter != PICK_FILTER_CORPSES)
        return {0, 0};
    return Search(*this, query, static_cast<std::size_t>(capacity)).Run(list);
}

}  // namespace zorq
