// The shared library's own translation unit. Everything it exports comes from the core archive,
// which is linked whole; this file only gives the target a source to build.
