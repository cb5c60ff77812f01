// PixelArray: a std::vector for the picture arrays that costs nothing to
// create. Its memory comes zeroed from calloc, which for large blocks hands
// out fresh pages from the system without writing to them, so a new array of
// zeros is not filled a second time; large blocks are also offered to the
// kernel as huge pages, which cuts the page faults of the first touch.
//
// Value-initialising an element is a no-op, so a PixelArray is zero only when
// it is created with a size (PixelArray<T>(n)); a resize that grows into kept
// capacity would not clear. The picture arrays are always made anew.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include <sys/mman.h>

namespace planora {

template <class T>
struct ZeroedAllocator {
    using value_type = T;

    ZeroedAllocator() = default;
    template <class U>
    ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        void* memory = std::calloc(n == 0 ? 1 : n, sizeof(T));
        if (!memory) throw std::bad_alloc();
        AdviseHugePages(memory, n * sizeof(T));
        return static_cast<T*>(memory);
    }
    void deallocate(T* p, std::size_t) noexcept { std::free(p); }

    // Elements are already zero: value-initialisation writes nothing.
    template <class U>
    void construct(U*) noexcept {}
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    template <class U>
    bool operator==(const ZeroedAllocator<U>&) const noexcept { return true; }

private:
    static void AdviseHugePages(void* memory, std::size_t bytes) {
        constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
        if (bytes < 2 * kHugePage) return;
        const auto start = (reinterpret_cast<std::uintptr_t>(memory) + kHugePage - 1) & ~(kHugePage - 1);
        const auto end = (reinterpret_cast<std::uintptr_t>(memory) + bytes) & ~(kHugePage - 1);
        if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
};

template <class T>
using PixelArray = std::vector<T, ZeroedAllocator<T>>;

}  // namespace planora
