#pragma once
// A one-line editor for wide text in a bitmap font over a background image: blinking caret,
// caret keys, Backspace and Delete, a maximum length, characters that typing refuses (with
// those the font cannot draw), and a text area that the text may not outgrow.
#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "gui/gui_object.h"
#include "primitives/font.h"
#include "primitives/hit_shape.h"
#include "primitives/sprite.h"

namespace QEL {

class QC_TEXTURE;

class QC_GUI_LINEBOX : public QC_GUI_OBJECT {
 public:
  static constexpr uint32_t UNLIMITED = 2147483647u;

  QC_GUI_LINEBOX(int32_t id, QC_TEXTURE* background, QC_FONT* font);
  // Builds a font of its own, destroyed with the box.
  QC_GUI_LINEBOX(int32_t id, QC_TEXTURE* background, pugi::xml_node fontElement, QC_TEXTURE* fontTexture);
  // Hands the background texture back.
  ~QC_GUI_LINEBOX() override;

  // 0 means unlimited; the text already held is not cut.
  void fSetMaxLength(uint32_t length) { _maxLength = length == 0 ? UNLIMITED : length; }
  uint32_t fGetMaxLength() const { return _maxLength; }
  void fSetForbiddenChars(const std::wstring& characters) { _refused = characters; }
  const std::wstring& fGetForbiddenChars() const { return _refused; }
  bool fIsAllowed(wchar_t character) const;
  // Refused (nothing changes) when longer than the maximum or wider than the text area.
  bool fSetText(const std::wstring& text);
  std::wstring fGetText() const { return _text; }
  bool fIsEmpty() const { return _text.empty(); }
  void fClear();
  void fSetCaret(int64_t index);
  uint32_t fGetCaret() const { return _caret; }
  void fSetKeepFocus(bool keep) { _keepFocus = keep; }
  bool fGetKeepFocus() const { return _keepFocus; }
  void fSetBlinkPeriod(float seconds);
  void fResetBlink();
  void fSetCaretVisible(bool shown) { _caretShown = shown; }
  bool fIsCaretVisible() const { return _caretShown; }
  // A font the box built itself is destroyed when another replaces it.
  void fSetFont(QC_FONT* font);
  QC_FONT* fGetFont() const { return _font; }
  void fSetMargins(float left, float top, float right, float bottom);
  void fSetMargin(float margin) { fSetMargins(margin, margin, margin, margin); }
  // Anchor modes 0-8 fold to 0 (centred), 7 (left) or 8 (right); others change nothing.
  void fSetAlign(int32_t mode);
  int32_t fGetAlign() const { return _align; }
  QS_HIT_SHAPE* fGetTextArea() const { return _textArea; }
  QS_TRANSFORM3* fGetTextNode() const { return _textNode; }

  QS_GUI_EVENT* fUpdate() override;
  void fDraw() override;
  float fGetWidth() override;
  float fGetHeight() override;

 private:
  void fCreate(QC_TEXTURE* background);
  bool typedCharacterFits(wchar_t character) const;
  bool insertTypedCharacters();

  std::wstring _text;
  std::wstring _refused;
  QS_HIT_SHAPE* _textArea = nullptr;
  QC_FONT* _font = nullptr;
  QC_SPRITE* _background = nullptr;
  int32_t* _mouseX = nullptr;
  int32_t* _mouseY = nullptr;
  QS_TRANSFORM3* _textNode = nullptr;
  int32_t _align = 7;
  uint32_t _caret = 0;
  uint32_t _maxLength = UNLIMITED;
  bool _caretShown = true;
  bool _keepFocus = false;
  float _blinkPeriod = 0.5f;
  float _blinkTimer = 0.5f;
  bool _ownsFont = false;
};

}  // namespace QEL
