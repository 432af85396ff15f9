// The root page measures text: fontconfig (under Pango) keeps caches it never frees, which the leak
// checker would report at the end of the run. They are the library's and not ours.

#if defined(__SANITIZE_ADDRESS__)
#define ROOTPAGE_TESTS_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ROOTPAGE_TESTS_LEAK_CHECKED 1
#endif
#endif

#ifdef ROOTPAGE_TESTS_LEAK_CHECKED
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif
