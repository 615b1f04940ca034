// Pictures sharing device textures, so that draws from pictures drawn one after another
// batch into one device draw call. (A batch also samples a device texture for each of the
// device's stages, render_frame.cpp: pictures sharing one take one stage.) A picture loaded
// from an image settles its place with its first batch, and keeps it:
// - a large picture whose first batch is followed by a small picture drawn the same way
//   gets a device texture with a one-texel border (its edges repeated) and room below it: a
//   host;
// - a small picture drawn right after a host's batch (or a guest's) moves into the room of
//   that device texture when there is room: a guest;
// - anything else, any picture whose texture coordinates reach beyond its edges and any
//   picture drawn without blending filter keeps a device texture of its own.
// A shared picture is drawn with its texture coordinates mapped into its place. A host's
// first batch is not drawn before it is settled (its coordinates are rewritten when it
// becomes a host), and a place never changes after, so a picture is sampled the same way in
// every frame. Locks, point sprites, coordinates beyond the picture's edges and nearest-texel
// filtering give a shared picture a device texture of its own again.
#include <cmath>

#include "engine/log.h"
#include "engine/render.h"
#include "engine/texture.h"

namespace QEL {

namespace {

// Guests: small pictures (a button, a card-sized cover, a bar) that would cost a draw call
// of their own between the batches of larger ones.
constexpr int32_t kGuestMaxSide = 512;
constexpr int32_t kGuestMaxArea = 256 * 256;
// Hosts: pictures of at least this area, with room below them of half their height (within
// the bounds) for guests: enough for three buttons of a bar under a font page, which a
// quarter left to draw calls of their own.
constexpr int32_t kHostMinArea = 512 * 512;
constexpr int32_t kHostMaxSide = 4096;
constexpr int32_t kRoomMinRows = 64;
constexpr int32_t kRoomMaxRows = 320;
// Texture coordinates this far beyond 0 and 1 still land on the picture's border.
constexpr float kEdgeSlack = 1.0e-4f;

int32_t widthOf(const platform::Texture* device) { return static_cast<int32_t>(device->width()); }
int32_t heightOf(const platform::Texture* device) { return static_cast<int32_t>(device->height()); }

bool insideThePicture(const QS_VERTEX* vertices, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    const QS_VERTEX& v = vertices[i];
    if (!(v.u >= -kEdgeSlack && v.u <= 1.0f + kEdgeSlack && v.v >= -kEdgeSlack && v.v <= 1.0f + kEdgeSlack))
      return false;
  }
  return true;
}

}  // namespace

bool QC_RENDER::settlePicture(QC_TEXTURE* texture, const QS_RENDER_STATE& state, const QS_VERTEX* vertices,
                              uint32_t count) {
  // Sampled between texels, a shared place rounds a hair differently from an own texture:
  // invisible when filtering blends texels, a whole texel off when it picks the nearest.
  const bool inside = insideThePicture(vertices, count) && (state._filter == QS_RENDER_STATE::FILTER_LINEAR ||
                                                             state._filter == QS_RENDER_STATE::FILTER_ANISOTROPIC);
  if (texture->_place == QC_TEXTURE::qePLACE_HOST || texture->_place == QC_TEXTURE::qePLACE_GUEST) {
    if (!inside) giveOwnTexture(texture);
    return false;
  }
  if (texture->_place != QC_TEXTURE::qePLACE_UNSETTLED || texture == _pendingHost) return false;
  if (!inside || !texture->_deviceTexture) {
    texture->_place = QC_TEXTURE::qePLACE_OWN;
    return false;
  }
  const int32_t w = widthOf(texture->_deviceTexture), h = heightOf(texture->_deviceTexture);
  const bool guestSized = w <= kGuestMaxSide && h <= kGuestMaxSide && w * h <= kGuestMaxArea;
  if (guestSized) {
    texture->_place = QC_TEXTURE::qePLACE_OWN;
    // Only a draw that continues the open batch gains from sharing its texture.
    QC_TEXTURE* neighbour = _currentTexture;
    if (!neighbour || !(state == _currentState)) return false;
    if (neighbour == _pendingHost && !becomeHost(neighbour)) return false;
    becomeGuest(texture, neighbour);
    return false;
  }
  const bool hostSized = static_cast<int64_t>(w) * h >= kHostMinArea && w + 2 <= kHostMaxSide;
  if (!hostSized) texture->_place = QC_TEXTURE::qePLACE_OWN;
  // Whether it hosts is known when the next draw comes (or when its batch ends: then it keeps
  // its own texture).
  return hostSized;
}

