// The translation catalogs are resources compiled into this library (CMakeLists.txt); the
// library has no code of its own, and a static library needs at least one source.
