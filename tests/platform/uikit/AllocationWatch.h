#pragma once

#include <cstddef>

// Watches the memory requested on this thread while it exists, to show that a decoder refuses an
// oversized image before allocating its pixels. Records the largest single request. In plain builds
// it replaces the global operator new and also refuses (std::bad_alloc) any request above
// `refuseAbove`, so a decoder that forgot its size check fails the test instead of touching
// gigabytes; under a sanitizer, whose allocator owns operator new, it only records, through the
// sanitizer's allocation hook.
class AllocationWatch {
public:
    explicit AllocationWatch(std::size_t refuseAbove);
    ~AllocationWatch();
    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;

    std::size_t largestRequest() const;
};
