// Buffers, textures and surfaces of the device. Buffers and managed textures keep a copy in
// memory that locks hand out; the copy reaches OpenGL when it is next needed (buffers) or at
// unlock (textures).
#include <algorithm>
#include <cstring>

#include "platform/device.h"
#include "platform/gl_functions.h"

namespace platform {
namespace {

bool lockRange(std::vector<uint8_t>& bytes, uint32_t offset, uint32_t size, void** data, uint32_t& begin,
               uint32_t& end) {
  const uint64_t length = bytes.size();
  if (size == 0) size = offset <= length ? static_cast<uint32_t>(length - offset) : 0;
  if (static_cast<uint64_t>(offset) + size > length) {
    *data = nullptr;
    return false;
  }
  *data = bytes.data() + offset;
  if (size > 0) {
    if (begin == end) {
      begin = offset;
      end = offset + size;
    } else {
      begin = std::min(begin, offset);
      end = std::max(end, offset + size);
    }
  }
  return true;
}

void uploadBuffer(GLenum target, unsigned& name, const std::vector<uint8_t>& bytes, uint32_t& begin,
                  uint32_t& end, bool& discard, Device::Counters& counters) {
  if (!name) {
    GLuint n = 0;
    glGenBuffers(1, &n);
    name = n;
    glBindBuffer(target, name);
    glBufferData(target, static_cast<GLsizeiptr>(bytes.size()), bytes.data(), GL_STREAM_DRAW);
    begin = end = 0;
    discard = false;
    ++counters.bufferAllocations;
    ++counters.bufferUploads;
    return;
  }
  if (begin == end) return;
  glBindBuffer(target, name);
  // A discarding lock lets the old storage go, so a draw still reading it never stalls us.
  if (discard) {
    glBufferData(target, static_cast<GLsizeiptr>(bytes.size()), nullptr, GL_STREAM_DRAW);
    ++counters.bufferAllocations;
  }
  glBufferSubData(target, begin, end - begin, bytes.data() + begin);
  begin = end = 0;
  discard = false;
  ++counters.bufferUploads;
}

}  // namespace

// ---- vertex and index buffers ----------------------------------------------------------------

Buffer::Buffer(Device* device, uint32_t length, uint32_t target)
    : DeviceObject(device), _bytes(length, 0), _target(target) {}

Buffer::~Buffer() {
  if (_name && _device) {
    _device->makeCurrent();
    GLuint n = _name;
    glDeleteBuffers(1, &n);
  }
}

Result Buffer::lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) {
  if (!data) return Result::invalidCall;
  if (_locked) {
    *data = nullptr;
    return Result::invalidCall;
  }
  if (flags & kLockDiscard) {
    _discard = true;
    _dirtyBegin = _dirtyEnd = 0;  // everything before is thrown away
  }
  if (!lockRange(_bytes, offset, size, data, _dirtyBegin, _dirtyEnd)) return Result::invalidCall;
  _locked = true;
  return Result::ok;
}

Result Buffer::unlock() {
  if (!_locked) return Result::invalidCall;
  _locked = false;
  return Result::ok;
}

void Buffer::upload() {
  if (!_device) return;
  uploadBuffer(_target, _name, _bytes, _dirtyBegin, _dirtyEnd, _discard, _device->mutableCounters());
}

VertexBuffer::VertexBuffer(Device* device, uint32_t length) : Buffer(device, length, GL_ARRAY_BUFFER) {}

IndexBuffer::IndexBuffer(Device* device, uint32_t length) : Buffer(device, length, GL_ELEMENT_ARRAY_BUFFER) {}

// ---- textures and surfaces ---------------------------------------------------------------------

Texture::Texture(Device* device, uint32_t width, uint32_t height, uint32_t format, bool renderTarget,
                 const void* pixels)
    : DeviceObject(device), _width(width), _height(height), _format(format), _renderTarget(renderTarget) {
  GLuint n = 0;
  glGenTextures(1, &n);
  _name = n;
  _device->bindTextureName(_name);
  // A managed texture starts transparent when it gets no pixels (targets are cleared when
  // their surface is made).
  std::vector<uint8_t> transparent;
  if (!renderTarget && !pixels) {
    transparent.assign(static_cast<size_t>(width) * height * bytesPerTexel(), 0);
    pixels = transparent.data();
  }
  const bool alphaOnly = format == kFormatA8;
  glTexImage2D(GL_TEXTURE_2D, 0, alphaOnly ? GL_R8 : GL_RGBA8, static_cast<GLsizei>(width),
               static_cast<GLsizei>(height), 0, pixelOrder(), GL_UNSIGNED_BYTE, pixels);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  if (alphaOnly) {
    // Sampled as white with the stored alpha, as the four-byte picture it stands for.
    const GLint swizzle[4] = {GL_ONE, GL_ONE, GL_ONE, GL_RED};
    glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
  }
  if (pixels) ++_device->mutableCounters().textureUploads;
}

Texture::~Texture() {
  if (_surface) {
    Surface* s = _surface;
    _surface = nullptr;
    s->_texture = nullptr;
    delete s;
  }
  if (_name && _device) {
    _device->noteScreenChange();
    _device->makeCurrent();
    GLuint n = _name;
    glDeleteTextures(1, &n);
    _device->forgetTextureName(_name);
  }
}

