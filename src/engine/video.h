#pragma once
// An Ogg Theora video played into a texture: the file is read in chunks, the Theora stream
// is found among the Ogg pages, and one frame is decoded each time the frame interval has
// passed, converted from YUV to 32-bit BGRA and uploaded into a texture made by the renderer.
// Frames are decoded only while the playing flag is 1; the caller sets it.
#include <theora/theoradec.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace QEL {

class QC_TEXTURE;

class QC_VIDEO {
 public:
  // Opens the file itself ("file not open" when it cannot).
  QC_VIDEO(const char* path, bool looping, float framesPerSecond);
  // Reads from a file opened by the caller; the video closes it on release.
  QC_VIDEO(std::FILE* file, bool looping, float framesPerSecond);
  ~QC_VIDEO();
  QC_VIDEO(const QC_VIDEO&) = delete;
  QC_VIDEO& operator=(const QC_VIDEO&) = delete;

  // Adds the frame time; when a frame is due decodes, converts and uploads it.
  void fUpdate();
  // Clears every state, frees the frame buffer and the texture, closes the file.
  void fRelease();

  // 0, or -110 when there is no file or it ended before the three headers.
  int32_t fReadHeaders();
  bool fFrameDue();
  // 0 with a packet ready, -110 at the end of the file.
  int32_t fNextPacket();
  void fConvertFrame();
  void fCreateTexture();
  void fOnEndOfFile();

  bool fHasHeaders() const { return _decoder != nullptr; }
  int32_t fGetWidth() const { return static_cast<int32_t>(_info.pic_width); }
  int32_t fGetHeight() const { return static_cast<int32_t>(_info.pic_height); }
  const uint8_t* fGetFrameBuffer() const { return _frameBuffer.empty() ? nullptr : _frameBuffer.data(); }
  QC_TEXTURE* fGetTexture() const { return _texture; }
  int32_t fGetFramesDecoded() const { return _framesDecoded; }

  // The countdown that paces the frames, shared by every video.
  static float sCountdown;

  std::FILE* _file = nullptr;
  QC_TEXTURE* _texture = nullptr;
  uint8_t _externalBuffer = 0;
  uint8_t _playing = 0;
  uint8_t _looping = 0;
  double _elapsed = 0.0;
  float _frameInterval = 0.0f;

 private:
  void fStart(bool looping, float framesPerSecond);
  // Reads up to 8192 bytes into the sync state; the count read.
  long fReadChunk();
  void fDecodePacket();
  void fClearOgg();
  // The Ogg state and the Theora decoder, setup, info and comment back to empty.
  void fClearDecoder();
  bool fRestart();

  std::vector<uint8_t> _frameBuffer;  // width x height x 4, BGRA
  ogg_stream_state _stream{};
  bool _streamOpen = false;
  ogg_sync_state _sync{};
  bool _syncOpen = false;
  ogg_page _page{};
  ogg_packet _packet{};
  th_info _info{};
  th_comment _comment{};
  th_setup_info* _setup = nullptr;
  th_dec_ctx* _decoder = nullptr;
  th_ycbcr_buffer _frame{};
  bool _readingHeaders = false;
  int32_t _framesDecoded = 0;
};

}  // namespace QEL
