// Every byte a benchmark asks of the heap, counted, so that memory is
// measured rather than estimated: HeapNow now, HeapPeak the most since it
// was last set. Included by one source of each benchmark program.
#pragma once
#include <cstdlib>
#include <new>

size_t HeapNow = 0, HeapPeak = 0;

void* operator new(size_t size)
{
    size_t* block = (size_t*)malloc(size + 16);
    if (!block)
        throw std::bad_alloc();
    *block = size;
    HeapNow += size;
    if (HeapNow > HeapPeak)
        HeapPeak = HeapNow;
    return (char*)block + 16;
}

void operator delete(void* pointer) noexcept
{
    if (!pointer)
        return;
    size_t* block = (size_t*)((char*)pointer - 16);
    HeapNow -= *block;
    free(block);
}

void operator delete(void* pointer, size_t) noexcept
{
    operator delete(pointer);
}
