#pragma once
#include <functional>
#include <vector>

class TFountain;

// The listeners of a colouring scheme. Each registration pairs a listener
// object with its handler; the same object may register more than once, and
// Remove takes back its most recent registration. ChangedProc calls the
// handlers in registration order, with the scheme as the sender, unless an
// update block is open; the outermost EndUpdate then reports once.
class TNotifyEventList {
public:
    using TNotifyEvent = std::function<void(TFountain& sender)>;

    void Add(const void* listener, TNotifyEvent event);
    void Remove(const void* listener);
    int Count() const { return static_cast<int>(entries_.size()); }

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    void ChangedProc(TFountain& sender);

private:
    struct Entry {
        const void* Listener;
        TNotifyEvent Event;
    };
    void CallAll(TFountain& sender);

    std::vector<Entry> entries_;
    int updateCount_ = 0;
    TFountain* pendingSender_ = nullptr;
};
