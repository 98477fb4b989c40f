#include "editor/core/TNotifyEventList.h"

void TNotifyEventList::Add(const void* listener, TNotifyEvent event)
{
    entries_.push_back({listener, std::move(event)});
}

void TNotifyEventList::Remove(const void* listener)
{
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->Listener == listener) {
            entries_.erase(std::next(it).base());
            return;
        }
    }
}

void TNotifyEventList::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0 && pendingSender_) {
        TFountain* sender = pendingSender_;
        pendingSender_ = nullptr;
        CallAll(*sender);
    }
}

void TNotifyEventList::ChangedProc(TFountain& sender)
{
    if (updateCount_ > 0) {
        pendingSender_ = &sender;
        return;
    }
    CallAll(sender);
}

void TNotifyEventList::CallAll(TFountain& sender)
{
    // A copy: a handler may add or remove listeners.
    const std::vector<Entry> entries = entries_;
    for (const Entry& e : entries)
        if (e.Event)
            e.Event(sender);
}
