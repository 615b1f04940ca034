#include "engine/video.h"

#include <algorithm>
#include <cstring>

#include "engine/globals.h"
#include "engine/log.h"
#include "engine/render.h"
#include "engine/result_codes.h"
#include "engine/texture.h"
#include "platform/plain_file.h"

namespace QEL {

float QC_VIDEO::sCountdown = 0.0f;

namespace {
constexpr long kChunk = 8192;

uint8_t clampToByte(float value) {
  if (value > 255.0f) return 255;
  if (value < 0.0f) return 0;
  return static_cast<uint8_t>(value);
}
}  // namespace

QC_VIDEO::QC_VIDEO(const char* path, bool looping, float framesPerSecond) {
  // A named pipe in the video's place would hold the game until some writer came.
  platform::PlainFile opened = path ? platform::openPlainFile(path) : platform::PlainFile{};
  _file = opened.file;
  if (!_file && path && !opened.missing) fLog("Video file not read (", opened.failure, "): ", path);
  if (!_file) fLog("file not open");
  fStart(looping, framesPerSecond);
}

QC_VIDEO::QC_VIDEO(std::FILE* file, bool looping, float framesPerSecond) {
  _file = file;
  fStart(looping, framesPerSecond);
}

QC_VIDEO::~QC_VIDEO() { fRelease(); }

void QC_VIDEO::fStart(bool looping, float framesPerSecond) {
  _looping = looping ? 1 : 0;
  _frameInterval = framesPerSecond > 0.0f ? 1.0f / framesPerSecond : 1.0f / 30.0f;
  th_info_init(&_info);
  th_comment_init(&_comment);
  if (!_file) return;
  if (fReadHeaders() != 0) return;
  fLog("decode");
  _decoder = th_decode_alloc(&_info, _setup);
  if (!_decoder) {
    fLog("Decoding error");
    return;
  }
  fLog("Create");
  if (!_externalBuffer) _frameBuffer.assign(static_cast<size_t>(fGetWidth()) * fGetHeight() * 4, 0);
  fLog("fill");
  fCreateTexture();
}

long QC_VIDEO::fReadChunk() {
  if (!_file || !_syncOpen) return 0;
  char* buffer = ogg_sync_buffer(&_sync, kChunk);
  const long count = buffer ? static_cast<long>(std::fread(buffer, 1, kChunk, _file)) : 0;
  ogg_sync_wrote(&_sync, count);
  if (count == 0 && _readingHeaders) fLog("File finished error");
  return count;
}

int32_t QC_VIDEO::fReadHeaders() {
  if (!_file) return qeRESULT_NOTHING_DONE;
  ogg_sync_init(&_sync);
  _syncOpen = true;
  _readingHeaders = true;
  int headers = 0;

  bool firstPages = true;
  while (firstPages) {
    if (fReadChunk() == 0) {
      _readingHeaders = false;
      return qeRESULT_NOTHING_DONE;
    }
    while (firstPages && ogg_sync_pageout(&_sync, &_page) > 0) {
      if (!ogg_page_bos(&_page)) {
        if (_streamOpen && ogg_stream_pagein(&_stream, &_page) != 0) fLog("Error logical stream");
        firstPages = false;
        break;
      }
      if (_streamOpen) continue;
      ogg_stream_state trial;
      if (ogg_stream_init(&trial, ogg_page_serialno(&_page)) != 0) {
        fLog("HZ ERROR");
        continue;
      }
      ogg_packet packet;
      if (ogg_stream_pagein(&trial, &_page) != 0) {
        fLog("HZ 2 ERROR");
      } else if (ogg_stream_packetout(&trial, &packet) != 1) {
        fLog("HZ 3");
      } else if (th_decode_headerin(&_info, &_comment, &_setup, &packet) > 0) {
        _stream = trial;  // the trial's buffers now belong to the video's stream
        _streamOpen = true;
        headers = 1;
        continue;
      }
      ogg_stream_clear(&trial);
    }
  }
  if (!_streamOpen) {
    fLog("No Theora stream");
    _readingHeaders = false;
    return qeRESULT_NOTHING_DONE;
  }

  while (headers < 3) {
    ogg_packet packet;
    const int result = ogg_stream_packetout(&_stream, &packet);
    if (result > 0) {
      if (th_decode_headerin(&_info, &_comment, &_setup, &packet) < 0) fLog("Error result 2");
      ++headers;
      continue;
    }
    if (result < 0) continue;  // a gap: the next call goes on after it
    fLog("Error packet out");
    if (ogg_sync_pageout(&_sync, &_page) > 0) {
      if (ogg_stream_pagein(&_stream, &_page) != 0) fLog("Error logical stream");
    } else if (fReadChunk() == 0) {
      _readingHeaders = false;
      return qeRESULT_NOTHING_DONE;
    }
  }
  _readingHeaders = false;
  return 0;
}

bool QC_VIDEO::fFrameDue() {
  if (_playing != 1) return false;
  sCountdown -= qcFRAME_DELTA;
  if (sCountdown > 0.0f) return false;
  sCountdown += _frameInterval;
  return true;
}

int32_t QC_VIDEO::fNextPacket() {
  if (!_streamOpen) return qeRESULT_NOTHING_DONE;
  for (;;) {
    const int result = ogg_stream_packetout(&_stream, &_packet);
    if (result > 0) return 0;
    if (result < 0) continue;
    // Pages already in the sync state come first, so the last frames are not lost at the end.
    const int page = ogg_sync_pageout(&_sync, &_page);
    if (page > 0) {
      if (ogg_stream_pagein(&_stream, &_page) != 0) fLog("Error logical stream");
      continue;
    }
    if (page < 0) continue;
    if (fReadChunk() == 0) {
      fOnEndOfFile();
      return qeRESULT_NOTHING_DONE;
    }
  }
}

void QC_VIDEO::fDecodePacket() {
  ogg_int64_t granule = 0;
  if (th_decode_packetin(_decoder, &_packet, &granule) == TH_EBADPACKET) fLog("Error bad packet");
  if (th_decode_ycbcr_out(_decoder, _frame) != 0) {
    fLog("Decoding error");
    return;
  }
  ++_framesDecoded;
}

void QC_VIDEO::fConvertFrame() {
  const int32_t width = fGetWidth(), height = fGetHeight();
  if (_frameBuffer.size() < static_cast<size_t>(width) * height * 4 || !_frame[0].data || !_frame[1].data ||
      !_frame[2].data || _frame[0].width <= 0 || _frame[0].height <= 0) {
    return;
  }
  const int32_t x0 = static_cast<int32_t>(_info.pic_x), y0 = static_cast<int32_t>(_info.pic_y);
  for (int32_t r = 0; r < height; ++r) {
    const int32_t y = y0 + r;
    const uint8_t* luma = _frame[0].data + static_cast<ptrdiff_t>(y) * _frame[0].stride;
    // Chroma rows and columns scale with the plane's size (halves for 4:2:0).
    const int32_t cy = y * _frame[1].height / _frame[0].height;
    const uint8_t* cb = _frame[1].data + static_cast<ptrdiff_t>(cy) * _frame[1].stride;
    const uint8_t* cr = _frame[2].data + static_cast<ptrdiff_t>(cy) * _frame[2].stride;
    uint8_t* out = _frameBuffer.data() + static_cast<size_t>(width) * r * 4;
    for (int32_t c = 0; c < width; ++c) {
      const int32_t x = x0 + c;
      const int32_t cx = x * _frame[1].width / _frame[0].width;
      const float Y = luma[x];
      const float U = static_cast<float>(cb[cx]) - 128.0f;
      const float V = static_cast<float>(cr[cx]) - 128.0f;
      out[c * 4 + 0] = clampToByte(Y + 1.732f * U);
      out[c * 4 + 1] = clampToByte(Y - 0.698f * V - 0.336f * U);
      out[c * 4 + 2] = clampToByte(Y + 1.371f * V);
      out[c * 4 + 3] = 255;
    }
  }
}

void QC_VIDEO::fCreateTexture() {
  QC_RENDER* render = qcRENDER_INSTANCE;
  if (!_texture) {
    _texture = render ? render->fCreateTexture(fGetWidth(), fGetHeight()) : nullptr;
    if (!_texture) {
      fLog("Video creation error");
    } else {
      std::vector<uint32_t> red(static_cast<size_t>(fGetWidth()) * fGetHeight(), 0xFFFF0000u);
      _texture->fFill(red.data());
    }
  }
  if (_texture && !_frameBuffer.empty()) _texture->fFill(_frameBuffer.data());
}

void QC_VIDEO::fUpdate() {
  _elapsed += qcFRAME_DELTA;
  if (!fFrameDue() || !_decoder) return;
  if (fNextPacket() != 0) return;
  fDecodePacket();
  fConvertFrame();
  fCreateTexture();
}

void QC_VIDEO::fClearOgg() {
  if (_streamOpen) ogg_stream_clear(&_stream);
  _streamOpen = false;
  if (_syncOpen) ogg_sync_clear(&_sync);
  _syncOpen = false;
  _page = ogg_page{};
  _packet = ogg_packet{};
}

void QC_VIDEO::fClearDecoder() {
  fClearOgg();
  if (_decoder) th_decode_free(_decoder);
  _decoder = nullptr;
  if (_setup) th_setup_free(_setup);
  _setup = nullptr;
  th_info_clear(&_info);
  th_comment_clear(&_comment);
  th_info_init(&_info);
  th_comment_init(&_comment);
}

bool QC_VIDEO::fRestart() {
  const int32_t width = fGetWidth(), height = fGetHeight();
  fClearDecoder();
  if (!_file || std::fseek(_file, 0, SEEK_SET) != 0) return false;
  if (fReadHeaders() != 0) return false;
  _decoder = th_decode_alloc(&_info, _setup);
  // The same file again: the frame buffer and the texture keep their size.
  return _decoder && fGetWidth() == width && fGetHeight() == height;
}

void QC_VIDEO::fOnEndOfFile() {
  fLog("End of file! Looping ", static_cast<int>(_looping));
  // Looping starts the file over from its headers.
  if (_looping && fRestart()) return;
  _playing = 0;
}

void QC_VIDEO::fRelease() {
  fClearDecoder();
  std::memset(_frame, 0, sizeof _frame);
  _frameBuffer.clear();
  _frameBuffer.shrink_to_fit();
  if (_texture && qcRENDER_INSTANCE) qcRENDER_INSTANCE->fReleaseTexture(_texture);
  _texture = nullptr;
  if (_file) std::fclose(_file);
  _file = nullptr;
  _externalBuffer = 0;
  _playing = 0;
  _looping = 0;
  _elapsed = 0.0;
  _framesDecoded = 0;
}

}  // namespace QEL
