#include "tex/PatternScanner.h"

#include <cstring>

PatternScanner::PatternScanner(std::vector<std::string> patterns)
    : patterns_(std::move(patterns)), slotOf_(patterns_.size(), -1), wanted_(patterns_.size(), 0),
      seen_(patterns_.size(), 0)
{
    for (size_t id = 0; id < patterns_.size(); ++id) {
        const std::string& p = patterns_[id];
        if (p.empty())
            continue;
        const unsigned char first = static_cast<unsigned char>(p[0]);
        int slot = -1;
        for (size_t s = 0; s < slots_.size(); ++s)
            if (slots_[s].first == first)
                slot = static_cast<int>(s);
        if (slot < 0) {
            slot = static_cast<int>(slots_.size());
            slots_.emplace_back();
            slots_.back().first = first;
        }
        slotOf_[id] = slot;
        Slot& s = slots_[static_cast<size_t>(slot)];
        if (p.size() == 1)
            s.single.push_back(static_cast<int>(id));
        else
            s.bySecond[static_cast<unsigned char>(p[1])].push_back(static_cast<int>(id));
    }
}

void PatternScanner::Want(int id)
{
    const size_t i = static_cast<size_t>(id);
    if (wanted_[i] || slotOf_[i] < 0)
        return;
    wanted_[i] = 1;
    ++wantedCount_;
    ++slots_[static_cast<size_t>(slotOf_[i])].wanted;
}

void PatternScanner::Unwant(int id)
{
    const size_t i = static_cast<size_t>(id);
    if (!wanted_[i])
        return;
    wanted_[i] = 0;
    --wantedCount_;
    --slots_[static_cast<size_t>(slotOf_[i])].wanted;
}

const std::vector<int>& PatternScanner::FindIn(std::string_view text)
{
    found_.clear();
    if (++stamp_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0u);
        stamp_ = 1;
    }
    const char* const data = text.data();
    const size_t n = text.size();
    for (const Slot& slot : slots_) {
        int left = slot.wanted;
        if (left == 0)
            continue;
        size_t pos = 0;
        while (left > 0 && pos < n) {
            const void* hit = std::memchr(data + pos, slot.first, n - pos);
            if (!hit)
                break;
            pos = static_cast<size_t>(static_cast<const char*>(hit) - data);
            auto take = [&](int id) {
                const size_t i = static_cast<size_t>(id);
                if (!wanted_[i] || seen_[i] == stamp_)
                    return;
                const std::string& p = patterns_[i];
                if (p.size() > n - pos || std::memcmp(data + pos, p.data(), p.size()) != 0)
                    return;
                seen_[i] = stamp_;
                found_.push_back(id);
                --left;
            };
            for (int id : slot.single)
                take(id);
            if (pos + 1 < n)
                for (int id : slot.bySecond[static_cast<unsigned char>(data[pos + 1])])
                    take(id);
            ++pos;
        }
    }
    return found_;
}
