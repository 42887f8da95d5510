// The program is built without exceptions. Where the C++ runtime would throw (a container's
// length or index out of range, memory exhausted) or terminate, the process ends: the program
// has no way on from there. Defined here, these helpers replace the runtime's own, which would
// link its exception machinery, the thread library that comes with it and, for the terminate
// handler that names the exception's type, the symbol demangler.
#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

namespace std
{
void __throw_bad_exception() { abort(); }
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_bad_cast() { abort(); }
void __throw_bad_typeid() { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_domain_error(const char*) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_runtime_error(const char*) { abort(); }
void __throw_range_error(const char*) { abort(); }
void __throw_overflow_error(const char*) { abort(); }
void __throw_underflow_error(const char*) { abort(); }
}

namespace __gnu_cxx
{
void __verbose_terminate_handler()
{
    std::abort();
}
}

// The runtime's operator new throws std::bad_alloc; no new handler is ever installed here.
void* operator new(std::size_t nSize)
{
    if (void* p = std::malloc(nSize != 0 ? nSize : 1))
        return p;
    std::abort();
}
