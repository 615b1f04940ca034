#pragma once
// A one-line edit field for short wide texts on a background image. Its length is limited by
// a character count worked out from the image's width: every character counts as wide as the
// font's line height.
#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "gui/gui_object.h"
#include "primitives/font.h"
#include "primitives/hit_shape.h"
#include "primitives/sprite.h"

namespace QEL {

class QC_TEXTURE;

class QC_GUI_TEXTBOX : public QC_GUI_OBJECT {
 public:
  // A null font logs an error and leaves the box without image: it then ignores updates and
  // draws nothing.
  QC_GUI_TEXTBOX(int32_t id, QC_FONT* font, QC_TEXTURE* background);
  // Builds a font of its own, destroyed with the box.
  QC_GUI_TEXTBOX(int32_t id, pugi::xml_node fontElement, QC_TEXTURE* fontTexture, QC_TEXTURE* background);
  ~QC_GUI_TEXTBOX() override;

  // The text is read as UTF-8 (plain ASCII numbers are what the editor passes).
  void fSetText(const char* text);
  // UTF-8 of the text in a buffer shared by every text box, valid until the next call on any
  // of them; null for an empty text.
  const char* fGetText();
  // A copy shared the same way; null for an empty text.
  const wchar_t* fGetWText();
  const std::wstring& fGetWideText() const { return _text; }
  void fClear();
  // 0, or 1 without change when the text is full.
  int32_t fAppendChar(wchar_t character);
  int32_t fInsertChar(wchar_t character, int32_t index);
  // 0 when a character was removed, else 1.
  int32_t fDeleteChar(bool backwards);
  void fTrimRight();
  void fSetFont(QC_FONT* font);
  QC_FONT* fGetFont() const { return _font; }
  int32_t fSetSpacing(int32_t spacing);
  void fSetMarginDivisor(int32_t divisor) { _marginDivisor = divisor; }
  void fSetFontScale(float scale);
  // 1 when the font took the description.
  int32_t fLoadFont(pugi::xml_node fontElement);
  int32_t fGetCapacity() const { return _capacity; }
  int32_t fGetCaret() const { return _caret; }
  void fSetCaret(int32_t caret);
  bool fIsCaretShown() const { return _caretShown; }

  QS_GUI_EVENT* fUpdate() override;
  void fDraw() override;
  void fSetSize(float w, float h) override;
  float fGetWidth() override;
  float fGetHeight() override;

 private:
  void create(QC_TEXTURE* background);
  void computeCapacity();
  void insertTypedCharacters();

  std::wstring _text;
  QC_FONT* _font = nullptr;
  QC_SPRITE* _image = nullptr;
  QS_HIT_SHAPE* _hitShape = nullptr;
  int32_t _width = 0;
  int32_t _height = 0;
  int32_t _charWidth = 0;
  int32_t _spacing = 0;
  int32_t _capacity = 0;
  int32_t _marginDivisor = 20;
  int32_t* _mouseX = nullptr;
  int32_t* _mouseY = nullptr;
  bool _caretShown = true;
  int32_t _caret = 0;
  float _blinkClock = 0.0f;
  bool _ownsFont = false;
};

}  // namespace QEL
