#include "engine/zip_reader.h"

#include <unzip.h>
#include <zlib.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "engine/log.h"
#include "engine/result_codes.h"
#include "platform/plain_file.h"

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

// Deflate never shrinks data by more than this factor.
constexpr uint64_t kMaxDeflateRatio = 1032;

struct FREE_BYTES {
  void operator()(uint8_t* bytes) const { std::free(bytes); }
};
using QT_BYTES = std::unique_ptr<uint8_t, FREE_BYTES>;

// The sizes come from the archive's own headers and anyone can write them: they are held
// against the archive's length, deflate's largest ratio and the cap before anything that
// large is allocated.
bool sizesArePlausible(const std::string& zipPath, const std::string& member, const unz_file_info& info,
                       int method) {
  std::error_code error;
  const uint64_t archive = std::filesystem::file_size(zipPath, error);
  const uint64_t packed = info.compressed_size;
  const uint64_t unpacked = info.uncompressed_size;
  const uint64_t header = (info.flag & 1) ? kEncryptionHeader : 0;
  bool plausible = !error && packed <= archive && unpacked <= kMaxZipMemberBytes;
  if (plausible && method == 0) plausible = packed == unpacked + header;
  if (plausible && method != 0) plausible = unpacked <= (packed + 1) * kMaxDeflateRatio;
  if (!plausible)
    fLog("zip member ", member, " claims ", packed, " bytes packed, ", unpacked, " unpacked, in an archive of ",
         error ? 0 : archive, " bytes: not read");
  return plausible;
}

// minizip's own opening, on plain files only; the rest of its stdio functions read on.
voidpf ZCALLBACK openPlainZip(voidpf, const void* path, int) {
  platform::PlainFile opened = platform::openPlainFile(static_cast<const char*>(path));
  if (!opened.file && !opened.missing) fLog("zip not read (", opened.failure, "): ", static_cast<const char*>(path));
  return opened.file;
}

}  // namespace

unzFile fOpenZip(const std::string& zipPath) {
  zlib_filefunc64_def functions;
  fill_fopen64_filefunc(&functions);
  functions.zopen64_file = openPlainZip;
  return unzOpen2_64(zipPath.c_str(), &functions);
}

int32_t fReadZipMember(const std::string& zipPath, const std::string& member, const std::string& password,
                       QS_FILE_DATA& out) {
  unzFile zip = fOpenZip(zipPath);
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
    return qeRESULT_MISSING;
  }

  int method = 0, level = 0;
  if (unzOpenCurrentFile2(zip, &method, &level, 1) != UNZ_OK || (method != 0 && method != Z_DEFLATED)) {
    logNotOpened();
    return -1;
  }
  if (!sizesArePlausible(zipPath, member, info, method)) {
    unzCloseCurrentFile(zip);
    fLog("zip file Read Error");
    return qeRESULT_SHORT_READ;
  }
  const size_t rawSize = info.compressed_size;
  QT_BYTES raw(static_cast<uint8_t*>(std::malloc(rawSize > 0 ? rawSize : 1)));
  if (!raw) {
    unzCloseCurrentFile(zip);
    fLog("zip file Read Error (no memory for ", rawSize, " bytes)");
    return qeRESULT_SHORT_READ;
  }
  const int got = rawSize == 0 ? 0 : unzReadCurrentFile(zip, raw.get(), static_cast<unsigned>(rawSize));
  unzCloseCurrentFile(zip);
  if (got < 0 || static_cast<uLong>(got) != info.compressed_size) {
    fLog("zip file Read Error");
    return qeRESULT_SHORT_READ;
  }

  size_t start = 0;
  if (info.flag & 1) {
    if (password.empty() || rawSize < kEncryptionHeader) {
      logNotOpened();
      return -1;
    }
    QC_ZIP_KEYS keys(password);
    for (size_t i = 0; i < rawSize; ++i) raw.get()[i] = keys.fDecode(raw.get()[i]);
    // The header's last byte repeats the CRC's high byte (or the time's, with a data
    // descriptor): a quick test of the password.
    const uint8_t check = (info.flag & 8) ? static_cast<uint8_t>((info.dosDate >> 8) & 0xFF)
                                          : static_cast<uint8_t>(info.crc >> 24);
    if (raw.get()[kEncryptionHeader - 1] != check) {
      logNotOpened();
      return -1;
    }
    start = kEncryptionHeader;
  }

  const uLong size = info.uncompressed_size;
  auto* buffer = static_cast<uint8_t*>(std::malloc(size + 1));
  if (!buffer) {
    fLog("zip file Read Error (no memory for ", size, " bytes)");
    return qeRESULT_SHORT_READ;
  }
  bool ok = false;
  if (method == 0) {
    ok = rawSize - start == size;
    if (ok && size) std::memcpy(buffer, raw.get() + start, size);
  } else {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) == Z_OK) {
      stream.next_in = raw.get() + start;
      stream.avail_in = static_cast<uInt>(rawSize - start);
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
    return qeRESULT_SHORT_READ;
  }
  buffer[size] = 0;
  out._data = buffer;
  out._size = static_cast<uint32_t>(size);
  out._type = 1;
  return 1;
}

}  // namespace QEL