void Texture::orphan() {
  _name = 0;
  if (_surface) {
    _surface->orphan();
    _surface->_device = nullptr;
  }
}

uint32_t Texture::pixelOrder() const {
  if (_format == kFormatA8) return GL_RED;
  return _format == kFormatA8B8G8R8 ? GL_RGBA : GL_BGRA;
}

Result Texture::lockRect(uint32_t level, LockedRect* locked, uint32_t flags) {
  if (!locked || level != 0 || _renderTarget || _locked || !_name || !_device) return Result::invalidCall;
  // The pixels live only on the GPU (the context outlives every reset, so nothing is lost);
  // a lock reads them into a copy that exists until the unlock, which keeps memory at one
  // copy per picture. A discarding lock (the caller writes every pixel) reads nothing.
  _device->makeCurrent();
  _pixels.resize(static_cast<size_t>(_width) * _height * bytesPerTexel());
  if (!(flags & kLockDiscard)) {
    _device->bindTextureName(_name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, pixelOrder(), GL_UNSIGNED_BYTE, _pixels.data());
  }
  locked->bits = _pixels.data();
  locked->pitch = static_cast<int32_t>(_width * bytesPerTexel());
  _locked = true;
  return Result::ok;
}

Result Texture::unlockRect(uint32_t level) {
  if (level != 0 || !_locked) return Result::invalidCall;
  _locked = false;
  if (_name && _device) {
    _device->noteScreenChange();
    _device->makeCurrent();
    _device->bindTextureName(_name);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, static_cast<GLsizei>(_width), static_cast<GLsizei>(_height),
                    pixelOrder(), GL_UNSIGNED_BYTE, _pixels.data());
    ++_device->mutableCounters().textureUploads;
  }
  std::vector<uint8_t>().swap(_pixels);
  return Result::ok;
}

Result Texture::getSurfaceLevel(uint32_t level, Surface** out) {
  if (!out || level != 0 || !_renderTarget) return Result::invalidCall;
  if (!_surface) {
    _surface = new Surface(_device, this, _width, _height);
    if (_device && _name) {
      _device->makeCurrent();
      GLuint names[1] = {0};
      glGenRenderbuffers(1, names);
      _surface->_depth = names[0];
      glBindRenderbuffer(GL_RENDERBUFFER, _surface->_depth);
      glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, static_cast<GLsizei>(_width),
                            static_cast<GLsizei>(_height));
      GLuint fbo = 0;
      glGenFramebuffers(1, &fbo);
      _surface->_framebuffer = fbo;
      _surface->_hasDepthStencil = true;
      glBindFramebuffer(GL_FRAMEBUFFER, fbo);
      glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, _name, 0);
      glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, _surface->_depth);
      // Direct3D 9 leaves a new render target's contents undefined; we start them transparent.
      glViewport(0, 0, static_cast<GLsizei>(_width), static_cast<GLsizei>(_height));
      glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
      glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
      glClear(GL_COLOR_BUFFER_BIT);
      _device->bindTarget();
    }
  }
  addRef();
  *out = _surface;
  return Result::ok;
}

Surface::Surface(Device* device, Texture* texture, uint32_t width, uint32_t height)
    : DeviceObject(device), _texture(texture), _width(width), _height(height) {}

Surface::~Surface() {
  if (_device && _texture) {
    _device->makeCurrent();
    if (_framebuffer) {
      GLuint fbo = _framebuffer;
      glDeleteFramebuffers(1, &fbo);
    }
    if (_depth) {
      GLuint rb = _depth;
      glDeleteRenderbuffers(1, &rb);
    }
  }
}

void Surface::orphan() {
  _framebuffer = 0;
  _depth = 0;
}

void Surface::addRef() {
  if (_texture) _texture->addRef();
  else DeviceObject::addRef();
}

uint32_t Surface::release() {
  if (_texture) return _texture->release();
  return DeviceObject::release();
}

// ---- creation --------------------------------------------------------------------------------------

Result Device::createVertexBuffer(uint32_t length, uint32_t, uint32_t, Pool, VertexBuffer** out) {
  if (!out || length == 0) return Result::invalidCall;
  makeCurrent();
  *out = new VertexBuffer(this, length);
  return Result::ok;
}

Result Device::createIndexBuffer(uint32_t length, uint32_t, uint32_t format, Pool, IndexBuffer** out) {
  if (!out || length == 0 || format != kFormatIndex16) return Result::invalidCall;
  makeCurrent();
  *out = new IndexBuffer(this, length);
  return Result::ok;
}

uint32_t Device::maxTextureSize() {
  if (_maxTextureSize == 0) {
    makeCurrent();
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    _maxTextureSize = size > 0 ? static_cast<uint32_t>(size) : 0;
  }
  return _maxTextureSize;
}

