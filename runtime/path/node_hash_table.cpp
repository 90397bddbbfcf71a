#include "runtime/path/node_hash_table.h"

#include <algorithm>
#include <new>

namespace tvk {

void NodeHashTable::set_size(int32_t exponent) {
    exponent_ = std::clamp(exponent, 0, 24) & ~1;
    shift_ = exponent_ / 2;
    mask_ = (1 << shift_) - 1;
    bucket_count_ = size_t{1} << exponent_;
    buckets_.reset(static_cast<Node**>(std::calloc(bucket_count_, sizeof(Node*))));
    if (!buckets_) throw std::bad_alloc();
    found_link_ = nullptr;
}

int32_t NodeHashTable::bucket_of(int32_t x, int32_t y) const {
    return (x & mask_) | ((y & mask_) << shift_);
}

void NodeHashTable::insert(Node* node) {
    if (!buckets_) return;
    Node*& head = buckets_[bucket_of(node->x, node->y)];
    for (Node* n = head; n; n = n->bucket_link)
        if (n == node) return;
    node->bucket_link = head;
    head = node;
    found_link_ = nullptr;
}

Node* NodeHashTable::find(int32_t x, int32_t y) {
    found_link_ = nullptr;
    if (!buckets_) return nullptr;
    for (Node** link = &buckets_[bucket_of(x, y)]; *link; link = &(*link)->bucket_link) {
        if ((*link)->x == x && (*link)->y == y) {
            found_link_ = link;
            return *link;
        }
    }
    return nullptr;
}

void NodeHashTable::remove_found() {
    if (!found_link_) return;
    Node* node = *found_link_;
    *found_link_ = node->bucket_link;
    node->bucket_link = nullptr;
    found_link_ = nullptr;
}

void NodeHashTable::clear(NodeFactory& pool) {
    int32_t count = 0;
    for (size_t b = 0; b < bucket_count_; ++b) {
        for (Node* n = buckets_[b]; n; n = n->bucket_link) ++count;
        buckets_[b] = nullptr;
    }
    pool.give_back(count);
    found_link_ = nullptr;
}

}  // namespace tvk
