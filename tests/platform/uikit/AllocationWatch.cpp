#include "AllocationWatch.h"

#include <cstdlib>
#include <new>

namespace {

struct WatchState {
    bool active = false;
    std::size_t refuseAbove = 0;
    std::size_t largest = 0;
};

thread_local WatchState watch;

} // namespace

AllocationWatch::AllocationWatch(std::size_t refuseAbove) {
    watch = {true, refuseAbove, 0};
}

AllocationWatch::~AllocationWatch() {
    watch.active = false;
}

std::size_t AllocationWatch::largestRequest() const {
    return watch.largest;
}

void* operator new(std::size_t size) {
    if (watch.active) {
        if (size > watch.largest)
            watch.largest = size;
        if (size > watch.refuseAbove)
            throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