void QC_RENDER::settlePendingHost() {
  if (_pendingHost && _pendingHost->_place == QC_TEXTURE::qePLACE_UNSETTLED) _pendingHost->_place = QC_TEXTURE::qePLACE_OWN;
  _pendingHost = nullptr;
}

void QC_RENDER::setPlace(QC_TEXTURE* texture, platform::Texture* device, int32_t x, int32_t y) {
  const float width = static_cast<float>(widthOf(device)), height = static_cast<float>(heightOf(device));
  const platform::Texture* own = texture->_deviceTexture;
  texture->_uScale = static_cast<float>(widthOf(own)) / width;
  texture->_vScale = static_cast<float>(heightOf(own)) / height;
  texture->_uOffset = static_cast<float>(x) / width;
  texture->_vOffset = static_cast<float>(y) / height;
}

bool QC_RENDER::copyWithBorder(platform::Texture* from, int32_t w, int32_t h, platform::Texture* to, int32_t x,
                               int32_t y) {
  auto copy = [&](int32_t fromX, int32_t fromY, int32_t width, int32_t height, int32_t toX, int32_t toY) {
    return _device->copyTexels(from, static_cast<uint32_t>(fromX), static_cast<uint32_t>(fromY),
                               static_cast<uint32_t>(width), static_cast<uint32_t>(height), to,
                               static_cast<uint32_t>(toX), static_cast<uint32_t>(toY)) == platform::Result::ok;
  };
  const int32_t left = x, top = y, right = x + w + 1, bottom = y + h + 1;
  return copy(0, 0, w, h, x + 1, y + 1) &&
         // Each edge and corner once more beside itself: the filter finds there what the
         // clamped sampler gives a picture of its own, never a neighbour's texels.
         copy(0, 0, w, 1, x + 1, top) && copy(0, h - 1, w, 1, x + 1, bottom) && copy(0, 0, 1, h, left, y + 1) &&
         copy(w - 1, 0, 1, h, right, y + 1) && copy(0, 0, 1, 1, left, top) && copy(w - 1, 0, 1, 1, right, top) &&
         copy(0, h - 1, 1, 1, left, bottom) && copy(w - 1, h - 1, 1, 1, right, bottom);
}

bool QC_RENDER::becomeHost(QC_TEXTURE* texture) {
  platform::Texture* own = texture->_deviceTexture;
  const int32_t w = widthOf(own), h = heightOf(own);
  int32_t rows = h / 2;
  if (rows < kRoomMinRows) rows = kRoomMinRows;
  if (rows > kRoomMaxRows) rows = kRoomMaxRows;
  platform::Texture* shared = nullptr;
  if (_device->createTexture(static_cast<uint32_t>(w + 2), static_cast<uint32_t>(h + 2 + rows), 1, 0, own->format(),
                             platform::Pool::managed, &shared) != platform::Result::ok ||
      !shared) {
    return false;
  }
  if (!copyWithBorder(own, w, h, shared, 0, 0)) {
    shared->release();
    return false;
  }
  setPlace(texture, shared, 1, 1);
  // Its first draws, the last of the open batch, were written with the picture's own
  // coordinates.
  if (texture == _pendingHost && _currentTexture == texture && _batchVertices > _pendingHostFirst) {
    void* data = nullptr;
    const uint32_t count = _batchVertices - _pendingHostFirst;
    if (_vertexBuffer->lock((_batchFirstVertex + _pendingHostFirst) * sizeof(QS_VERTEX), count * sizeof(QS_VERTEX),
                            &data, platform::kLockNoOverwrite) == platform::Result::ok &&
        data) {
      auto* batch = static_cast<QS_VERTEX*>(data);
      for (uint32_t i = 0; i < count; ++i) {
        batch[i].u = batch[i].u * texture->_uScale + texture->_uOffset;
        batch[i].v = batch[i].v * texture->_vScale + texture->_vOffset;
      }
      _vertexBuffer->unlock();
    }
  }
  if (texture == _pendingHost) _pendingHost = nullptr;
  QS_TEXTURE_ROOM& room = _textureRooms[shared];
  room.residents = 1;
  room.width = w + 2;
  room.height = h + 2 + rows;
  room.top = h + 2;
  moveInto(texture, shared, QC_TEXTURE::qePLACE_HOST);
  _liveTextures[shared] = texture;
  return true;
}

