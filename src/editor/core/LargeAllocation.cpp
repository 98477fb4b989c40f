#include "editor/core/LargeAllocation.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;
constexpr std::size_t LargeThreshold = std::size_t{4} << 20;

}  // namespace

void* AllocateLarge(std::size_t bytes)
{
    if (bytes == 0)
        bytes = 1;
    void* p = nullptr;
    if (bytes >= LargeThreshold) {
        const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
        p = std::aligned_alloc(HugePage, rounded);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        if (p)
            madvise(p, rounded, MADV_HUGEPAGE);  // advice only: failure changes nothing
#endif
    }
    if (!p)
        p = std::malloc(bytes);
    if (!p)
        throw std::bad_alloc();
    return p;
}

std::shared_ptr<char[]> AllocateTextBlock(std::size_t bytes)
{
    return std::shared_ptr<char[]>(static_cast<char*>(AllocateLarge(bytes)), [](char* p) { std::free(p); });
}
