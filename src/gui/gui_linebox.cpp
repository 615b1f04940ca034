#include "gui/gui_linebox.h"

#include "engine/globals.h"
#include "engine/texture.h"
#include "gui/gui_input.h"

namespace QEL {

QC_GUI_LINEBOX::QC_GUI_LINEBOX(int32_t id, QC_TEXTURE* background, QC_FONT* font)
    : QC_GUI_OBJECT(id), _font(font) {
  fCreate(background);
}

QC_GUI_LINEBOX::QC_GUI_LINEBOX(int32_t id, QC_TEXTURE* background, pugi::xml_node fontElement,
                               QC_TEXTURE* fontTexture)
    : QC_GUI_OBJECT(id), _font(new QC_FONT(fontElement, fontTexture, 600)), _ownsFont(true) {
  fCreate(background);
}

void QC_GUI_LINEBOX::fCreate(QC_TEXTURE* background) {
  _kind = 3;
  _background = new QC_SPRITE(background, _node);
  _background->fSetAnchor(0, 0.0f, 0.0f);
  auto* areaNode = new QS_TRANSFORM3;
  areaNode->_parent = _node;
  _textArea = new QS_HIT_SHAPE(QS_HIT_SHAPE::TYPE_RECTANGLE, areaNode, static_cast<float>(_background->_width),
                               static_cast<float>(_background->_height), 0, 0);
  _textNode = new QS_TRANSFORM3;
  _textNode->_parent = areaNode;
  _mouseX = gui_input::fMouseX();
  _mouseY = gui_input::fMouseY();
  _blinkPeriod = 0.5f;
  _caretShown = true;
  _blinkTimer = 0.5f;
  fSetMargin(4.0f);
  _maxLength = UNLIMITED;
  fSetAlign(7);
  _keepFocus = false;
  _text.clear();
  _caret = 0;
}

QC_GUI_LINEBOX::~QC_GUI_LINEBOX() {
  gui_input::fUnscribe(_background->_texture);
  QS_TRANSFORM3* areaNode = _textArea->_node;
  delete _textArea;
  delete areaNode;
  delete _background;
  delete _textNode;
  if (_ownsFont) delete _font;
}

bool QC_GUI_LINEBOX::fIsAllowed(wchar_t character) const { return _refused.find(character) == std::wstring::npos; }

bool QC_GUI_LINEBOX::fSetText(const std::wstring& text) {
  if (text.size() > _maxLength) return false;
  if (_font != nullptr && _textArea->_width < static_cast<float>(_font->fGetLineWidth(text.c_str()))) return false;
  _text = text;
  _caret = 0;
  return true;
}

void QC_GUI_LINEBOX::fClear() {
  _text.clear();
  _caret = 0;
}

void QC_GUI_LINEBOX::fSetCaret(int64_t index) {
  if (index < 0) index = 0;
  if (static_cast<uint64_t>(index) > _text.size()) index = static_cast<int64_t>(_text.size());
  _caret = static_cast<uint32_t>(index);
}

void QC_GUI_LINEBOX::fSetBlinkPeriod(float seconds) {
  _blinkPeriod = seconds;
  _blinkTimer = seconds;
  _caretShown = true;
}

void QC_GUI_LINEBOX::fResetBlink() {
  _blinkTimer = _blinkPeriod;
  _caretShown = true;
}

void QC_GUI_LINEBOX::fSetFont(QC_FONT* font) {
  if (font == _font) return;
  if (_ownsFont) delete _font;
  _ownsFont = false;
  _font = font;
  fSetAlign(_align);
}

void QC_GUI_LINEBOX::fSetMargins(float left, float top, float right, float bottom) {
  const float w = static_cast<float>(_background->_width) - left - right;
  const float h = static_cast<float>(_background->_height) - top - bottom;
  _textArea->fSetWidth(w);
  _textArea->fSetHeight(h);
  // The area is centred on its node, so the pointer test covers it evenly.
  _textArea->_node->fSetPivot(0.5f * w, 0.5f * h, 0.0f);
  _textArea->_node->fSetPosition((left - right) * 0.5f, (top - bottom) * 0.5f, 0.0f);
  fSetAlign(_align);
}

void QC_GUI_LINEBOX::fSetAlign(int32_t mode) {
  const float s = _font != nullptr ? static_cast<float>(_font->_fixedWidth / 2) : 0.0f;
  const float halfArea = 0.5f * _textArea->_width;
  switch (mode) {
    case 0: case 5: case 6:
      _textNode->fSetPosition(0.0f, 0.0f, 0.0f);
      _align = 0;
      break;
    case 1: case 3: case 7:
      _textNode->fSetPosition(-halfArea + s, 0.0f, 0.0f);
      _align = 7;
      break;
    case 2: case 4: case 8:
      _textNode->fSetPosition(halfArea + s, 0.0f, 0.0f);
      _align = 8;
      break;
    default:
      break;
  }
}

// Control characters are refused too: they draw nothing and would break the saved name. So
// is a letter the font has no glyph for: the box would hold it unseen.
bool QC_GUI_LINEBOX::typedCharacterFits(wchar_t character) const {
  if (character == 0 || character == 9 || character < 32 || character == 127) return false;
  if (_text.size() >= _maxLength) return false;
  if (!fIsAllowed(character)) return false;
  if (_font == nullptr) return true;
  if (_font->fGetGlyph(static_cast<int32_t>(character)) == nullptr) return false;
  const float needed = static_cast<float>(_font->fGetLineWidth(_text.c_str()) +
                                          2 * _font->fGetGlyphWidth(static_cast<int32_t>(character)) +
                                          2 * _font->_spacing);
  return _textArea->_width > needed;
}

// Each character typed since the last update is judged as if it had come alone, in the order
// typed, so one refused leaves the others in. True when any went in.
bool QC_GUI_LINEBOX::insertTypedCharacters() {
  using namespace gui_input;
  bool inserted = false;
  for (uint32_t i = 0; i < fTypedCount(); ++i) {
    const wchar_t typed = fTypedChar(i);
    if (fIsSystemKey(fTypedKey(i)) || !typedCharacterFits(typed)) continue;
    _text.insert(_text.begin() + _caret, typed);
    ++_caret;
    inserted = true;
  }
  return inserted;
}

QS_GUI_EVENT* QC_GUI_LINEBOX::fUpdate() {
  using namespace gui_input;
  _event.code = GUI_EVENT_NONE;
  if (fWentDown(kLeftButton)) {
    if (_textArea->fIsInside(static_cast<float>(*_mouseX), static_cast<float>(*_mouseY))) {
      _focus = true;
      _event.code = GUI_EVENT_PRESS;
    } else {
      _focus = false;
    }
  }
  if (_keepFocus) {
    _focus = true;
    _event.code = GUI_EVENT_FOCUS;
  } else if (!_focus) {
    _caretShown = false;
  }
  if (_keepFocus || _focus) {
    if (_blinkTimer <= 0.0f) {
      _blinkTimer = _blinkPeriod;
      _caretShown = !_caretShown;
    } else {
      _blinkTimer -= qcFRAME_DELTA;
    }
  }
  if (_focus) {
    const uint32_t lastKey = fLastKey();
    if (lastKey != 0) fResetBlink();
    if (fWentDown(kLeft) && _caret > 0) --_caret;
    if (fWentDown(kRight) && _caret < _text.size()) ++_caret;
    if (fWentDown(kBackspace) && _caret > 0) {
      _text.erase(_caret - 1, 1);
      --_caret;
    }
    if (fWentDown(kDelete) && _caret < _text.size()) _text.erase(_caret, 1);
    if (insertTypedCharacters()) {
      _event.code = GUI_EVENT_TEXT_CHANGED;
      return &_event;
    }
  }
  return eventOrNull();
}

void QC_GUI_LINEBOX::fDraw() {
  _background->fDrawWorld();
  if (_font == nullptr || _font->_sprite == nullptr || _font->_sprite->_node == nullptr) return;
  QS_TRANSFORM3 world = _textNode->fGetWorld(false, false, false);
  world._parent = nullptr;
  QS_TRANSFORM3* fontNode = _font->_sprite->_node;
  QS_TRANSFORM3* savedParent = fontNode->_parent;
  const int32_t savedAnchor = _font->_anchor;
  fontNode->_parent = &world;
  _font->_anchor = _align;
  const int32_t caret = _caretShown ? static_cast<int32_t>(_caret) : -1;
  _font->fDrawLine(_font->fGetAlignOffset(_text.c_str()), 0, _text, caret, 2);
  _font->_anchor = savedAnchor;
  fontNode->_parent = savedParent;
}

float QC_GUI_LINEBOX::fGetWidth() { return _background->_vertices[1].x - _background->_vertices[0].x; }
float QC_GUI_LINEBOX::fGetHeight() { return _background->_vertices[2].y - _background->_vertices[0].y; }

}  // namespace QEL
