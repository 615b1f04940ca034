#pragma once
// The text widget of every scene: a wide text drawn with a bitmap font at the widget's node.
// It takes no input.
#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "gui/gui_object.h"
#include "primitives/font.h"

namespace QEL {

class QC_TEXTURE;

class QC_GUI_WLABEL : public QC_GUI_OBJECT {
 public:
  // Shared font: the label never destroys it.
  QC_GUI_WLABEL(int32_t id, QC_FONT* font, const std::wstring& text);
  // Builds a font of its own, destroyed with the label.
  QC_GUI_WLABEL(int32_t id, pugi::xml_node fontElement, QC_TEXTURE* fontTexture, const std::wstring& text);
  ~QC_GUI_WLABEL() override;

  void fSetText(const std::wstring& text) { _text = text; }
  std::wstring fGetText() const { return _text; }
  // A font the label built itself is destroyed when another replaces it.
  void fSetFont(QC_FONT* font);
  QC_FONT* fGetFont() const { return _font; }
  void fSetAnchor(int32_t mode) { _anchor = mode; }
  int32_t fGetAnchor() const { return _anchor; }

  QS_GUI_EVENT* fUpdate() override { return nullptr; }
  void fDraw() override;
  float fGetWidth() override;
  float fGetHeight() override;

 private:
  std::wstring _text;
  QC_FONT* _font = nullptr;
  int32_t _anchor = 0;
  bool _ownsFont = false;
};

}  // namespace QEL
