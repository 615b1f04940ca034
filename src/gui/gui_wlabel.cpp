#include "gui/gui_wlabel.h"

namespace QEL {

QC_GUI_WLABEL::QC_GUI_WLABEL(int32_t id, QC_FONT* font, const std::wstring& text)
    : QC_GUI_OBJECT(id), _text(text), _font(font) {}

QC_GUI_WLABEL::QC_GUI_WLABEL(int32_t id, pugi::xml_node fontElement, QC_TEXTURE* fontTexture,
                             const std::wstring& text)
    : QC_GUI_OBJECT(id), _text(text), _font(new QC_FONT(fontElement, fontTexture, 600)), _ownsFont(true) {}

QC_GUI_WLABEL::~QC_GUI_WLABEL() {
  if (_ownsFont) delete _font;
}

void QC_GUI_WLABEL::fSetFont(QC_FONT* font) {
  if (font == _font) return;
  if (_ownsFont) delete _font;
  _ownsFont = false;
  _font = font;
}

void QC_GUI_WLABEL::fDraw() {
  if (_font == nullptr) return;
  _font->fDrawAnchored(_node, _anchor, _text.c_str());
}

float QC_GUI_WLABEL::fGetWidth() {
  return _font != nullptr ? static_cast<float>(_font->fGetLineWidth(_text.c_str())) : 0.0f;
}

float QC_GUI_WLABEL::fGetHeight() { return _font != nullptr ? static_cast<float>(_font->fGetLineHeight()) : 0.0f; }

}  // namespace QEL
