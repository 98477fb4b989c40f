#pragma once
#include <cstddef>
#include <memory>

// Memory for a document's text and row array. Blocks of several megabytes
// are aligned to 2 MB and offered huge pages, which makes the first touch of
// a large document's memory several times cheaper. Release with std::free.
void* AllocateLarge(std::size_t bytes);

// A text block the rows can share.
std::shared_ptr<char[]> AllocateTextBlock(std::size_t bytes);
