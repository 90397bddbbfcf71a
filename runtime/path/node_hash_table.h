#pragma once
// The closed set: nodes chained into 2^e buckets that tile the grid, so that
// neighbouring cells fall into different buckets.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "runtime/path/node.h"
#include "runtime/path/node_factory.h"

namespace tvk {

class NodeHashTable {
public:
    // Exponents above 24 become 24, odd ones are rounded down, negative ones
    // become 0; the buckets are allocated empty.
    void set_size(int32_t exponent);
    int32_t exponent() const { return exponent_; }
    int32_t bucket_of(int32_t x, int32_t y) const;

    // Puts the node at the head of its bucket unless it is already chained.
    void insert(Node* node);
    // Walks the cell's bucket; remembers where the found node is linked from,
    // so that remove_found can unlink it without a second walk.
    Node* find(int32_t x, int32_t y);
    void remove_found();
    // Returns every chained node to the pool and empties the buckets.
    void clear(NodeFactory& pool);

private:
    int32_t exponent_ = 0;
    int32_t shift_ = 0;
    int32_t mask_ = 0;
    struct FreeDeleter {
        void operator()(void* p) const { std::free(p); }
    };
    // calloc: a large table costs nothing until its buckets are used.
    std::unique_ptr<Node*[], FreeDeleter> buckets_;
    size_t bucket_count_ = 0;
    Node** found_link_ = nullptr;
};

}  // namespace tvk
