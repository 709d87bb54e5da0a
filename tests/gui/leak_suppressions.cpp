// The desktop libraries keep caches and registries for the life of the process (fonts, types,
// the session bus) and never free them; a leak check at exit would report them as ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libdbus-1.so\n"
         "leak:libglib-2.0.so\n"
         "leak:libgobject-2.0.so\n"
         "leak:libgio-2.0.so\n"
         "leak:libgtk-3.so\n"
         "leak:libgdk-3.so\n"
         "leak:libpango\n"
         "leak:libharfbuzz.so\n"
         "leak:libcairo.so\n"
         "leak:libwebkit2gtk\n"
         "leak:libjavascriptcoregtk\n"
         "leak:libwx_\n";
}
