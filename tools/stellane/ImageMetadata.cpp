#include "stellane/ImageMetadata.h"

#include <cstdio>
#include <cstring>

namespace cli {

bool IsPlainComment(const std::string& keyword) {
  return keyword == "Comment" || keyword == "Description";
}

ImageMetadata ReadImageMetadata(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return {};
  unsigned char magic[4] = {};
  const std::size_t got = std::fread(magic, 1, sizeof magic, file);
  std::fclose(file);
  if (got < 4) return {};
  if (magic[0] == 0x89 && magic[1] == 'P' && magic[2] == 'N' && magic[3] == 'G')
    return ReadPngMetadata(path);
  if (magic[0] == 0xff && magic[1] == 0xd8) return ReadJpegMetadata(path);
  if ((magic[0] == 'I' && magic[1] == 'I') || (magic[0] == 'M' && magic[1] == 'M'))
    return ReadTiffMetadata(path);
  return {};
}

}  // namespace cli
