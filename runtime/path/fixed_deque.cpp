#include "runtime/path/fixed_deque.h"

#include <cstring>

namespace tvk {

void FixedDeque::set_capacity(int32_t capacity) {
    storage_.reset();
    capacity_ = capacity > 0 ? capacity : 0;
    if (capacity_ > 0) storage_ = std::make_unique_for_overwrite<Node*[]>(capacity_);
    clear();
}

int32_t FixedDeque::size() const {
    if (empty_) return 0;
    const int32_t d = tail_ - head_;
    return d > 0 ? d : capacity_ + d;
}

bool FixedDeque::push_back(Node* node) {
    return insert(size(), node);
}

// Moves logical [a, a + count) to [a + 1, a + count + 1), in at most two
// contiguous pieces around the end of the storage.
void FixedDeque::shift_towards_back(int32_t a, int32_t count) {
    if (count <= 0) return;
    Node** s = storage_.get();
    const int32_t p = physical(a);          // first element to move
    const int32_t q = physical(a + count);  // last slot written
    if (p <= q) {
        std::memmove(s + p + 1, s + p, sizeof(Node*) * count);
    } else {
        std::memmove(s + 1, s, sizeof(Node*) * q);
        s[0] = s[capacity_ - 1];
        std::memmove(s + p + 1, s + p, sizeof(Node*) * (capacity_ - 1 - p));
    }
}

// Moves logical [a, a + count) to [a - 1, a + count - 1); a >= 1.
void FixedDeque::shift_towards_front(int32_t a, int32_t count) {
    if (count <= 0) return;
    Node** s = storage_.get();
    const int32_t p = physical(a - 1);          // first slot written
    const int32_t q = physical(a + count - 1);  // last element to move
    if (p <= q) {
        std::memmove(s + p, s + p + 1, sizeof(Node*) * count);
    } else {
        std::memmove(s + p, s + p + 1, sizeof(Node*) * (capacity_ - 1 - p));
        s[capacity_ - 1] = s[0];
        std::memmove(s, s + 1, sizeof(Node*) * q);
    }
}

bool FixedDeque::insert(int32_t i, Node* node) {
    const int32_t n = size();
    if (n >= capacity_ || i < 0 || i > n) return false;
    if (i < n - i) {
        head_ = wrap_down(head_);
        shift_towards_front(1, i);
    } else {
        shift_towards_back(i, n - i);
        tail_ = wrap_up(tail_);
    }
    storage_[physical(i)] = node;
    empty_ = 0;
    return true;
}

void FixedDeque::pop_back() {
    if (empty_) return;
    tail_ = wrap_down(tail_);
    if (tail_ == head_) empty_ = 1;
}

void FixedDeque::erase(int32_t i) {
    const int32_t n = size();
    if (i < 0 || i >= n) return;
    if (i < n - 1 - i) {
        shift_towards_back(0, i);
        head_ = wrap_up(head_);
    } else {
        shift_towards_front(i + 1, n - 1 - i);
        tail_ = wrap_down(tail_);
    }
    if (tail_ == head_) empty_ = 1;
}

void FixedDeque::clear() {
    head_ = 0;
    tail_ = 0;
    empty_ = 1;
}

}  // namespace tvk
