#include "tests/platform/uikit/AllocationWatch.h"

#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ALLOCATION_WATCH_USES_SANITIZER_HOOK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define ALLOCATION_WATCH_USES_SANITIZER_HOOK 1
#endif
#endif

#ifdef ALLOCATION_WATCH_USES_SANITIZER_HOOK
#include <mutex>
#include <sanitizer/allocator_interface.h>
#endif

namespace {

struct WatchState {
    bool active = false;
    std::size_t refuseAbove = 0;
    std::size_t largest = 0;
};

thread_local WatchState watch;

void noteRequest(std::size_t size) {
    if (watch.active && size > watch.largest)
        watch.largest = size;
}

#ifdef ALLOCATION_WATCH_USES_SANITIZER_HOOK
void onSanitizerMalloc(const volatile void*, std::size_t size) {
    noteRequest(size);
}
void onSanitizerFree(const volatile void*) {}

void installHookOnce() {
    static std::once_flag installed;
    std::call_once(installed,
                   [] { __sanitizer_install_malloc_and_free_hooks(onSanitizerMalloc, onSanitizerFree); });
}
#endif

} // namespace

AllocationWatch::AllocationWatch(std::size_t refuseAbove) {
#ifdef ALLOCATION_WATCH_USES_SANITIZER_HOOK
    installHookOnce();
#endif
    watch = {true, refuseAbove, 0};
}

AllocationWatch::~AllocationWatch() {
    watch.active = false;
}

std::size_t AllocationWatch::largestRequest() const {
    return watch.largest;
}

#ifndef ALLOCATION_WATCH_USES_SANITIZER_HOOK
// The other replaceable forms (arrays, nothrow) forward to these two by default.
void* operator new(std::size_t size) {
    noteRequest(size);
    if (watch.active && size > watch.refuseAbove)
        throw std::bad_alloc();
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
#endif
