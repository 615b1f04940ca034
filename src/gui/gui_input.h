#pragma once
// How the widgets read the input object. Without one (tools, early start-up) no key is down
// and the pointer rests at a zero that nothing moves.
#include <cstdint>

#include "engine/input.h"
#include "platform/key_codes.h"

namespace QEL {
namespace gui_input {

inline int32_t gNoPointer[2] = {0, 0};

inline int32_t* fMouseX() { return qcINPUT_INSTANCE != nullptr ? &qcINPUT_INSTANCE->_mouse._position.x : &gNoPointer[0]; }
inline int32_t* fMouseY() { return qcINPUT_INSTANCE != nullptr ? &qcINPUT_INSTANCE->_mouse._position.y : &gNoPointer[1]; }
inline uint8_t fState(uint32_t code) { return qcINPUT_INSTANCE != nullptr ? qcINPUT_INSTANCE->fGetState(code) : 0; }
inline bool fWentDown(uint32_t code) { return fState(code) == 1; }
inline bool fReleased(uint32_t code) { return fState(code) == 255; }
inline uint32_t fLastKey() { return qcINPUT_INSTANCE != nullptr ? qcINPUT_INSTANCE->fGetLastKey() : 0; }
// The characters typed since the last update, in order, and the key each came with.
inline uint32_t fTypedCount() { return qcINPUT_INSTANCE != nullptr ? qcINPUT_INSTANCE->fGetTypedCount() : 0; }
inline wchar_t fTypedChar(uint32_t index) { return index < fTypedCount() ? qcINPUT_INSTANCE->fGetTypedText()[index] : 0; }
inline uint32_t fTypedKey(uint32_t index) { return qcINPUT_INSTANCE != nullptr ? qcINPUT_INSTANCE->fGetTypedKey(index) : 0; }
inline bool fIsSystemKey(uint32_t code) { return qcINPUT_INSTANCE != nullptr && qcINPUT_INSTANCE->isSystemKey(code); }

constexpr uint32_t kLeftButton = platform::LEFT_BUTTON;
constexpr uint32_t kRightButton = platform::RIGHT_BUTTON;
constexpr uint32_t kBackspace = platform::BACKSPACE;
constexpr uint32_t kLeft = platform::LEFT_ARROW;
constexpr uint32_t kUp = platform::UP_ARROW;
constexpr uint32_t kRight = platform::RIGHT_ARROW;
constexpr uint32_t kDown = platform::DOWN_ARROW;
constexpr uint32_t kDelete = platform::DELETE;

}  // namespace gui_input
}  // namespace QEL

#include "engine/callback.h"

namespace QEL {
class QC_TEXTURE;
namespace gui_input {

// Hands a texture back to its owner's count; a null texture is not handed back.
inline void fUnscribe(QC_TEXTURE* texture) {
  if (texture != nullptr) QC_CALLBACK::fInvoke(qcON_TEXTURE_UNSCRIBED, reinterpret_cast<QT_CALLBACK_ARG>(texture));
}

}  // namespace gui_input
}  // namespace QEL
