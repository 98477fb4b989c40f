#pragma once
#include <functional>

// Base of the small option objects: every change of a property calls
// OnChange, which the owner points at its own change handler.
class TChangeNotifier {
public:
    std::function<void()> OnChange;

protected:
    template <class T, class V>
    void Set(T& field, const V& value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    void Changed()
    {
        if (OnChange)
            OnChange();
    }
};
