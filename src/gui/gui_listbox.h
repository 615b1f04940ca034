#pragma once
// A list of narrow text rows on a panel, with a 12-frame slider as scroll bar whose value is
// the index of the first visible row.
#include <cstdint>
#include <vector>

#include <pugixml.hpp>

#include "gui/gui_object.h"
#include "gui/gui_panel.h"
#include "gui/gui_slider.h"
#include "primitives/font.h"
#include "primitives/hit_shape.h"
#include "primitives/sprite.h"

namespace QEL {

class QC_TEXTURE;

class QC_GUI_LISTBOX : public QC_GUI_OBJECT {
 public:
  // The list takes the panel texture's size; the font is built from the description.
  QC_GUI_LISTBOX(int32_t id, QC_TEXTURE* panelTexture, QC_TEXTURE* sliderStrip, QC_TEXTURE* selectionTexture,
                 pugi::xml_node fontElement, QC_TEXTURE* fontTexture);
  // Hands the selection and font textures back.
  ~QC_GUI_LISTBOX() override;

  // Items stay the caller's and must outlive the list.
  void fAddItem(const char* item);
  void fRemoveLast();
  void fClearItems();
  // An empty string for an index out of the list.
  const char* fGetItem(int32_t index) const;
  const char* fGetSelected() const { return fGetItem(_selected); }
  int32_t fGetSelectedIndex() const { return _selected; }
  int32_t fGetCount() const { return static_cast<int32_t>(_items.size()); }
  void fSetVisibleRows(int32_t rows);
  int32_t fGetVisibleRows() const { return _visibleRows; }
  void fUpdateRange();
  void fSetFontColor(uint32_t argb);
  void fSetTextOffsetX(int32_t x) { _textOffsetX = x; }
  void fSetTextOffsetY(int32_t y) { _textOffsetY = y; }
  void fPlaceSlider(float gap);
  QC_GUI_PANEL* fGetPanel() const { return _panel; }
  QC_GUI_SLIDER12* fGetSlider() const { return _slider; }
  int32_t fGetRowHeight() const { return _rowHeight; }

  QS_GUI_EVENT* fUpdate() override;
  void fDraw() override;
  void fSetSize(float w, float h) override;

 private:
  QS_HIT_SHAPE* _hitShape = nullptr;
  int32_t* _mouseX = nullptr;
  int32_t* _mouseY = nullptr;
  bool _pointerOver = false;
  int32_t _visibleRows = 3;
  int32_t _selected = 0;
  int32_t _marginDivisor = 20;
  int32_t _rowHeight = 0;
  QC_SPRITE* _selection = nullptr;
  QS_TRANSFORM3* _selectionNode = nullptr;
  QC_GUI_PANEL* _panel = nullptr;
  QC_GUI_SLIDER12* _slider = nullptr;
  QC_FONT* _font = nullptr;
  std::vector<const char*> _items;
  int32_t _textOffsetX = 0;
  int32_t _textOffsetY = 0;
};

}  // namespace QEL
