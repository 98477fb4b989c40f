#pragma once
#include <stdexcept>

// Raised by the row lists for an index outside the list. The message is the
// one users of the editor have always seen for this fault.
class EListError : public std::out_of_range {
public:
    EListError() : std::out_of_range(Message) {}
    static constexpr const char* Message = "リストのインデックスが範囲を超えています";
};
