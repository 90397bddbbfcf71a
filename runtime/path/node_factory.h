#pragma once
// The node pool: every node a search may need is allocated before it starts.
#include <cstdint>
#include <memory>

#include "runtime/path/node.h"

namespace tvk {

class NodeFactory {
public:
    // Frees every node and preallocates `capacity` new ones (none when <= 0).
    void resize(int32_t capacity);
    // The node at the next free index, or null when the pool is exhausted.
    Node* take();
    // Nodes are recycled by position, not identity: returning only moves the
    // next free index back.
    void give_back(int32_t count = 1);

    int32_t capacity() const { return capacity_; }
    int32_t in_use() const { return next_free_; }
    // The i-th node handed out since the pool was last emptied.
    Node* node_at(int32_t i) const { return &nodes_[i]; }

private:
    int32_t capacity_ = 0;
    // One block rather than one allocation per node; pages that a search
    // never reaches are never touched.
    std::unique_ptr<Node[]> nodes_;
    int32_t next_free_ = 0;
};

}  // namespace tvk
