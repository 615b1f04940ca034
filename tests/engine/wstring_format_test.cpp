#include "engine/wstring_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using QEL::fWStringFormat;

namespace {

// A heap buffer of exactly the capacity, so AddressSanitizer catches a write past it, plus a
// check of the count and the terminator.
template <class... Arguments>
std::wstring formatInto(std::size_t capacity, const wchar_t* format, Arguments... arguments) {
  std::unique_ptr<wchar_t[]> buffer(new wchar_t[capacity]);
  for (std::size_t i = 0; i < capacity; ++i) buffer[i] = L'#';
  const int written = fWStringFormat(buffer.get(), capacity, format, arguments...);
  EXPECT_GE(written, 0);
  EXPECT_LT(static_cast<std::size_t>(written), capacity);
  EXPECT_EQ(buffer[written], L'\0');
  return std::wstring(buffer.get(), written);
}

template <class... Arguments>
std::wstring format(const wchar_t* text, Arguments... arguments) {
  return formatInto(256, text, arguments...);
}

}  // namespace

TEST(WStringFormatTest, CapacityZeroLeavesBufferAlone) {
  wchar_t buffer[2] = {L'x', L'y'};
  EXPECT_EQ(fWStringFormat(buffer, 0, L"abc"), 0);
  EXPECT_EQ(buffer[0], L'x');
  EXPECT_EQ(fWStringFormat(nullptr, 10, L"abc"), 0);
}

TEST(WStringFormatTest, CapacityOneWritesOnlyTheTerminator) {
  wchar_t buffer[2] = {L'x', L'y'};
  EXPECT_EQ(fWStringFormat(buffer, 1, L"abc %i", 5), 0);
  EXPECT_EQ(buffer[0], L'\0');
  EXPECT_EQ(buffer[1], L'y');
}

TEST(WStringFormatTest, LongFormatIsCutAtCapacity) {
  wchar_t buffer[6];
  buffer[5] = L'!';
  EXPECT_EQ(fWStringFormat(buffer, 5, L"abcdefgh"), 4);
  EXPECT_EQ(std::wstring(buffer), L"abcd");
  EXPECT_EQ(buffer[5], L'!');
  EXPECT_EQ(formatInto(4, L"abc"), L"abc");
}

TEST(WStringFormatTest, IntegerWidthAndZeroFlag) {
  EXPECT_EQ(format(L"%5i", 42), L"   42");
  EXPECT_EQ(format(L"%05i", 42), L"00042");
  EXPECT_EQ(format(L"%1d", 12345), L"12345");
  EXPECT_EQ(format(L"%d items", 0), L"0 items");
  EXPECT_EQ(format(L"%li", 7), L"7");
  EXPECT_EQ(format(L"%i", INT32_MAX), L"2147483647");
}

TEST(WStringFormatTest, NegativeIntegersKeepTheirSign) {
  EXPECT_EQ(format(L"%i", -42), L"-42");
  EXPECT_EQ(format(L"%5i", -42), L"  -42");
  EXPECT_EQ(format(L"%05i", -42), L"-0042");
  EXPECT_EQ(format(L"%d", INT32_MIN), L"-2147483648");
}

TEST(WStringFormatTest, UnsignedConsumesItsArgument) {
  EXPECT_EQ(format(L"%u|%s", 4000000000u, L"next"), L"4000000000|next");
}

TEST(WStringFormatTest, StringWidthPadsWithBlanksOnly) {
  EXPECT_EQ(format(L"%8s", L"abcd"), L"    abcd");
  EXPECT_EQ(format(L"%08s", L"abcd"), L"    abcd");
  EXPECT_EQ(format(L"%.2s", L"abcd"), L"abcd");
  EXPECT_EQ(format(L"[%s]", static_cast<const wchar_t*>(nullptr)), L"[]");
}

TEST(WStringFormatTest, FloatsAsTheRuntimeFormatsThem) {
  EXPECT_EQ(format(L"%.2f", 3.14159), L"3.14");
  EXPECT_EQ(format(L"%f", 1.5), L"1.500000");
  EXPECT_EQ(format(L"%.0f", 2.5), L"2");
  EXPECT_EQ(format(L"%8.3f", -1.0), L"  -1.000");
  EXPECT_EQ(format(L"%08.2f", -3.14159), L"-0003.14");
  EXPECT_EQ(format(L"%.2lf", 0.125), L"0.12");
}

TEST(WStringFormatTest, HugeFloatsDoNotOverflowTheNumberText) {
  const std::wstring text = format(L"%f", 1e300);
  EXPECT_FALSE(text.empty());
  EXPECT_LT(text.size(), 32u);
  EXPECT_NE(text.find(L"e+300"), std::wstring::npos);
  EXPECT_FALSE(format(L"%.400f", 1.0 / 3.0).empty());
}

TEST(WStringFormatTest, PercentSignsAndUnknownConversions) {
  EXPECT_EQ(format(L"100%%"), L"100%");
  EXPECT_EQ(format(L"a%xb"), L"axb");
  // The unknown conversion consumes no argument: the next one still gets the 7.
  EXPECT_EQ(format(L"%q%i", 7), L"q7");
  EXPECT_EQ(format(L"%5%i", 8), L"8");
}

TEST(WStringFormatTest, FormatEndingInsideADirective) {
  EXPECT_EQ(format(L"abc%"), L"abc");
  EXPECT_EQ(format(L"abc%0"), L"abc");
  EXPECT_EQ(format(L"abc%05."), L"abc");
  EXPECT_EQ(format(L"abc%5.2l"), L"abc");
}

TEST(WStringFormatTest, ArgumentsAreTakenInOrder) {
  EXPECT_EQ(format(L"%s: %i of %d (%.1f)", L"cards", 3, 52, 5.77), L"cards: 3 of 52 (5.8)");
}

// Whatever the format and arguments, nothing is written past the capacity.
TEST(WStringFormatTest, NeverWritesPastTheCapacity) {
  const std::wstring longText(5000, L'w');
  for (std::size_t capacity = 1; capacity < 40; ++capacity) {
    SCOPED_TRACE(capacity);
    formatInto(capacity, L"%s", longText.c_str());
    formatInto(capacity, L"%99999999999999999999s", L"x");
    formatInto(capacity, L"%0999999i", -5);
    formatInto(capacity, L"%999999999.999999999f", -1e308);
    formatInto(capacity, L"%0100000f", 1.0);
    formatInto(capacity, longText.c_str());
    formatInto(capacity, L"%i%i%i%i%i%i", INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN);
    formatInto(capacity, L"%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%");
  }
}

TEST(WStringFormatTest, LongInputFillsExactlyToTheLimit) {
  const std::wstring longText(3000, L'z');
  const std::wstring text = formatInto(601, L"<%s>", longText.c_str());
  EXPECT_EQ(text.size(), 600u);
  EXPECT_EQ(text.front(), L'<');
  EXPECT_EQ(text.back(), L'z');
  EXPECT_EQ(formatInto(10, L"%20s", L"ab"), std::wstring(9, L' '));
  EXPECT_EQ(formatInto(4, L"%05i", 42), L"000");
}
