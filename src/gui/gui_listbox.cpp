#include "gui/gui_listbox.h"

#include <algorithm>
#include <cmath>

#include "engine/texture.h"
#include "gui/gui_input.h"
#include "gui/gui_label.h"

namespace QEL {

QC_GUI_LISTBOX::QC_GUI_LISTBOX(int32_t id, QC_TEXTURE* panelTexture, QC_TEXTURE* sliderStrip,
                               QC_TEXTURE* selectionTexture, pugi::xml_node fontElement, QC_TEXTURE* fontTexture)
    : QC_GUI_OBJECT(id) {
  _panel = new QC_GUI_PANEL(1, panelTexture);
  _panel->fGetTransform()->_parent = _node;
  _panel->fSetDraggable(false);  // the list does not move with the pointer
  const float w = _panel->fGetWidth();
  const float h = _panel->fGetHeight();
  QS_SLIDER_PARAMS params;
  params.startX = 0.0f;
  params.startY = -0.5f * h;
  params.endX = 0.0f;
  params.endY = 0.5f * h;
  params.thickness = w / 20.0f;
  params.radius = w / 20.0f;
  params.factor = 1.0f;
  params.minimum = 0.0f;
  params.maximum = 0.0f;
  params.step = 1.0f;
  params.value = 0.0f;
  _slider = new QC_GUI_SLIDER12(2, sliderStrip, params);
  _slider->fGetTransform()->fSetPosition(0.0f, 0.0f, 0.0f);  // the ends are placed from the list's centre
  _slider->fGetTransform()->_parent = _node;
  _selectionNode = new QS_TRANSFORM3;
  _selectionNode->_parent = _node;
  _selection = new QC_SPRITE(selectionTexture, _selectionNode);
  _font = new QC_FONT(fontElement, fontTexture, 600);
  _font->fSetColor(0xFF000000u);
  _hitShape = new QS_HIT_SHAPE(QS_HIT_SHAPE::TYPE_RECTANGLE, _node, w, h, 0, 0);
  _mouseX = gui_input::fMouseX();
  _mouseY = gui_input::fMouseY();
  fSetSize(w, h);
}

QC_GUI_LISTBOX::~QC_GUI_LISTBOX() {
  gui_input::fUnscribe(_selection->_texture);
  if (_font->_sprite != nullptr) gui_input::fUnscribe(_font->_sprite->_texture);
  delete _font;
  delete _selection;
  delete _selectionNode;
  delete _slider;
  delete _panel;
  delete _hitShape;
}

void QC_GUI_LISTBOX::fAddItem(const char* item) {
  _items.push_back(item != nullptr ? item : "");
  fUpdateRange();
}

void QC_GUI_LISTBOX::fRemoveLast() {
  if (_items.empty()) return;
  _items.pop_back();
  _selected = std::max(0, std::min(_selected, fGetCount() - 1));
  fUpdateRange();
}

void QC_GUI_LISTBOX::fClearItems() {
  _items.clear();
  _selected = 0;
  fUpdateRange();
}

const char* QC_GUI_LISTBOX::fGetItem(int32_t index) const {
  if (index < 0 || index >= fGetCount()) return "";
  return _items[static_cast<size_t>(index)];
}

void QC_GUI_LISTBOX::fSetVisibleRows(int32_t rows) {
  if (rows < 1) rows = 1;  // a list shows at least one row
  _visibleRows = rows;
  _rowHeight = static_cast<int32_t>(_panel->fGetHeight()) / rows;
  fUpdateRange();
}

void QC_GUI_LISTBOX::fUpdateRange() {
  const int32_t count = fGetCount();
  _slider->fSetRange(0.0f, count > _visibleRows ? static_cast<float>(count - _visibleRows) : 0.0f);
}

void QC_GUI_LISTBOX::fSetFontColor(uint32_t argb) { _font->fSetColor(argb); }

void QC_GUI_LISTBOX::fPlaceSlider(float gap) {
  QS_TRANSFORM3* node = _slider->fGetTransform();
  node->fSetPosition(0.5f * _panel->fGetWidth() + 0.5f * _slider->fGetWidth() + gap, node->_position.y, node->_position.z);
}

void QC_GUI_LISTBOX::fSetSize(float w, float h) {
  _hitShape->fSetWidth(w);
  _hitShape->fSetHeight(h);
  _node->fSetPivot(0.5f * w, 0.5f * h, 0.0f);
  _rowHeight = static_cast<int32_t>(h) / _visibleRows;
  _panel->fSetSize(w, h);
  const float r = w / 20.0f;
  _slider->fSetRadius(r);
  _slider->fSetEnds(w / 2.0f - r, -h / 2.0f + h / 20.0f, w / 2.0f - r, h / 2.0f - h / 20.0f);
  _selection->fSetSize(static_cast<int32_t>(w), _rowHeight);
  _selection->fSetAnchor(0, 0.0f, 0.0f);
  fUpdateRange();
}

QS_GUI_EVENT* QC_GUI_LISTBOX::fUpdate() {
  using namespace gui_input;
  _event.code = GUI_EVENT_NONE;
  _slider->fUpdate();
  const float mx = static_cast<float>(*_mouseX);
  const float my = static_cast<float>(*_mouseY);
  const int32_t count = fGetCount();
  if (_hitShape->fIsInside(mx, my) || _slider->fGetThumbShape()->fIsInside(mx, my)) {
    if (!_pointerOver) {
      _event.code = GUI_EVENT_ENTER;
      _focus = true;
      _pointerOver = true;
    }
    _panel->fUpdate();
    if (fWentDown(kLeftButton)) {
      _focus = true;
      _event.code = GUI_EVENT_PRESS;
      if (_slider->fGetEventCode() == GUI_EVENT_NONE && count > 0 && _rowHeight > 0) {
        const float worldY = _node->fGetWorld(false, false, false)._position.y;
        const float row = (my - worldY + _panel->fGetHeight() * 0.5f) / static_cast<float>(_rowHeight) +
                          _slider->fGetValue();
        // The row under the pointer: rounding would take the next row from a row's lower half.
        _selected = std::max(0, std::min(static_cast<int32_t>(std::floor(row)), count - 1));
      }
      return &_event;
    }
  } else {
    if (_pointerOver) {
      _event.code = GUI_EVENT_LEAVE;
      _focus = false;
      _pointerOver = false;
    }
    if (fWentDown(kLeftButton)) _focus = false;
  }
  if (_focus) {
    const int32_t last = std::max(0, count - 1);
    if (fWentDown(kDown)) {
      _selected = std::min(_selected + 1, last);
      const float shown = static_cast<float>(_selected) - _slider->fGetValue();
      if (shown >= static_cast<float>(_visibleRows)) {
        _slider->fStep(1);
      } else if (shown < 0.0f) {
        _slider->fStep(static_cast<int32_t>(std::lround(shown)));
      }
    }
    if (fWentDown(kUp)) {
      _selected = std::max(_selected - 1, 0);
      const float shown = static_cast<float>(_selected) - _slider->fGetValue();
      if (shown < 0.0f) {
        _slider->fStep(-1);
      } else if (shown > static_cast<float>(_visibleRows - 1)) {
        _slider->fStep(static_cast<int32_t>(std::lround(shown)));
      }
    }
  }
  if (fReleased(kLeftButton) && _focus && _pointerOver) {
    _event.code = GUI_EVENT_CLICK;
    return &_event;
  }
  return nullptr;
}

void QC_GUI_LISTBOX::fDraw() {
  _panel->fDraw();
  const int32_t count = fGetCount();
  const float value = _slider->fGetValue();
  const float panelW = _panel->fGetWidth();
  const float panelH = _panel->fGetHeight();
  const float rowH = static_cast<float>(_rowHeight);
  const float shown = static_cast<float>(_selected) - value;
  if (count > 0 && shown >= 0.0f && shown <= static_cast<float>(_visibleRows - 1)) {
    _selectionNode->fSetPosition(0.0f, -panelH * 0.5f + shown * rowH + rowH / 2.0f, 0.0f);
    _selection->fDrawWorld();
  }
  const QS_VECTOR2 panelWorld = _panel->fGetTransform()->fGetWorld(false, false, false).fGetPosition();
  const int32_t first = static_cast<int32_t>(std::lround(value));
  const int32_t end = std::min(static_cast<int32_t>(std::lround(value + static_cast<float>(_visibleRows))), count);
  const float lineH = static_cast<float>(_font->fGetLineHeight());
  for (int32_t row = std::max(first, 0); row < end; ++row) {
    const float x = panelWorld.x - (panelW * 0.5f - panelW / 20.0f) + static_cast<float>(_textOffsetX);
    const float y = (static_cast<float>(row) - value) * rowH + panelWorld.y - (panelH * 0.5f - rowH / 2.0f + lineH / 2.0f) +
                    static_cast<float>(_textOffsetY);
    _font->fPrint(static_cast<int32_t>(x), static_cast<int32_t>(y), "%s", fPlainFormat(_items[static_cast<size_t>(row)]).c_str());
  }
  _slider->fDraw();
}

}  // namespace QEL
