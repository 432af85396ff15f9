#pragma once

#include <cstddef>

// Watches the memory requested through operator new on this thread while it exists: the largest
// single request, and a refusal (std::bad_alloc) of any request above `refuseAbove`, so that a
// decoder that forgot its size check fails the test instead of touching gigabytes. The uikit test
// program replaces the global operator new for this.
class AllocationWatch {
public:
    explicit AllocationWatch(std::size_t refuseAbove);
    ~AllocationWatch();
    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;

    std::size_t largestRequest() const;
};
