#pragma once
// A ring buffer of node pointers with a fixed capacity, addressed by logical
// index from the front (0) to the back (size - 1).
#include <cstdint>
#include <memory>

#include "runtime/path/node.h"

namespace tvk {

class FixedDeque {
public:
    // Allocates room for `capacity` pointers (none when <= 0) and empties the deque.
    void set_capacity(int32_t capacity);
    int32_t capacity() const { return capacity_; }

    int32_t size() const;
    bool empty() const { return empty_ != 0; }
    Node* at(int32_t i) const { return storage_[physical(i)]; }
    Node* back() const { return at(size() - 1); }

    // These fail (return false) when the deque is full or i is outside 0..size.
    bool push_back(Node* node);
    // Elements from i onwards move one place towards the back.
    bool insert(int32_t i, Node* node);
    void pop_back();
    // Elements after i move one place towards the front.
    void erase(int32_t i);
    void clear();

private:
    // Insert and erase shift whichever side of i is shorter; the logical
    // order is the same either way.
    int32_t physical(int32_t i) const {
        int32_t p = head_ + i;
        return p >= capacity_ ? p - capacity_ : p;
    }
    int32_t wrap_down(int32_t p) const { return p == 0 ? capacity_ - 1 : p - 1; }
    int32_t wrap_up(int32_t p) const { return p + 1 == capacity_ ? 0 : p + 1; }
    void shift_towards_back(int32_t a, int32_t count);
    void shift_towards_front(int32_t a, int32_t count);

    std::unique_ptr<Node*[]> storage_;
    int32_t capacity_ = 0;
    int32_t head_ = 0;
    int32_t tail_ = 0;  // one past the last element
    uint8_t empty_ = 1;
};

}  // namespace tvk
