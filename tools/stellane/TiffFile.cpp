// TIFF files through libtiff: grey or RGB, contiguous samples, an optional
// extra sample as alpha, 8 or 16 bits unsigned or 32-bit float. Written
// uncompressed-fast (LZW for integers, none for floats), one strip per row
// group as libtiff proposes.
#include <tiffio.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "stellane/CliError.h"
#include "stellane/ImageFiles.h"
#include "stellane/ImageMetadata.h"
#include "stellane/OutputFile.h"

namespace cli {

namespace {

// libtiff prints its errors and warnings to stderr by default; we report
// our own one-line message instead.
void SilenceLibtiff() {
  TIFFSetErrorHandler(nullptr);
  TIFFSetWarningHandler(nullptr);
}

struct TiffCloser {
  TIFF* tiff;
  ~TiffCloser() {
    if (tiff) TIFFClose(tiff);
  }
};

}  // namespace

testhost::Image ReadTiff(const std::string& path) {
  SilenceLibtiff();
  TiffCloser tiff{TIFFOpen(path.c_str(), "r")};
  if (!tiff.tiff) Fail(path + ": unreadable TIFF");
  std::uint32_t width = 0, height = 0;
  std::uint16_t samples = 1, bits = 8, format = SAMPLEFORMAT_UINT, planar = PLANARCONFIG_CONTIG,
                photometric = PHOTOMETRIC_MINISBLACK;
  TIFFGetField(tiff.tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff.tiff, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tiff.tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tiff.tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff.tiff, TIFFTAG_SAMPLEFORMAT, &format);
  TIFFGetFieldDefaulted(tiff.tiff, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetField(tiff.tiff, TIFFTAG_PHOTOMETRIC, &photometric);

  const bool grey = photometric == PHOTOMETRIC_MINISBLACK && (samples == 1 || samples == 2);
  const bool rgb = photometric == PHOTOMETRIC_RGB && (samples == 3 || samples == 4);
  const bool depthOk = (format == SAMPLEFORMAT_UINT && (bits == 8 || bits == 16)) ||
                       (format == SAMPLEFORMAT_IEEEFP && bits == 32);
  if (!(grey || rgb) || !depthOk || planar != PLANARCONFIG_CONTIG)
    Fail(path + ": unsupported TIFF (grey or RGB, 8/16-bit or float, interleaved samples only)");
  std::uint16_t compression = COMPRESSION_NONE;
  TIFFGetFieldDefaulted(tiff.tiff, TIFFTAG_COMPRESSION, &compression);
  // Stored samples come back byte for byte; the codecs libtiff offers give
  // back well under 4096 bytes for each byte they store.
  CheckDeclaredSize(path, width, height, std::uint64_t(width) * height * samples * (bits / 8),
                    compression == COMPRESSION_NONE ? 1 : 4096);

  const int colorPlanes = grey ? 1 : 3;
  const bool alpha = samples == colorPlanes + 1;
  testhost::Image image = testhost::Image::Make(int(width), int(height), colorPlanes, bits, alpha);
  std::vector<std::uint8_t> row(std::size_t(TIFFScanlineSize(tiff.tiff)));
  if (row.size() < image.RowBytes()) Fail(path + ": unreadable TIFF");
  for (std::uint32_t y = 0; y < height; ++y) {
    if (TIFFReadScanline(tiff.tiff, row.data(), y, 0) < 0)
      Fail(path + ": unreadable TIFF (row " + std::to_string(y) + ")");
    std::uint8_t* out = image.SamplePtr(0, int(y), 0);
    if (bits == 16) {
      const auto* in = reinterpret_cast<const std::uint16_t*>(row.data());
      for (std::size_t i = 0; i < std::size_t(width) * samples; ++i) {
        const std::uint16_t v = HostFromFile16(in[i]);
        std::memcpy(out + 2 * i, &v, 2);
      }
    } else {
      std::memcpy(out, row.data(), image.RowBytes());
    }
  }
  return image;
}

void WriteTiff(const testhost::Image& image, const std::string& path,
               const ImageMetadata* metadata) {
  SilenceLibtiff();
  TiffCloser tiff{TIFFOpen(path.c_str(), "w")};
  if (!tiff.tiff) Fail("cannot write " + path + SystemReason());
  TIFF* t = tiff.tiff;
  const int samples = image.Planes();
  TIFFSetField(t, TIFFTAG_IMAGEWIDTH, std::uint32_t(image.width));
  TIFFSetField(t, TIFFTAG_IMAGELENGTH, std::uint32_t(image.height));
  TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, std::uint16_t(samples));
  TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, std::uint16_t(image.depth));
  TIFFSetField(t, TIFFTAG_SAMPLEFORMAT,
               std::uint16_t(image.depth == 32 ? SAMPLEFORMAT_IEEEFP : SAMPLEFORMAT_UINT));
  TIFFSetField(t, TIFFTAG_PHOTOMETRIC,
               std::uint16_t(image.colorPlanes == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB));
  TIFFSetField(t, TIFFTAG_PLANARCONFIG, std::uint16_t(PLANARCONFIG_CONTIG));
  TIFFSetField(t, TIFFTAG_ORIENTATION, std::uint16_t(ORIENTATION_TOPLEFT));
  TIFFSetField(t, TIFFTAG_COMPRESSION,
               std::uint16_t(image.depth == 32 ? COMPRESSION_NONE : COMPRESSION_LZW));
  if (image.transparency) {
    const std::uint16_t extra = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(t, TIFFTAG_EXTRASAMPLES, std::uint16_t(1), &extra);
  }
  TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
  if (metadata) PutTiffMetadata(t, *metadata);
  std::vector<std::uint8_t> row(image.RowBytes());
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* in = image.SamplePtr(0, y, 0);
    if (image.depth == 16) {
      auto* out = reinterpret_cast<std::uint16_t*>(row.data());
      for (std::size_t i = 0; i < std::size_t(image.width) * samples; ++i) {
        std::uint16_t v;
        std::memcpy(&v, in + 2 * i, 2);
        out[i] = FileFromHost16(v);
      }
    } else {
      std::memcpy(row.data(), in, row.size());
    }
    if (TIFFWriteScanline(t, row.data(), std::uint32_t(y), 0) < 0)
      Fail("cannot write " + path + SystemReason());
  }
  const bool flushed = TIFFFlush(t) == 1;
  TIFFClose(t);
  tiff.tiff = nullptr;
  if (!flushed) Fail("cannot write " + path + SystemReason());
}

}  // namespace cli
