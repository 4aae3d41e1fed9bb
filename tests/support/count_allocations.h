#pragma once
// Include in exactly one source file of a test program: it replaces that program's global
// allocation functions with counting ones. CountAllocations(f) gives the number of allocations f
// made on the calling thread; counting is on only while f runs (other threads, such as the music
// refill thread, are not counted).
#include <atomic>
#include <cstdlib>
#include <new>

namespace testsupport {
namespace allocation_detail {
inline thread_local bool counting = false;
inline std::atomic<long> allocations{0};

inline void* Allocate(std::size_t n) {
    if (counting) {
        allocations.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* p = std::malloc(n != 0 ? n : 1)) {
        return p;
    }
    throw std::bad_alloc();
}
}  // namespace allocation_detail

template <typename F>
long CountAllocations(F&& f) {
    const long before = allocation_detail::allocations.load();
    allocation_detail::counting = true;
    f();
    allocation_detail::counting = false;
    return allocation_detail::allocations.load() - before;
}

}  // namespace testsupport

void* operator new(std::size_t n) { return testsupport::allocation_detail::Allocate(n); }
void* operator new[](std::size_t n) { return testsupport::allocation_detail::Allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
