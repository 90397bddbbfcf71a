// Nothing of its own: each runtime layer is linked into a shared library with this
// file and --no-undefined, against the layers below it only, so that a call from a
// lower layer into a higher one fails to link (see runtime/CMakeLists.txt).
