#pragma once
#include <cstddef>
#include <cstdint>

// A fuzz input read as a program: one byte at a time, zeros past its end.
class Program {
public:
    Program(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Done() const { return pos_ >= size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    int Word() { return Byte() | (Byte() << 8); }
    bool Bit() { return (Byte() & 1) != 0; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};
