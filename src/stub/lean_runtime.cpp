// The stub lets no exception escape and treats an allocation failure as
// fatal, so the parts of the C++ runtime that exist to throw are replaced
// here by plain aborts. With static linking this keeps the runtime's
// exception objects, the unwinder, the name demangler of the default
// terminate handler and the threading library out of every setup
// (about 100 KB). Only the stub links this file; test programs keep the
// ordinary runtime.
#include <cstdlib>
#include <new>

namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx

namespace std {
[[noreturn]] void __throw_bad_alloc() { abort(); }
[[noreturn]] void __throw_bad_array_new_length() { abort(); }
[[noreturn]] void __throw_length_error(const char*) { abort(); }
[[noreturn]] void __throw_logic_error(const char*) { abort(); }
[[noreturn]] void __throw_out_of_range(const char*) { abort(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { abort(); }
[[noreturn]] void __throw_invalid_argument(const char*) { abort(); }
}  // namespace std

void* operator new(std::size_t n)
{
    void* p = std::malloc(n ? n : 1);
    if (!p)
        std::abort();
    return p;
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
