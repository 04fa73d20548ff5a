// Image files of the command-line host: PNG, JPEG and TIFF, read into and
// written from the host's in-memory picture (testhost::Image).
//
// - PNG: grey, grey + alpha, RGB, RGBA at 8 or 16 bits (palette and lower
//   depths are expanded to 8 bits).
// - JPEG: grey or RGB, 8 bits, no alpha.
// - TIFF: grey or RGB with an optional alpha, 8 or 16 bits unsigned or 32-bit
//   float.
//
// 16-bit files hold 0..65535; the host holds 0..32768. The mapping rounds
// both ways, so that every host value survives a write and a read.
// An alpha channel becomes the picture's transparency plane. Failures throw
// CliError with a one-line message naming the file; corrupt or truncated
// data is a failure, never a picture with invented pixels.
//
// A file's header is believed only as far as the file can back it: the
// readers check the declared size against the limits below before they make
// any buffer, so a few bytes cannot make the program take gigabytes.
#pragma once

#include <cstdint>
#include <string>

#include "testhost/Image.h"

namespace cli {

struct ImageMetadata;

enum class ImageFileKind { Png, Jpeg, Tiff };

// How hard the PNG writer compresses. Fast: zlib level 1 with run-length
// matching and the adaptive row filters, about five times faster than zlib's
// default level on a 12-megapixel render for files about 5 % larger.
// Smallest: level 9, every filter tried; several times slower again.
enum class PngCompression { Fast, Smallest };

// The host API's largest side, and the most pixels a picture may have.
constexpr std::uint32_t kMaxImageSide = 30000;
constexpr std::uint64_t kMaxImagePixels = std::uint64_t(1) << 28;  // 268 megapixels

// Throws unless `width` x `height` is within the limits above and
// `decodedBytes` (what the declared picture unpacks to) is at most
// `expansion` times the file's size: the most a format's compression can
// give back. An `expansion` of 0 skips that check. DeclaredSizeProblem is
// the same without the throw (for readers inside a setjmp scope): the
// message, or empty when the size is fine.
void CheckDeclaredSize(const std::string& path, std::uint64_t width, std::uint64_t height,
                       std::uint64_t decodedBytes, std::uint64_t expansion);
std::string DeclaredSizeProblem(const std::string& path, std::uint64_t width, std::uint64_t height,
                                std::uint64_t decodedBytes, std::uint64_t expansion);

// By the file name's extension (.png, .jpg/.jpeg, .tif/.tiff, any case);
// false for anything else.
bool ImageFileKindFromName(const std::string& path, ImageFileKind& kind);

testhost::Image ReadImageFile(const std::string& path);

// Writes `image` as `kind` to `path`. What the format can't hold is
// converted: JPEG gets 8 bits and no alpha, PNG gets float as 16 bits.
// `metadata` (may be null) goes in as far as the format holds it.
void WriteImageFile(const testhost::Image& image, const std::string& path, ImageFileKind kind,
                    PngCompression compression = PngCompression::Fast, int jpegQuality = 92,
                    const ImageMetadata* metadata = nullptr);

// The 16-bit mapping between files (0..65535) and the host (0..32768).
std::uint16_t HostFromFile16(std::uint16_t fileValue);
std::uint16_t FileFromHost16(std::uint16_t hostValue);

// Format readers and writers (one file each).
testhost::Image ReadPng(const std::string& path);
testhost::Image ReadJpeg(const std::string& path);
testhost::Image ReadTiff(const std::string& path);
void WritePng(const testhost::Image& image, const std::string& path,
              PngCompression compression = PngCompression::Fast,
              const ImageMetadata* metadata = nullptr);
void WriteJpeg(const testhost::Image& image, const std::string& path, int quality = 92,
               const ImageMetadata* metadata = nullptr);
void WriteTiff(const testhost::Image& image, const std::string& path,
               const ImageMetadata* metadata = nullptr);

// `image` with samples of `depth` bits (8, 16, 32 float), values scaled.
testhost::Image ConvertDepth(const testhost::Image& image, int depth);
// `image` without its transparency plane.
testhost::Image DropTransparency(const testhost::Image& image);

}  // namespace cli
