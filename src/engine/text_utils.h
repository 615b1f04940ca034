#pragma once
// Number/text conversions, word splitting and path separators used across the engine.
#include <cstdint>
#include <list>
#include <string>
#include <string_view>

namespace QEL {

// The float in the standard stream's default notation (six significant digits).
std::wstring fNumberToWString(float value);
// Lower-case hexadecimal digits, no prefix, no leading zeros.
std::wstring fHexToWString(uint32_t value);
// Reads the text as one hexadecimal integer; 0 when it holds none.
int32_t fStringToInt(const std::string& text);
// The whole text as one decimal number, blanks around it allowed; false (value untouched)
// for null, empty or blank text, anything else in it, or a number beyond 32 bits.
bool fReadWholeNumber(const char* text, int32_t& value);
// True for text of decimal digits only, at least one (a number in a file's or folder's name).
bool fIsDigits(std::string_view text);

// Character-by-character copies with no code-page conversion: a wide character keeps its
// low 8 bits, a narrow one is widened as a signed byte (as a plain cast does where char is
// signed). Text for the player goes through the UTF-8 conversions below instead.
std::string fToNarrow(const std::wstring& text);
std::wstring fToWide(const std::string& text);

// Proper conversions between UTF-8 (files, XML) and wide text (what the player sees).
std::wstring fUtf8ToWide(const std::string& text);
std::string fWideToUtf8(const std::wstring& text);

int fCountBlanks(const std::string& text);
void fFixSlashes(std::string& text);

// Splits at every delimiter. Empty words stay (two delimiters in a row give one); a trailing
// delimiter gives no empty last word. With dropDelimiter clear each word keeps its delimiter.
// The text is consumed: on return it holds the last word when that had no delimiter after it.
std::list<std::string> fSplitString(std::string& text, char delimiter, bool dropDelimiter);

}  // namespace QEL
