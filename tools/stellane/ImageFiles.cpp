#include "stellane/ImageFiles.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "stellane/CliError.h"

namespace cli {

namespace {

std::string LowerExtension(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

}  // namespace

bool ImageFileKindFromName(const std::string& path, ImageFileKind& kind) {
  const std::string ext = LowerExtension(path);
  if (ext == "png") {
    kind = ImageFileKind::Png;
  } else if (ext == "jpg" || ext == "jpeg") {
    kind = ImageFileKind::Jpeg;
  } else if (ext == "tif" || ext == "tiff") {
    kind = ImageFileKind::Tiff;
  } else {
    return false;
  }
  return true;
}

std::string DeclaredSizeProblem(const std::string& path, std::uint64_t width, std::uint64_t height,
                                std::uint64_t decodedBytes, std::uint64_t expansion) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height);
  if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide)
    return path + ": image size " + size + " not supported (1 to " + std::to_string(kMaxImageSide) +
           " pixels on a side)";
  if (width * height > kMaxImagePixels)
    return path + ": a " + size + " picture is larger than the " +
           std::to_string(kMaxImagePixels / 1000000) + " megapixels supported";
  std::error_code error;
  const std::uint64_t fileBytes = std::filesystem::file_size(path, error);
  // A little room for rounding and padding in small files.
  constexpr std::uint64_t kSlack = 1 << 20;
  if (expansion > 0 && !error && decodedBytes > fileBytes * expansion + kSlack)
    return path + ": truncated or corrupt: the file is too short for a " + size + " picture";
  return {};
}

void CheckDeclaredSize(const std::string& path, std::uint64_t width, std::uint64_t height,
                       std::uint64_t decodedBytes, std::uint64_t expansion) {
  const std::string problem = DeclaredSizeProblem(path, width, height, decodedBytes, expansion);
  if (!problem.empty()) Fail(problem);
}

testhost::Image ReadImageFile(const std::string& path) {
  // The content decides, not the name: a mislabelled file still reads.
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) Fail("cannot open " + path + ": " + std::strerror(errno));
  unsigned char magic[8] = {};
  const std::size_t got = std::fread(magic, 1, sizeof magic, file);
  std::fclose(file);
  static const unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (got == 8 && std::memcmp(magic, kPng, 8) == 0) return ReadPng(path);
  if (got >= 3 && magic[0] == 0xff && magic[1] == 0xd8 && magic[2] == 0xff) return ReadJpeg(path);
  if (got >= 4 && ((magic[0] == 'I' && magic[1] == 'I' && magic[2] == 42 && magic[3] == 0) ||
                   (magic[0] == 'M' && magic[1] == 'M' && magic[2] == 0 && magic[3] == 42)))
    return ReadTiff(path);
  Fail(path + ": not a PNG, JPEG or TIFF image");
}

void WriteImageFile(const testhost::Image& image, const std::string& path, ImageFileKind kind,
                    PngCompression compression, int jpegQuality, const ImageMetadata* metadata) {
  switch (kind) {
    case ImageFileKind::Png:
      WritePng(image.depth == 32 ? ConvertDepth(image, 16) : image, path, compression, metadata);
      break;
    case ImageFileKind::Jpeg:
      // A picture JPEG can hold as it is goes out without a copy.
      if (image.depth == 8 && !image.transparency)
        WriteJpeg(image, path, jpegQuality, metadata);
      else
        WriteJpeg(ConvertDepth(DropTransparency(image), 8), path, jpegQuality, metadata);
      break;
    case ImageFileKind::Tiff:
      WriteTiff(image, path, metadata);
      break;
  }
}

std::uint16_t HostFromFile16(std::uint16_t fileValue) {
  return std::uint16_t((std::uint32_t(fileValue) * 32768u + 32767u) / 65535u);
}

std::uint16_t FileFromHost16(std::uint16_t hostValue) {
  const std::uint32_t v = std::min<std::uint32_t>(hostValue, 32768u);
  return std::uint16_t((v * 65535u + 16384u) / 32768u);
}

testhost::Image ConvertDepth(const testhost::Image& image, int depth) {
  if (image.depth == depth) return image;
  testhost::Image out = testhost::Image::Make(image.width, image.height, image.colorPlanes, depth,
                                              image.transparency);
  const double scale = out.MaxValue() / image.MaxValue();
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      for (int p = 0; p < image.Planes(); ++p) {
        double v = image.Get(x, y, p) * scale;
        if (depth == 32) v = std::clamp(v, 0.0, 1.0);
        out.Set(x, y, p, v);
      }
  return out;
}

testhost::Image DropTransparency(const testhost::Image& image) {
  if (!image.transparency) return image;
  testhost::Image out =
      testhost::Image::Make(image.width, image.height, image.colorPlanes, image.depth, false);
  const std::size_t colorBytes = out.PixelBytes();
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      std::memcpy(out.SamplePtr(x, y, 0), image.SamplePtr(x, y, 0), colorBytes);
  return out;
}

}  // namespace cli
