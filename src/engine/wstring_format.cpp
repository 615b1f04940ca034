#include "engine/wstring_format.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cwchar>

namespace QEL {

namespace {

// Widths and precisions beyond this are read as this: the output stops at the buffer's end
// long before, and the count cannot overflow.
constexpr std::size_t kFieldLimit = std::size_t{1} << 30;
// Digits and the text of a floating-point conversion are built in arrays of this size.
constexpr std::size_t kNumberSize = 32;
// Beyond this many decimals the C library's text would not fit the number array anyway.
constexpr std::size_t kFloatPrecisionLimit = 16;

// The caller's buffer with its write position. The last character is kept for the
// terminator, so nothing is ever written past capacity - 1 characters.
class OUTPUT {
 public:
  OUTPUT(wchar_t* buffer, std::size_t capacity) : _buffer(buffer), _last(capacity - 1) {}

  bool fIsFull() const { return _position >= _last; }

  // Returns false once the buffer is full (the character may or may not have been stored).
  bool fPut(wchar_t character) {
    if (fIsFull()) return false;
    _buffer[_position++] = character;
    return !fIsFull();
  }

  bool fPutRepeated(wchar_t character, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
      if (!fPut(character)) return false;
    return !fIsFull();
  }

  bool fPutText(const wchar_t* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
      if (!fPut(text[i])) return false;
    return !fIsFull();
  }

  int fFinish() {
    _buffer[_position] = L'\0';
    return _position > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(_position);
  }

 private:
  wchar_t* _buffer;
  std::size_t _last;
  std::size_t _position = 0;
};

std::size_t readNumber(const wchar_t*& cursor) {
  std::size_t value = 0;
  while (*cursor >= L'0' && *cursor <= L'9') {
    value = value * 10 + static_cast<std::size_t>(*cursor - L'0');
    if (value > kFieldLimit) value = kFieldLimit;
    ++cursor;
  }
  return value;
}

// Writes the sign, then the padding ("0" after the sign, blanks before it), then the digits.
void putPadded(OUTPUT& output, const wchar_t* text, std::size_t length, std::size_t width, bool zeroFill) {
  if (length >= width) {
    output.fPutText(text, length);
    return;
  }
  const std::size_t padding = width - length;
  if (zeroFill) {
    std::size_t start = 0;
    if (length > 0 && (text[0] == L'-' || text[0] == L'+')) {
      if (!output.fPut(text[0])) return;
      start = 1;
    }
    if (!output.fPutRepeated(L'0', padding)) return;
    output.fPutText(text + start, length - start);
  } else {
    if (!output.fPutRepeated(L' ', padding)) return;
    output.fPutText(text, length);
  }
}

void putInteger(OUTPUT& output, int64_t value, std::size_t width, bool zeroFill) {
  wchar_t digits[kNumberSize];
  std::size_t count = 0;
  const bool negative = value < 0;
  uint64_t magnitude = negative ? static_cast<uint64_t>(-(value + 1)) + 1 : static_cast<uint64_t>(value);
  wchar_t reversed[kNumberSize];
  std::size_t reversedCount = 0;
  do {
    reversed[reversedCount++] = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) digits[count++] = L'-';
  while (reversedCount > 0) digits[count++] = reversed[--reversedCount];
  putPadded(output, digits, count, width, zeroFill);
}

void putFloat(OUTPUT& output, double value, std::size_t width, bool hasPrecision, std::size_t precision,
              bool zeroFill) {
  std::size_t decimals = hasPrecision ? precision : 6;
  if (decimals > kFloatPrecisionLimit) decimals = kFloatPrecisionLimit;
  wchar_t text[kNumberSize];
  int written = std::swprintf(text, kNumberSize, L"%.*f", static_cast<int>(decimals), value);
  if (written < 0 || static_cast<std::size_t>(written) >= kNumberSize) {
    // Too many digits for fixed notation (a huge value): scientific notation always fits.
    written = std::swprintf(text, kNumberSize, L"%.*e", static_cast<int>(decimals), value);
  }
  if (written < 0 || static_cast<std::size_t>(written) >= kNumberSize) return;
  // The C library pads infinities and NaN with blanks even under the zero flag.
  putPadded(output, text, static_cast<std::size_t>(written), width, zeroFill && std::isfinite(value));
}

}  // namespace

int fWStringFormat(wchar_t* buffer, std::size_t capacity, const wchar_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int written = fWStringFormatV(buffer, capacity, format, arguments);
  va_end(arguments);
  return written;
}

int fWStringFormatV(wchar_t* buffer, std::size_t capacity, const wchar_t* format, va_list arguments) {
  if (capacity == 0 || buffer == nullptr) return 0;
  buffer[0] = L'\0';
  OUTPUT output(buffer, capacity);
  if (format == nullptr) return 0;

  const wchar_t* cursor = format;
  while (!output.fIsFull()) {
    const wchar_t character = *cursor;
    if (character == L'\0') break;
    if (character != L'%') {
      output.fPut(character);
      ++cursor;
      continue;
    }
    ++cursor;
    if (*cursor == L'%') {
      output.fPut(L'%');
      ++cursor;
      continue;
    }

    bool zeroFill = false;
    if (*cursor == L'0') {
      zeroFill = true;
      ++cursor;
    }
    const std::size_t width = readNumber(cursor);
    bool hasPrecision = false;
    std::size_t precision = 0;
    if (*cursor == L'.') {
      hasPrecision = true;
      ++cursor;
      precision = readNumber(cursor);
    }
    if (*cursor == L'l') ++cursor;

    switch (*cursor) {
      case L'\0':
        return output.fFinish();
      case L's': {
        const wchar_t* text = va_arg(arguments, const wchar_t*);
        if (text == nullptr) text = L"";
        const std::size_t length = std::wcslen(text);
        if (length < width && !output.fPutRepeated(L' ', width - length)) break;
        output.fPutText(text, length);
        ++cursor;
        break;
      }
      case L'i':
      case L'd':
        putInteger(output, va_arg(arguments, int32_t), width, zeroFill);
        ++cursor;
        break;
      case L'u':
        // None of the game's formats uses it; consuming its argument keeps the ones after it
        // in step.
        putInteger(output, va_arg(arguments, uint32_t), width, zeroFill);
        ++cursor;
        break;
      case L'f':
        putFloat(output, va_arg(arguments, double), width, hasPrecision, precision, zeroFill);
        ++cursor;
        break;
      default:
        // Unknown conversion: the directive is dropped and this character is read
        // again as ordinary text.
        break;
    }
  }
  return output.fFinish();
}

}  // namespace QEL
