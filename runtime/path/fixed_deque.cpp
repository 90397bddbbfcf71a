#include "runtime/path/fixed_deque.h"

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

bool FixedDeque::insert(int32_t i, Node* node) {
    const int32_t n = size();
    if (n >= capacity_ || i < 0 || i > n) return false;
    if (i < n - i) {
        // Move the i front elements one place towards the front.
        head_ = wrap_down(head_);
        int32_t to = head_;
        for (int32_t k = 0; k < i; ++k) {
            const int32_t from = wrap_up(to);
            storage_[to] = storage_[from];
            to = from;
        }
        storage_[to] = node;
    } else {
        // Move the n - i back elements one place towards the back.
        int32_t to = tail_;
        for (int32_t k = n; k > i; --k) {
            const int32_t from = wrap_down(to);
            storage_[to] = storage_[from];
            to = from;
        }
        storage_[to] = node;
        tail_ = wrap_up(tail_);
    }
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
        // Close the gap from the front side.
        int32_t to = physical(i);
        for (int32_t k = i; k > 0; --k) {
            const int32_t from = wrap_down(to);
            storage_[to] = storage_[from];
            to = from;
        }
        head_ = wrap_up(head_);
    } else {
        int32_t to = physical(i);
        for (int32_t k = i; k < n - 1; ++k) {
            const int32_t from = wrap_up(to);
            storage_[to] = storage_[from];
            to = from;
        }
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
