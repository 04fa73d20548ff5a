#include "params/FilePaths.h"

namespace stellane {

std::FILE* OpenFile(const char* path, const char* mode) { return std::fopen(path, mode); }

}  // namespace stellane