Result Device::createTextureFromPixels(uint32_t width, uint32_t height, uint32_t format, const void* pixels,
                                       Texture** out) {
  if (!out) return Result::invalidCall;
  *out = nullptr;
  if (!pixels || width == 0 || height == 0 || width > 16384 || height > 16384) return Result::invalidCall;
  if (format != kFormatA8R8G8B8 && format != kFormatA8B8G8R8 && format != kFormatX8R8G8B8 && format != kFormatA8)
    return Result::invalidCall;
  makeCurrent();
  *out = new Texture(this, width, height, format, false, pixels);
  bindTarget();
  return Result::ok;
}

Result Device::copyTexels(Texture* from, uint32_t x, uint32_t y, uint32_t width, uint32_t height, Texture* to,
                          uint32_t toX, uint32_t toY) {
  if (!from || !to || !from->_name || !to->_name || from->_renderTarget || to->_renderTarget || width == 0 ||
      height == 0 || from->pixelOrder() != to->pixelOrder()) {
    return Result::invalidCall;
  }
  if (static_cast<uint64_t>(x) + width > from->_width || static_cast<uint64_t>(y) + height > from->_height ||
      static_cast<uint64_t>(toX) + width > to->_width || static_cast<uint64_t>(toY) + height > to->_height) {
    return Result::invalidCall;
  }
  noteScreenChange();
  makeCopyFramebuffers();
  bindCopySide(0, from, nullptr);
  bindCopySide(1, to, nullptr);
  glDisable(GL_SCISSOR_TEST);
  const GLint x0 = static_cast<GLint>(x), y0 = static_cast<GLint>(y);
  const GLint w = static_cast<GLint>(width), h = static_cast<GLint>(height);
  const GLint tx = static_cast<GLint>(toX), ty = static_cast<GLint>(toY);
  glBlitFramebuffer(x0, y0, x0 + w, y0 + h, tx, ty, tx + w, ty + h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  // Nothing keeps the textures attached: either may be released at once.
  glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
  glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
  bindTarget();
  return Result::ok;
}

void Device::makeCopyFramebuffers() {
  makeCurrent();
  if (_copyFramebuffers[0]) return;
  GLuint names[2] = {0, 0};
  glGenFramebuffers(2, names);
  _copyFramebuffers[0] = names[0];
  _copyFramebuffers[1] = names[1];
}

void Device::bindCopySide(int side, Texture* texture, Surface* surface) {
  const GLenum binding = side == 0 ? GL_READ_FRAMEBUFFER : GL_DRAW_FRAMEBUFFER;
  if (texture) {
    glBindFramebuffer(binding, _copyFramebuffers[side]);
    glFramebufferTexture2D(binding, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture->_name, 0);
    return;
  }
  glBindFramebuffer(binding, surface->_framebuffer);
  if (surface->_window && side == 0) glReadBuffer(_windowDrawBuffer);
}

Result Device::copyWhole(Surface* surface, Texture* texture, bool intoTexture) {
  if (!surface || !texture || !texture->_name || texture->_renderTarget || (!surface->_framebuffer && !surface->_window) ||
      surface->_width != texture->_width || surface->_height != texture->_height) {
    return Result::invalidCall;
  }
  if (intoTexture || surface != _backSurface) noteScreenChange();
  makeCopyFramebuffers();
  bindCopySide(intoTexture ? 0 : 1, nullptr, surface);
  bindCopySide(intoTexture ? 1 : 0, texture, nullptr);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  const GLint w = static_cast<GLint>(texture->_width), h = static_cast<GLint>(texture->_height);
  // Textures and our own framebuffers hold the picture's top row first, the window its
  // bottom row: between the window and a texture the rows turn over, so a picture kept from
  // the window shows upright in the offscreen buffer and back.
  const GLint top = surface->_window ? h : 0, bottom = surface->_window ? 0 : h;
  if (intoTexture) glBlitFramebuffer(0, top, w, bottom, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  else glBlitFramebuffer(0, 0, w, h, 0, top, w, bottom, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  const GLenum side = intoTexture ? GL_DRAW_FRAMEBUFFER : GL_READ_FRAMEBUFFER;
  glBindFramebuffer(side, _copyFramebuffers[intoTexture ? 1 : 0]);
  glFramebufferTexture2D(side, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
  bindTarget();
  return Result::ok;
}

Result Device::copySurfaceToTexture(Surface* from, Texture* to) { return copyWhole(from, to, true); }

Result Device::copyTextureToSurface(Texture* from, Surface* to) { return copyWhole(to, from, false); }

Result Device::createTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, uint32_t format,
                             Pool pool, Texture** out) {
  if (!out) return Result::invalidCall;
  *out = nullptr;
  if (width == 0 || height == 0 || width > 16384 || height > 16384 || levels > 1) return Result::invalidCall;
  if (format != kFormatA8R8G8B8 && format != kFormatA8B8G8R8 && format != kFormatX8R8G8B8 && format != kFormatA8)
    return Result::invalidCall;
  const bool renderTarget = (usage & kUsageRenderTarget) != 0;
  if (renderTarget && pool != Pool::defaultPool) return Result::invalidCall;
  makeCurrent();
  *out = new Texture(this, width, height, format, renderTarget);
  bindTarget();
  return Result::ok;
}

}  // namespace platform
