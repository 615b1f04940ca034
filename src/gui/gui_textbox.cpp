#include "gui/gui_textbox.h"

#include <cstring>
#include <memory>

#include "engine/globals.h"
#include "engine/log.h"
#include "engine/text_utils.h"
#include "engine/texture.h"
#include "gui/gui_input.h"

namespace QEL {

namespace {
// Results of fGetText and fGetWText, shared by every text box.
std::unique_ptr<char[]> _sgNarrowText;
std::unique_ptr<wchar_t[]> _sgWideText;
}  // namespace

QC_GUI_TEXTBOX::QC_GUI_TEXTBOX(int32_t id, QC_FONT* font, QC_TEXTURE* background) : QC_GUI_OBJECT(id), _font(font) {
  if (font == nullptr) {
    fLog("\n");
    fLog("QC_GUI_TEXTBOX constructor ERROR");
    return;
  }
  create(background);
}

QC_GUI_TEXTBOX::QC_GUI_TEXTBOX(int32_t id, pugi::xml_node fontElement, QC_TEXTURE* fontTexture,
                               QC_TEXTURE* background)
    : QC_GUI_OBJECT(id), _font(new QC_FONT(fontElement, fontTexture, 600)), _ownsFont(true) {
  _kind = 2;
  create(background);
}

void QC_GUI_TEXTBOX::create(QC_TEXTURE* background) {
  _text.clear();
  _image = new QC_SPRITE(background, _node);
  _image->fSetAnchor(0, 0.0f, 0.0f);
  _width = _image->_width;
  _height = _image->_height;
  _marginDivisor = 20;
  _charWidth = _font->fGetLineHeight();
  _spacing = 0;
  computeCapacity();
  _hitShape = new QS_HIT_SHAPE(QS_HIT_SHAPE::TYPE_RECTANGLE, _node, static_cast<float>(_width),
                               static_cast<float>(_height), 0, 0);
  _mouseX = gui_input::fMouseX();
  _mouseY = gui_input::fMouseY();
  _caretShown = true;
  _caret = 0;
  _blinkClock = 0.0f;
}

QC_GUI_TEXTBOX::~QC_GUI_TEXTBOX() {
  delete _hitShape;
  delete _image;
  if (_ownsFont) delete _font;
}

// A zero margin divisor or cell width would divide by zero: no margin, no room.
void QC_GUI_TEXTBOX::computeCapacity() {
  const int32_t margin = _marginDivisor != 0 ? _width / _marginDivisor : 0;
  const int32_t cell = _charWidth + _spacing;
  _capacity = cell > 0 ? (_width - 2 * margin) / cell : 0;
  if (_capacity < 0) _capacity = 0;
}

void QC_GUI_TEXTBOX::fSetText(const char* text) {
  _text = text != nullptr ? fUtf8ToWide(text) : std::wstring();
  if (_caret > static_cast<int32_t>(_text.size())) _caret = static_cast<int32_t>(_text.size());
}

const char* QC_GUI_TEXTBOX::fGetText() {
  _sgNarrowText.reset();
  if (_text.empty()) return nullptr;
  const std::string utf8 = fWideToUtf8(_text);
  _sgNarrowText = std::make_unique<char[]>(utf8.size() + 1);
  std::memcpy(_sgNarrowText.get(), utf8.c_str(), utf8.size() + 1);
  return _sgNarrowText.get();
}

const wchar_t* QC_GUI_TEXTBOX::fGetWText() {
  _sgWideText.reset();
  if (_text.empty()) return nullptr;
  _sgWideText = std::make_unique<wchar_t[]>(_text.size() + 1);
  std::wmemcpy(_sgWideText.get(), _text.c_str(), _text.size() + 1);
  return _sgWideText.get();
}

void QC_GUI_TEXTBOX::fClear() {
  _text.clear();
  _caret = 0;
}

void QC_GUI_TEXTBOX::fSetCaret(int32_t caret) {
  if (caret < 0) caret = 0;
  if (caret > static_cast<int32_t>(_text.size())) caret = static_cast<int32_t>(_text.size());
  _caret = caret;
}

int32_t QC_GUI_TEXTBOX::fAppendChar(wchar_t character) {
  if (static_cast<int32_t>(_text.size()) >= _capacity) return 1;
  _text.push_back(character);
  return 0;
}

int32_t QC_GUI_TEXTBOX::fInsertChar(wchar_t character, int32_t index) {
  if (static_cast<int32_t>(_text.size()) >= _capacity) return 1;
  if (index < 0) index = 0;
  if (index > static_cast<int32_t>(_text.size())) index = static_cast<int32_t>(_text.size());
  _text.insert(_text.begin() + index, character);
  return 0;
}

int32_t QC_GUI_TEXTBOX::fDeleteChar(bool backwards) {
  if (backwards) {
    if (_caret <= 0 || _text.empty()) return 1;
    --_caret;
    _text.erase(static_cast<size_t>(_caret), 1);
    return 0;
  }
  if (_text.empty() || _caret >= static_cast<int32_t>(_text.size())) return 1;
  _text.erase(static_cast<size_t>(_caret), 1);
  return 0;
}

void QC_GUI_TEXTBOX::fTrimRight() {
  while (!_text.empty() && _text.back() == L' ') _text.pop_back();
  if (_caret > static_cast<int32_t>(_text.size())) _caret = static_cast<int32_t>(_text.size());
}

void QC_GUI_TEXTBOX::fSetFont(QC_FONT* font) {
  if (font == nullptr) return;  // the box cannot measure without a font
  if (font != _font && _ownsFont) delete _font;
  if (font != _font) _ownsFont = false;
  _font = font;
  _charWidth = font->fGetLineHeight();
  computeCapacity();
}

int32_t QC_GUI_TEXTBOX::fSetSpacing(int32_t spacing) {
  _spacing = spacing;
  computeCapacity();
  return _capacity;
}

void QC_GUI_TEXTBOX::fSetFontScale(float scale) {
  if (_font != nullptr && _font->_sprite != nullptr) _font->_sprite->fSetScale(scale, scale, scale);
}

int32_t QC_GUI_TEXTBOX::fLoadFont(pugi::xml_node fontElement) {
  int32_t result = -1;
  if (_font != nullptr) {
    QC_TEXTURE* page = _font->_sprite != nullptr ? _font->_sprite->_texture : nullptr;
    result = _font->fLoadFromXml(fontElement, page);
  }
  if (result != 1) {
    fLog("\n");
    fLog("Error loading font.");
  }
  return result;
}

void QC_GUI_TEXTBOX::fSetSize(float w, float h) {
  if (_image == nullptr) return;
  if (static_cast<int32_t>(w) != 0) _width = static_cast<int32_t>(w);
  if (static_cast<int32_t>(h) != 0) _height = static_cast<int32_t>(h);
  computeCapacity();
  _image->fSetSize(_width, _height);
  _image->fSetAnchor(0, 0.0f, 0.0f);
}

QS_GUI_EVENT* QC_GUI_TEXTBOX::fUpdate() {
  using namespace gui_input;
  _event.code = GUI_EVENT_NONE;
  if (_image == nullptr) return nullptr;
  _blinkClock += qcFRAME_DELTA;
  if (_blinkClock < 0.5f) {
    _caretShown = true;
  } else if (_blinkClock < 1.0f) {
    _caretShown = false;
  } else {
    _blinkClock = 0.0f;
  }

  const int32_t mx = *_mouseX;
  const int32_t my = *_mouseY;
  if (_hitShape->fIsInside(static_cast<float>(mx), static_cast<float>(my))) {
    if (fWentDown(kLeftButton)) {
      _focus = true;
      _event.code = GUI_EVENT_PRESS;
      const int32_t worldX = static_cast<int32_t>(_node->fGetWorld(false, false, false)._position.x);
      const int32_t cell = _charWidth + _spacing;
      int32_t caret = cell > 0 ? (_width / 2 + mx - worldX) / cell : 0;
      if (caret >= static_cast<int32_t>(_text.size())) caret = static_cast<int32_t>(_text.size());
      if (caret < 0) caret = 0;
      _caret = caret;
      return &_event;
    }
    if (fReleased(kLeftButton)) {
      if (!_focus) return nullptr;
      _event.code = GUI_EVENT_CLICK;
      return &_event;
    }
  } else if (fWentDown(kLeftButton)) {
    _focus = false;
    return nullptr;
  }
  if (!_focus) return nullptr;

  const int32_t length = static_cast<int32_t>(_text.size());
  if (fWentDown(kRight) && _caret < length && _caret < _capacity) ++_caret;
  if (fWentDown(kLeft) && _caret > 0) --_caret;
  if (fWentDown(kBackspace)) fDeleteChar(true);
  if (fWentDown(kDelete)) fDeleteChar(false);
  if (!fWentDown(kLeftButton) && !fWentDown(kRightButton)) insertTypedCharacters();
  return nullptr;
}

// Every character typed since the last update goes in, in the order typed, while there is
// room; one that came with no key or with a system key is no typing.
void QC_GUI_TEXTBOX::insertTypedCharacters() {
  using namespace gui_input;
  for (uint32_t i = 0; i < fTypedCount() && static_cast<int32_t>(_text.size()) < _capacity; ++i) {
    const uint32_t key = fTypedKey(i);
    if (key == 0 || fIsSystemKey(key)) continue;
    _text.insert(_text.begin() + _caret, fTypedChar(i));
    ++_caret;
  }
}

void QC_GUI_TEXTBOX::fDraw() {
  if (_image == nullptr) return;
  _image->fDrawWorld();
  if (_font == nullptr) return;
  const QS_TRANSFORM3 world = _node->fGetWorld(false, false, false);
  const float start = world._position.x - static_cast<float>(_width / 2 - (_marginDivisor != 0 ? _width / _marginDivisor : 0));
  const int32_t y = static_cast<int32_t>(world._position.y);
  const int32_t savedAnchor = _font->_anchor;
  _font->_anchor = 1;
  // Set as the font sets and measures text; the box's own spacing comes on top.
  _font->fDrawLine(static_cast<int32_t>(start), y, _text, _focus && _caretShown ? _caret : -1, 5, _spacing);
  _font->_anchor = savedAnchor;
}

float QC_GUI_TEXTBOX::fGetWidth() {
  return _image != nullptr ? _image->_vertices[1].x - _image->_vertices[0].x : 0.0f;
}

float QC_GUI_TEXTBOX::fGetHeight() {
  return _image != nullptr ? _image->_vertices[2].y - _image->_vertices[0].y : 0.0f;
}

}  // namespace QEL
