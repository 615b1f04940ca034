#include "engine/zip_reader.h"

#include <unzip.h>
#include <zlib.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/log.h"

namespace QEL {

namespace {

constexpr int kEncryptionHeader = 12;
constexpr unsigned kNameLength = 260;

// The traditional PKWARE stream cipher: three keys stirred by every plain byte.
class QC_ZIP_KEYS {
 public:
  explicit QC_ZIP_KEYS(const std::string& password) {
    for (char c : password) fUpdate(static_cast<uint8_t>(c));
  }
  uint8_t fDecode(uint8_t c) {
    const uint32_t temp = (_keys[2] & 0xFFFF) | 2;
    const uint8_t plain = c ^ static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
    fUpdate(plain);
    return plain;
  }

 private:
  static uint32_t fCrc(uint32_t crc, uint8_t b) {
    static const z_crc_t* table = get_crc_table();
    return static_cast<uint32_t>(table[(crc ^ b) & 0xFF]) ^ (crc >> 8);
  }
  void fUpdate(uint8_t c) {
    _keys[0] = fCrc(_keys[0], c);
    _keys[1] = (_keys[1] + (_keys[0] & 0xFF)) * 134775813u + 1;
    _keys[2] = fCrc(_keys[2], static_cast<uint8_t>(_keys[1] >> 24));
  }
  std::array<uint32_t, 3> _keys{0x12345678u, 0x23456789u, 0x34567890u};
};

void logNotOpened() { fLog("UNZ_OK != unzOpenCurrentFilePassword(zipfile,res->_sgPass.c_str())"); }

}  // namespace

int32_t fReadZipMember(const std::string& zipPath, const std::string& member, const std::string& password,
                       QS_FILE_DATA& out) {
  unzFile zip = unzOpen(zipPath.c_str());
  if (!zip) {
    fLog(" zipfile is NULL ");
    return -1;
  }
  struct Closer {
    unzFile zip;
    ~Closer() { unzClose(zip); }
  } closer{zip};
  if (unzGoToFirstFile(zip) != UNZ_OK) {
    fLog(" UNZ_OK != unzGoToFirstFile(zipfile) ");
    return -1;
  }
  unz_file_info info{};
  bool found = false;
  do {
    char name[kNameLength + 1] = {};
    if (unzGetCurrentFileInfo(zip, &info, name, kNameLength, nullptr, 0, nullptr, 0) != UNZ_OK) break;
    found = member == name;
  } while (!found && unzGoToNextFile(zip) == UNZ_OK);
  if (!found) {
    fLog("zip member not found: ", member);
    return -108;
  }

  int method = 0, level = 0;
  if (unzOpenCurrentFile2(zip, &method, &level, 1) != UNZ_OK || (method != 0 && method != Z_DEFLATED)) {
    logNotOpened();
    return -1;
  }
  std::vector<uint8_t> raw(info.compressed_size);
  const int got = raw.empty() ? 0 : unzReadCurrentFile(zip, raw.data(), static_cast<unsigned>(raw.size()));
  unzCloseCurrentFile(zip);
  if (got < 0 || static_cast<uLong>(got) != info.compressed_size) {
    fLog("zip file Read Error");
    return -109;
  }

  size_t start = 0;
  if (info.flag & 1) {
    if (password.empty() || raw.size() < kEncryptionHeader) {
      logNotOpened();
      return -1;
    }
    QC_ZIP_KEYS keys(password);
    for (uint8_t& b : raw) b = keys.fDecode(b);
    // The header's last byte repeats the CRC's high byte (or the time's, with a data
    // descriptor): a quick test of the password.
    const uint8_t check = (info.flag & 8) ? static_cast<uint8_t>((info.dosDate >> 8) & 0xFF)
                                          : static_cast<uint8_t>(info.crc >> 24);
    if (raw[kEncryptionHeader - 1] != check) {
      logNotOpened();
      return -1;
    }
    start = kEncryptionHeader;
  }

  const uLong size = info.uncompressed_size;
  auto* buffer = static_cast<uint8_t*>(std::malloc(size + 1));
  if (!buffer) {
    fLog("zip file Read Error");
    return -109;
  }
  bool ok = false;
  if (method == 0) {
    ok = raw.size() - start == size;
    if (ok && size) std::memcpy(buffer, raw.data() + start, size);
  } else {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) == Z_OK) {
      stream.next_in = raw.data() + start;
      stream.avail_in = static_cast<uInt>(raw.size() - start);
      stream.next_out = buffer;
      stream.avail_out = static_cast<uInt>(size + 1);
      const int result = inflate(&stream, Z_FINISH);
      ok = result == Z_STREAM_END && stream.total_out == size;
      inflateEnd(&stream);
    }
  }
  if (ok) ok = crc32(0L, buffer, static_cast<uInt>(size)) == info.crc;
  if (!ok) {
    fLog("zip file Read Error");
    std::free(buffer);
    return -109;
  }
  buffer[size] = 0;
  out._data = buffer;
  out._size = static_cast<uint32_t>(size);
  out._type = 1;
  return 1;
}

}  // namespace QEL
