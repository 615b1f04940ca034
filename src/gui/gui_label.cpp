#include "gui/gui_label.h"

#include <string>

#include "engine/log.h"
#include "gui/gui_input.h"

namespace QEL {

QC_GUI_LABEL::QC_GUI_LABEL(int32_t id, QC_FONT* font, const char* text) : QC_GUI_OBJECT(id), _text(text), _font(font) {
  _kind = 7;
}

QC_GUI_LABEL::QC_GUI_LABEL(int32_t id, pugi::xml_node fontElement, QC_TEXTURE* fontTexture, const char* text)
    : QC_GUI_OBJECT(id), _text(text), _font(new QC_FONT(fontElement, fontTexture, 600)), _ownsFont(true) {
  _kind = 7;
  _font->_anchor = 0;
}

QC_GUI_LABEL::~QC_GUI_LABEL() {
  if (_font == nullptr) return;
  // A shared font must not keep a parent that goes with this label.
  if (_font->_sprite != nullptr && _font->_sprite->_node != nullptr && _font->_sprite->_node->_parent == _node) {
    _font->_sprite->_node->_parent = nullptr;
  }
  if (!_ownsFont) return;
  if (_font->_sprite != nullptr) gui_input::fUnscribe(_font->_sprite->_texture);
  delete _font;
}

void QC_GUI_LABEL::fSetFont(QC_FONT* font) {
  if (font != _font && _ownsFont) {
    if (_font->_sprite != nullptr) gui_input::fUnscribe(_font->_sprite->_texture);
    delete _font;
  }
  if (font != _font) _ownsFont = false;
  _font = font;
  if (font == nullptr) return;
  if (font->_sprite != nullptr && font->_sprite->_node != nullptr) font->_sprite->_node->_parent = _node;
  font->_anchor = 0;
}

void QC_GUI_LABEL::fSetFontAnchor(int32_t mode) {
  if (_font != nullptr) _font->_anchor = mode;
}

void QC_GUI_LABEL::fSetFontScale(float scale) {
  if (_font != nullptr && _font->_sprite != nullptr) _font->_sprite->fSetScale(scale, scale, scale);
}

int32_t QC_GUI_LABEL::fLoadFont(pugi::xml_node fontElement, QC_TEXTURE* texture) {
  const int32_t result = _font != nullptr ? _font->fLoadFromXml(fontElement, texture) : -1;
  if (result == 1) {
    if (_font->_sprite != nullptr && _font->_sprite->_node != nullptr) _font->_sprite->_node->_parent = _node;
  } else {
    fLog("\n");
    fLog("Error loading font.");
  }
  return result;
}

// The text is its own format with nothing to fill in: "%%" prints one '%', any other '%'
// prints as it stands.
std::string fPlainFormat(const char* text) {
  std::string out;
  for (const char* c = text; *c != '\0'; ++c) {
    out.push_back(*c);
    if (c[0] == '%' && c[1] == '%') ++c;
  }
  return out;
}

// Printed at the world position, so the font's own node must not add it a second time.
void QC_GUI_LABEL::fDraw() {
  if (_font == nullptr || _text == nullptr || _font->_sprite == nullptr || _font->_sprite->_node == nullptr) return;
  const QS_TRANSFORM3 world = _node->fGetWorld(false, false, false);
  QS_TRANSFORM3* fontNode = _font->_sprite->_node;
  QS_TRANSFORM3* savedParent = fontNode->_parent;
  fontNode->_parent = nullptr;
  _font->fPrint(static_cast<int32_t>(world._position.x), static_cast<int32_t>(world._position.y), "%s",
                fPlainFormat(_text).c_str());
  fontNode->_parent = savedParent;
}

}  // namespace QEL
