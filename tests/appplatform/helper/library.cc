// A library for the library-loading tests: one entry point.
extern "C" __attribute__((visibility("default"))) int ductra_test_entry() { return 42; }
