// What the release program takes from the C++ library, compiled here with the
// program's own flags (cmake/Release.cmake): without exceptions. The
// library's objects were compiled with them, and each one linked brings the
// library's exception handling (its personality routine, the unwinder, the
// thread-local exception globals), which a program that catches nothing never
// runs.
#include <cstdlib>
#include <new>
#include <string>

// Memory, or the end of the program: what the library's allocation comes to
// when nothing catches its bad_alloc, without throwing one.
void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  std::abort();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

// The members of the program's one string type. The C++ library declares
// them made in its own object, compiled with exceptions, which comes whole
// (22 KB, and the exception handling with it). Made here they cost 13 KB:
// all of them stay, as the x86_64 linker keeps every function that has an
// unwind entry.
template class std::basic_string<char>;
