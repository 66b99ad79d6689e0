#include "shell/input_queue.h"

bool InputQueue::push(const InputEvent& event) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (count_ == kCapacity) return false;
    at(count_) = event;
    ++count_;
    return true;
}

int InputQueue::takeAll(Batch& out) {
    std::lock_guard<std::mutex> lock(mutex_);
    const int n = count_;
    for (int i = 0; i < n; ++i) out[i] = at(i);
    head_ = 0;
    count_ = 0;
    return n;
}

void InputQueue::dropFront() {
    head_ = (head_ + 1) % kCapacity;
    --count_;
}

bool InputQueue::takeMouse(InputEvent& out) {
    std::lock_guard<std::mutex> lock(mutex_);
    while (count_ > 0) {
        const InputEvent front = at(0);
        dropFront();
        if (front.kind != InputEvent::Key) {
            out = front;
            return true;
        }
    }
    return false;
}

bool InputQueue::peekMouse(InputEvent& out) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int i = 0; i < count_; ++i) {
        if (at(i).kind != InputEvent::Key) {
            out = at(i);
            return true;
        }
    }
    return false;
}

void InputQueue::dropKeys() {
    std::lock_guard<std::mutex> lock(mutex_);
    int kept = 0;
    for (int i = 0; i < count_; ++i) {
        if (at(i).kind != InputEvent::Key) at(kept++) = at(i);
    }
    count_ = kept;
}

void InputQueue::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    head_ = 0;
    count_ = 0;
}
