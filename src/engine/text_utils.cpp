#include "engine/text_utils.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "engine/log.h"

namespace QEL {

std::wstring fNumberToWString(float value) {
  std::wstringstream stream;
  try {
    stream << value;
  } catch (...) {
    fLog("Exception in fNumberToWString");
  }
  return stream.str();
}

std::wstring fHexToWString(uint32_t value) {
  std::wstringstream stream;
  try {
    stream << std::hex << value;
  } catch (...) {
    fLog("Exception in fHexToWString");
  }
  return stream.str();
}

int32_t fStringToInt(const std::string& text) {
  std::stringstream stream;
  uint32_t value = 0;
  try {
    stream << std::hex << text;
    stream >> value;
  } catch (...) {
  }
  if (stream.fail()) return 0;
  return static_cast<int32_t>(value);
}

bool fReadWholeNumber(const char* text, int32_t& value) {
  if (text == nullptr) return false;
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  if (*text == '\0') return false;
  errno = 0;
  char* end = nullptr;
  const long number = std::strtol(text, &end, 10);
  if (end == text || errno == ERANGE || number < INT32_MIN || number > INT32_MAX) return false;
  while (std::isspace(static_cast<unsigned char>(*end))) ++end;
  if (*end != '\0') return false;
  value = static_cast<int32_t>(number);
  return true;
}

std::string fToNarrow(const std::wstring& text) {
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(text[i] & 0xFF);
  return out;
}

std::wstring fToWide(const std::string& text) {
  std::wstring out(text.size(), L'\0');
  for (size_t i = 0; i < text.size(); ++i)
    out[i] = static_cast<wchar_t>(static_cast<uint16_t>(static_cast<int16_t>(static_cast<signed char>(text[i]))));
  return out;
}

std::wstring fUtf8ToWide(const std::string& text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    uint32_t code;
    size_t extra;
    if (c < 0x80) { code = c; extra = 0; }
    else if ((c & 0xE0) == 0xC0) { code = c & 0x1F; extra = 1; }
    else if ((c & 0xF0) == 0xE0) { code = c & 0x0F; extra = 2; }
    else if ((c & 0xF8) == 0xF0) { code = c & 0x07; extra = 3; }
    else { out.push_back(0xFFFD); ++i; continue; }
    if (i + extra >= text.size()) {  // a sequence cut off at the end
      out.push_back(0xFFFD);
      break;
    }
    bool ok = true;
    for (size_t k = 1; k <= extra; ++k) {
      unsigned char cc = static_cast<unsigned char>(text[i + k]);
      if ((cc & 0xC0) != 0x80) { ok = false; break; }
      code = (code << 6) | (cc & 0x3F);
    }
    if (!ok) { out.push_back(0xFFFD); ++i; continue; }
    out.push_back(static_cast<wchar_t>(code));
    i += extra + 1;
  }
  return out;
}

std::string fWideToUtf8(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t w : text) {
    uint32_t c = static_cast<uint32_t>(w);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

bool fIsDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

int fCountBlanks(const std::string& text) {
  int count = 0;
  for (char c : text)
    if (c == ' ') ++count;
  return count;
}

void fFixSlashes(std::string& text) {
  for (char& c : text)
    if (c == '\\') c = '/';
}

std::list<std::string> fSplitString(std::string& text, char delimiter, bool dropDelimiter) {
  std::list<std::string> words;
  while (!text.empty()) {
    size_t at = text.find(delimiter);
    if (at == std::string::npos) {
      words.push_back(text);
      break;
    }
    words.push_back(text.substr(0, dropDelimiter ? at : at + 1));
    text.erase(0, at + 1);
  }
  return words;
}

}  // namespace QEL
