#pragma once
// Every player-visible text and several tuning numbers, looked up by key in texts/texts.xml
// (element "texts", a child named by the key, its attribute "text"). A missing key gives the
// empty value of its type. A '|' in a text marks a line break.
#include <string>

// Loads "texts/texts.xml" (relative to the current directory, the Resources folder) into
// gTexts. A missing or broken file is logged and leaves every text empty.
void loadTexts();

std::wstring getText(const wchar_t* key);
std::wstring getTextW(const std::wstring& key);
std::string getTextString(const char* key);  // the UTF-8 bytes as they stand
// The game's own name: its save folder's, and its title where no text can be read.
constexpr const char* kGameName = "Pindrake";
// The game's name for its window and its boxes: the text "game_name", or kGameName when the
// texts cannot be read.
std::string gameTitle();
int getTextInt(const std::wstring& key);
int getTextIntW(const wchar_t* key);
float getTextFloat(const wchar_t* key);
bool getTextBool(const wchar_t* key);

std::wstring replaceBarsWithNewlines(const std::wstring& text);
std::wstring removeBars(const std::wstring& text);

// A text's placeholder (such as L"%number") replaced by the value; the text
// "string_not_found" when the text lacks the placeholder.
std::wstring replacePlaceholder(const std::wstring& text, const std::wstring& placeholder,
                                const std::wstring& value);

std::wstring numberToWString(int n);
std::string numberToString(int n);
// The low byte of each character; no code-page conversion.
std::string wideToNarrow(const std::wstring& text);
