// Both programs' own definitions of the standard library's error raisers, which its strings and containers
// call on a broken precondition. The library's raise std::logic_error and its kin, whose reference-counted
// messages bring the library's whole old string code, and its unwinding tables, into a statically linked
// program (a third of Setup.exe's library share). These raise the same faults with the same texts as
// EProgramFault, which the framework's error box shows as it showed them. Every raiser of the library's file
// is here, so that its file never joins the link: if it did, the link would stop at the twice-defined names.
#include <cstdarg>
#include <cstddef>
#include <new>
#include <string>
#include <typeinfo>

#include "base/Errors.h"

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* text) { throw quenby::EProgramFault(text); }
void __throw_domain_error(const char* text) { throw quenby::EProgramFault(text); }
void __throw_invalid_argument(const char* text) { throw quenby::EProgramFault(text); }
void __throw_length_error(const char* text) { throw quenby::EProgramFault(text); }
void __throw_out_of_range(const char* text) { throw quenby::EProgramFault(text); }
void __throw_runtime_error(const char* text) { throw quenby::EProgramFault(text); }
void __throw_range_error(const char* text) { throw quenby::EProgramFault(text); }
void __throw_overflow_error(const char* text) { throw quenby::EProgramFault(text); }
void __throw_underflow_error(const char* text) { throw quenby::EProgramFault(text); }

// The library's formats hold only %s, %zu and %%.
void __throw_out_of_range_fmt(const char* format, ...) {
    std::string text;
    va_list arguments;
    va_start(arguments, format);
    for (const char* p = format; *p; ++p) {
        if (p[0] != '%') {
            text += *p;
        } else if (p[1] == 's') {
            text += va_arg(arguments, const char*);
            ++p;
        } else if (p[1] == 'z' && p[2] == 'u') {
            text += std::to_string(va_arg(arguments, std::size_t));
            p += 2;
        } else if (p[1] == '%') {
            text += '%';
            ++p;
        } else {
            text += *p;
        }
    }
    va_end(arguments);
    throw quenby::EProgramFault(text);
}

}  // namespace std
