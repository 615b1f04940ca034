#pragma once
// Small Ogg Vorbis and Ogg Theora files made in memory by the real encoders, so the sound
// and video tests need no media files of their own.
#include <ogg/ogg.h>
#include <theora/theoraenc.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <vector>

namespace media_maker {

inline void appendPage(std::vector<uint8_t>& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

// A sine tone of the given frames; every channel carries the same tone. The encoder's
// set-up call can be handed in by a program that loads the encoder library at run time.
inline std::vector<uint8_t> makeOgg(int channels, long rate, long frames, float frequency = 440.0f,
                                    float amplitude = 0.5f,
                                    int (*encodeInit)(vorbis_info*, long, long, float) = vorbis_encode_init_vbr) {
  std::vector<uint8_t> out;
  vorbis_info info;
  vorbis_info_init(&info);
  if (encodeInit(&info, channels, rate, 0.1f) != 0) {
    vorbis_info_clear(&info);
    return out;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1234);

  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) != 0) appendPage(out, page);

  auto drain = [&]() {
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) appendPage(out, page);
      }
    }
  };

  long written = 0;
  const long chunk = 1024;
  while (written < frames) {
    const long count = std::min(chunk, frames - written);
    float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
    for (long i = 0; i < count; ++i) {
      const double t = static_cast<double>(written + i) / static_cast<double>(rate);
      const float value = amplitude * static_cast<float>(std::sin(2.0 * M_PI * frequency * t));
      for (int c = 0; c < channels; ++c) buffer[c][i] = value;
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(count));
    written += count;
    drain();
  }
  vorbis_analysis_wrote(&dsp, 0);
  drain();
  while (ogg_stream_flush(&stream, &page) != 0) appendPage(out, page);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

// Frames of a Theora video, each a flat picture: frame f has luma 16 + 40 * f (mod 220)
// and neutral chroma, so its colour is a known grey.
inline std::vector<uint8_t> makeTheora(int width, int height, int frames, int fps = 30) {
  std::vector<uint8_t> out;
  th_info info;
  th_info_init(&info);
  info.frame_width = static_cast<ogg_uint32_t>((width + 15) & ~15);
  info.frame_height = static_cast<ogg_uint32_t>((height + 15) & ~15);
  info.pic_width = static_cast<ogg_uint32_t>(width);
  info.pic_height = static_cast<ogg_uint32_t>(height);
  info.pic_x = 0;
  info.pic_y = 0;
  info.colorspace = TH_CS_UNSPECIFIED;
  info.pixel_fmt = TH_PF_420;
  info.target_bitrate = 0;
  info.quality = 48;
  info.fps_numerator = static_cast<ogg_uint32_t>(fps);
  info.fps_denominator = 1;
  info.aspect_numerator = 1;
  info.aspect_denominator = 1;
  th_enc_ctx* encoder = th_encode_alloc(&info);
  if (!encoder) {
    th_info_clear(&info);
    return out;
  }
  ogg_stream_state stream;
  ogg_stream_init(&stream, 4321);
  th_comment comment;
  th_comment_init(&comment);
  ogg_packet packet;
  ogg_page page;
  bool first = true;
  while (th_encode_flushheader(encoder, &comment, &packet) > 0) {
    ogg_stream_packetin(&stream, &packet);
    if (first) {
      // The first header alone on the stream's first page.
      while (ogg_stream_flush(&stream, &page) != 0) appendPage(out, page);
      first = false;
    }
  }
  while (ogg_stream_flush(&stream, &page) != 0) appendPage(out, page);

  const int fw = static_cast<int>(info.frame_width), fh = static_cast<int>(info.frame_height);
  std::vector<uint8_t> luma(static_cast<size_t>(fw * fh));
  std::vector<uint8_t> chroma(static_cast<size_t>(fw / 2 * fh / 2), 128);
  for (int f = 0; f < frames; ++f) {
    std::memset(luma.data(), 16 + (40 * f) % 220, luma.size());
    th_ycbcr_buffer picture;
    picture[0] = {fw, fh, fw, luma.data()};
    picture[1] = {fw / 2, fh / 2, fw / 2, chroma.data()};
    picture[2] = {fw / 2, fh / 2, fw / 2, chroma.data()};
    th_encode_ycbcr_in(encoder, picture);
    const int last = f == frames - 1;
    while (th_encode_packetout(encoder, last, &packet) > 0) {
      ogg_stream_packetin(&stream, &packet);
      while (ogg_stream_pageout(&stream, &page) != 0) appendPage(out, page);
    }
  }
  while (ogg_stream_flush(&stream, &page) != 0) appendPage(out, page);
  th_comment_clear(&comment);
  ogg_stream_clear(&stream);
  th_encode_free(encoder);
  th_info_clear(&info);
  return out;
}

}  // namespace media_maker
