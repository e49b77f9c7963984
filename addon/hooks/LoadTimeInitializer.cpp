// The library's one static initialiser.
