// Debian builds cpp-httplib (the dev server these tests start) and Fontconfig (under Pango, which
// measures the cloud's names) without ThreadSanitizer instrumentation. Both synchronise inside their
// own code, out of TSan's sight: httplib's server threads share lazily built state, and Pango's
// Fontconfig worker maps the font cache that the main thread then reads. Only calls made from those
// libraries are ignored; everything of ours stays checked. (A weak hook of the TSan runtime.)
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libcpp-httplib.so\n"
           "called_from_lib:libfontconfig.so\n";
}
