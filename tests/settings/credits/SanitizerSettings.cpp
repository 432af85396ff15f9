// Debian builds cpp-httplib as a shared library without ThreadSanitizer instrumentation; its server
// threads synchronise inside that code, out of TSan's sight, so calls made from it look like races.
// Only calls made from that library are ignored. (A weak hook of the TSan runtime; unused otherwise.)
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libcpp-httplib.so\n";
}
