#pragma once
// A small printf-like formatter for wide text, used by the bitmap fonts. It writes into the
// caller's fixed buffer and never past it, whatever the format and the arguments.
//
// Conversions: %s (wide string), %i and %d (32-bit int), %u (32-bit unsigned), %f (double,
// formatted by the C library), %% (one percent sign). A directive is: an optional "0"
// flag, a width, "." and a precision, an ignored "l", then the conversion. Any other
// conversion character drops the directive and is written as ordinary text.
#include <cstdarg>
#include <cstddef>

namespace QEL {

// capacity counts characters, terminator included. The result counts the characters
// written before the terminator (at most capacity - 1). Capacity 0 leaves the buffer alone.
int fWStringFormat(wchar_t* buffer, std::size_t capacity, const wchar_t* format, ...);
int fWStringFormatV(wchar_t* buffer, std::size_t capacity, const wchar_t* format, va_list arguments);

}  // namespace QEL
