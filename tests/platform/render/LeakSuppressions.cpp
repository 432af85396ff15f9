// Fontconfig (under Pango) keeps caches it never frees, some of them in Pango's own worker threads;
// the leak checker would report them at the end of every run that measured text. They are the
// libraries' and not ours, so this test program tells LeakSanitizer to pass over them.

#if defined(__SANITIZE_ADDRESS__)
#define RENDER_TESTS_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RENDER_TESTS_LEAK_CHECKED 1
#endif
#endif

#ifdef RENDER_TESTS_LEAK_CHECKED
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif
