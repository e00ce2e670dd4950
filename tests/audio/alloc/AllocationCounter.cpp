#include "tests/audio/alloc/AllocationCounter.h"

#include <cstdlib>
#include <new>

// The sanitizers' runtimes call these hooks on every malloc (GCC ships no
// header for them).
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*malloc_hook)(const volatile void*, std::size_t), void (*free_hook)(const volatile void*));
#define ORVANTA_MALLOC_HOOK 1
#endif

namespace {

thread_local bool counting = false;
thread_local test::Allocations counted;

void* allocate(std::size_t size, std::size_t alignment = 0)
{
    if (counting)
        ++counted.ours;
    if (size == 0)
        size = 1;
    void* p = nullptr;
    if (alignment > alignof(std::max_align_t)) {
        if (posix_memalign(&p, alignment, (size + alignment - 1) / alignment * alignment) != 0)
            p = nullptr;
    } else {
        p = std::malloc(size);
    }
    return p;
}

void* allocate_or_throw(std::size_t size, std::size_t alignment = 0)
{
    void* p = allocate(size, alignment);
    if (!p)
        throw std::bad_alloc();
    return p;
}

#ifdef ORVANTA_MALLOC_HOOK
void count_malloc(const volatile void*, std::size_t)
{
    if (counting)
        ++counted.all;
}

void ignore_free(const volatile void*) { }

const bool hooked = __sanitizer_install_malloc_and_free_hooks(count_malloc, ignore_free) != 0;
#endif

}

void* operator new(std::size_t size)
{
    return allocate_or_throw(size);
}

void* operator new[](std::size_t size)
{
    return allocate_or_throw(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void* operator new(std::size_t size, std::align_val_t alignment)
{
    return allocate_or_throw(size, std::size_t(alignment));
}

void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return allocate_or_throw(size, std::size_t(alignment));
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::align_val_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::align_val_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}

namespace test {

bool counts_c_allocations()
{
#ifdef ORVANTA_MALLOC_HOOK
    return hooked;
#else
    return false;
#endif
}

Allocations allocations_in(const std::function<void()>& work)
{
    counted = {};
    counting = true;
    work();
    counting = false;
    Allocations result = counted;
    if (!counts_c_allocations())
        result.all = result.ours;
    return result;
}

}
