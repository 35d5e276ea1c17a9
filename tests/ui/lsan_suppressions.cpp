// fontconfig keeps its configuration for the life of the process and never frees it; Qt loads
// it with the first font. Under LeakSanitizer that reads as a leak of the library's, not ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
