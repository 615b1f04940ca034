#include "game/texts.h"

#include <sstream>

#include "engine/file_system.h"
#include "engine/log.h"
#include "engine/text_utils.h"
#include "game/game_globals.h"
#include "game/unreadable_file_box.h"

namespace {

const char* const kTextsPath = "texts/texts.xml";

// Nothing is cached: the document is walked on every lookup.
pugi::xml_attribute findText(const std::string& keyUtf8) {
  if (keyUtf8.empty()) return pugi::xml_attribute();
  return gTexts.child("texts").child(keyUtf8.c_str()).attribute("text");
}

pugi::xml_attribute findText(const wchar_t* key) {
  if (key == nullptr) return pugi::xml_attribute();
  return findText(QEL::fWideToUtf8(key));
}

std::wstring replaceBars(const std::wstring& text, bool keepAsNewline) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t character : text) {
    if (character != L'|')
      out.push_back(character);
    else if (keepAsNewline)
      out.push_back(L'\n');
  }
  return out;
}

// Said once, as a broken picture is: the game goes on, its titles and buttons blank.
void sayTextsUnread(const std::string& reason) {
  QEL::fLog("loadTexts: cannot read ", kTextsPath, ": ", reason, "; every text is empty");
  sayFileUnread(std::string(kGameName) + " cannot read its texts: every title and button stays blank.", kTextsPath,
                reason);
}

}  // namespace

void loadTexts() {
  // A half-parsed document would mix texts with holes; every text is empty instead.
  std::string failure;
  if (!QEL::QC_FILE_SYSTEM::fLoadXmlFile(gTexts, kTextsPath, failure)) sayTextsUnread(failure);
}

std::string gameTitle() {
  const std::string title = getTextString("game_name");
  return !title.empty() ? title : kGameName;
}

std::wstring getText(const wchar_t* key) { return QEL::fUtf8ToWide(findText(key).as_string()); }

std::wstring getTextW(const std::wstring& key) { return getText(key.c_str()); }

std::string getTextString(const char* key) {
  if (key == nullptr) return std::string();
  return findText(std::string(key)).as_string();
}

int getTextInt(const std::wstring& key) { return findText(key.c_str()).as_int(); }

int getTextIntW(const wchar_t* key) { return findText(key).as_int(); }

float getTextFloat(const wchar_t* key) { return findText(key).as_float(); }

bool getTextBool(const wchar_t* key) { return findText(key).as_bool(); }

std::wstring replaceBarsWithNewlines(const std::wstring& text) { return replaceBars(text, true); }

std::wstring removeBars(const std::wstring& text) { return replaceBars(text, false); }

std::wstring replacePlaceholder(const std::wstring& text, const std::wstring& placeholder,
                                const std::wstring& value) {
  const std::size_t at = placeholder.empty() ? std::wstring::npos : text.find(placeholder);
  if (at == std::wstring::npos) return L"string_not_found";
  std::wstring out = text;
  out.replace(at, placeholder.size(), value);
  return out;
}

std::wstring numberToWString(int n) {
  std::wostringstream stream;
  stream << n;
  return stream.str();
}

std::string numberToString(int n) {
  std::ostringstream stream;
  stream << n;
  return stream.str();
}

std::string wideToNarrow(const std::wstring& text) {
  std::string out(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(text[i] & 0xFF);
  return out;
}
