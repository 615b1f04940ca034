#pragma once
// A narrow text, owned by the caller, printed with a bitmap font at the widget's node.
#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "gui/gui_object.h"
#include "primitives/font.h"

namespace QEL {

class QC_TEXTURE;

// A caller's text used as a format without arguments, made plain: "%%" becomes '%'.
std::string fPlainFormat(const char* text);

class QC_GUI_LABEL : public QC_GUI_OBJECT {
 public:
  // Shared font; the text is not copied.
  QC_GUI_LABEL(int32_t id, QC_FONT* font, const char* text);
  // Builds a font of its own from the description and the page texture.
  QC_GUI_LABEL(int32_t id, pugi::xml_node fontElement, QC_TEXTURE* fontTexture, const char* text);
  // A label that built its font hands the page texture back and destroys the font.
  ~QC_GUI_LABEL() override;

  void fSetText(const char* text) { _text = text; }
  const char* fGetText() const { return _text; }
  void fSetFont(QC_FONT* font);
  QC_FONT* fGetFont() const { return _font; }
  void fSetFontAnchor(int32_t mode);
  void fSetFontScale(float scale);
  // 1 when the font took the description.
  int32_t fLoadFont(pugi::xml_node fontElement, QC_TEXTURE* texture);

  QS_GUI_EVENT* fUpdate() override { return nullptr; }
  void fDraw() override;

 private:
  const char* _text = nullptr;
  QC_FONT* _font = nullptr;
  bool _ownsFont = false;
};

}  // namespace QEL
