#include "runtime/path/node_factory.h"

namespace tvk {

void NodeFactory::resize(int32_t capacity) {
    nodes_.reset();
    capacity_ = capacity > 0 ? capacity : 0;
    next_free_ = 0;
    if (capacity_ > 0) nodes_ = std::make_unique_for_overwrite<Node[]>(capacity_);
}

Node* NodeFactory::take() {
    if (next_free_ >= capacity_) return nullptr;
    return &nodes_[next_free_++];
}

void NodeFactory::give_back(int32_t count) {
    next_free_ = count >= next_free_ ? 0 : next_free_ - count;
}

}  // namespace tvk
