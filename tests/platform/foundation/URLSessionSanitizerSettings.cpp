// Debian builds cpp-httplib as a shared library without ThreadSanitizer instrumentation. Its server
// threads share lazily built state whose synchronisation happens inside that code, out of TSan's
// sight, so memcmp and friends called from it look like races. Only calls made from that library are
// ignored; everything of ours stays checked. (A weak hook of the TSan runtime; unused otherwise.)
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libcpp-httplib.so\n";
}