bool QC_RENDER::becomeGuest(QC_TEXTURE* texture, QC_TEXTURE* neighbour) {
  auto found = _textureRooms.find(neighbour->_deviceTexture);
  if (found == _textureRooms.end()) return false;
  QS_TEXTURE_ROOM& room = found->second;
  platform::Texture* own = texture->_deviceTexture;
  platform::Texture* shared = neighbour->_deviceTexture;
  const int32_t w = widthOf(own), h = heightOf(own);
  const int32_t needW = w + 2, needH = h + 2;
  if (own->format() != shared->format() || needW > room.width) return false;
  // The first shelf tall enough with room left on it, else a new shelf below the others.
  QS_TEXTURE_ROOM::SHELF* shelf = nullptr;
  for (QS_TEXTURE_ROOM::SHELF& candidate : room.shelves) {
    if (candidate.height >= needH && candidate.x + needW <= room.width) {
      shelf = &candidate;
      break;
    }
  }
  if (!shelf) {
    const int32_t y = room.shelves.empty() ? room.top : room.shelves.back().y + room.shelves.back().height;
    if (y + needH > room.height) return false;
    room.shelves.push_back({y, needH, 0});
    shelf = &room.shelves.back();
  }
  if (!copyWithBorder(own, w, h, shared, shelf->x, shelf->y)) return false;
  setPlace(texture, shared, shelf->x + 1, shelf->y + 1);
  shelf->x += needW;
  ++room.residents;
  shared->addRef();
  moveInto(texture, shared, QC_TEXTURE::qePLACE_GUEST);
  _guestTextures.insert(texture);
  return true;
}

void QC_RENDER::moveInto(QC_TEXTURE* texture, platform::Texture* shared, uint8_t place) {
  platform::Texture* own = texture->_deviceTexture;
  _liveTextures.erase(own);
  for (uint32_t stage = 0; stage < platform::kTextureStages; ++stage) {
    if (stage < _batchStageCount && _batchStages[stage] == own) _batchStages[stage] = shared;
    if (_device->getTexture(stage) == own) _device->setTexture(stage, shared);
  }
  own->release();
  _picturesMoved = true;
  texture->_deviceTexture = shared;
  texture->_place = place;
}

void QC_RENDER::giveOwnTexture(QC_TEXTURE* texture) {
  if (texture->_place != QC_TEXTURE::qePLACE_HOST && texture->_place != QC_TEXTURE::qePLACE_GUEST) return;
  platform::Texture* shared = texture->_deviceTexture;
  const int32_t width = widthOf(shared), height = heightOf(shared);
  const int32_t w = static_cast<int32_t>(std::lround(texture->_uScale * static_cast<float>(width)));
  const int32_t h = static_cast<int32_t>(std::lround(texture->_vScale * static_cast<float>(height)));
  const int32_t x = static_cast<int32_t>(std::lround(texture->_uOffset * static_cast<float>(width)));
  const int32_t y = static_cast<int32_t>(std::lround(texture->_vOffset * static_cast<float>(height)));
  platform::Texture* own = nullptr;
  if (_device->createTexture(static_cast<uint32_t>(w), static_cast<uint32_t>(h), 1, 0, shared->format(),
                             platform::Pool::managed, &own) != platform::Result::ok ||
      !own) {
    fLog("QC_RENDER: a shared picture could not get a texture of its own");
    return;
  }
  leaveBatch(shared);  // the open batch may still draw from the shared place
  _device->copyTexels(shared, static_cast<uint32_t>(x), static_cast<uint32_t>(y), static_cast<uint32_t>(w),
                      static_cast<uint32_t>(h), own, 0, 0);
  if (texture->_place == QC_TEXTURE::qePLACE_GUEST) {
    _guestTextures.erase(texture);
  } else {
    // The host's guests keep the shared texture (and its room) alive.
    _liveTextures.erase(shared);
  }
  leaveRoom(texture);
  shared->release();
  _picturesMoved = true;
  texture->_deviceTexture = own;
  texture->_place = QC_TEXTURE::qePLACE_OWN;
  texture->_uScale = texture->_vScale = 1.0f;
  texture->_uOffset = texture->_vOffset = 0.0f;
  _liveTextures[own] = texture;
  if (_currentTexture == texture) _currentTexture = nullptr;
}

void QC_RENDER::leaveRoom(QC_TEXTURE* texture) {
  if (texture->_place != QC_TEXTURE::qePLACE_HOST && texture->_place != QC_TEXTURE::qePLACE_GUEST) return;
  auto room = _textureRooms.find(texture->_deviceTexture);
  if (room != _textureRooms.end() && --room->second.residents <= 0) _textureRooms.erase(room);
}

}  // namespace QEL
