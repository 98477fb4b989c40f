#pragma once
#include <string>
#include <string_view>

// Read access to a document's logical lines without copying the document:
// the TeX aids ask questions of the whole text (is the caret inside math?)
// and read it line by line, each line only while they look at it.
class TextLineSource {
public:
    virtual ~TextLineSource() = default;
    virtual int LineCount() const = 0;
    // The bytes of logical line `index` (0 <= index < LineCount()), valid
    // until the next call. A line held in one piece is returned as it lies;
    // one spread over several pieces is joined into `scratch`.
    virtual std::string_view Line(int index, std::string& scratch) const = 0;
};

// A source over lines held in a container of strings, for tests and
// callers that already hold the lines.
template <class Container>
class StringLineSource : public TextLineSource {
public:
    explicit StringLineSource(const Container& lines) : lines_(lines) {}
    int LineCount() const override { return static_cast<int>(lines_.size()); }
    std::string_view Line(int index, std::string&) const override { return lines_[static_cast<size_t>(index)]; }

private:
    const Container& lines_;
};
