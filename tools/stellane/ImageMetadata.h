// What a photo carries besides its pixels, taken from the input file and
// written into the output where the output's format can hold it:
//
// | item         | PNG                    | JPEG                  | TIFF                    |
// |--------------|------------------------|-----------------------|-------------------------|
// | ICC profile  | iCCP                   | APP2 ICC_PROFILE      | tag 34675               |
// | resolution   | pHYs (per metre)       | JFIF density          | X/YResolution, unit     |
// | EXIF         | eXIf                   | APP1 "Exif"           | (not carried)           |
// | XMP          | iTXt XML:com.adobe.xmp | APP1 Adobe XMP        | tag 700                 |
// | comments     | tEXt/zTXt/iTXt         | COM ("Comment")       | ImageDescription        |
//
// The readers look at the header only (a PNG's chunks before its pixel
// data); what they cannot read is left out, never a failure: the pixels
// matter, the metadata is carried as far as it goes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "stellane/ImageFiles.h"

struct jpeg_compress_struct;
struct png_struct_def;
struct png_info_def;
struct tiff;

namespace cli {

struct ImageMetadata {
  std::vector<std::uint8_t> iccProfile;
  double xDpi = 0, yDpi = 0;       // pixels per inch; 0: not stated
  std::vector<std::uint8_t> exif;  // the TIFF structure ("II*\0" or "MM\0*" first)
  std::string xmp;                 // the XML packet
  std::vector<std::pair<std::string, std::string>> comments;  // keyword, text
};

// The comment a JPEG COM marker or a TIFF description holds: a comment
// whose keyword is "Comment" or "Description" (PNG keeps every text chunk).
bool IsPlainComment(const std::string& keyword);

// The metadata of a PNG, JPEG or TIFF file (by content); empty for anything
// unreadable.
ImageMetadata ReadImageMetadata(const std::string& path);
ImageMetadata ReadPngMetadata(const std::string& path);
ImageMetadata ReadJpegMetadata(const std::string& path);
ImageMetadata ReadTiffMetadata(const std::string& path);

// Writers' hooks, each called once by the format's writer: PNG before the
// header is written; JPEG the density before jpeg_start_compress and the
// markers right after it; TIFF before the first row.
void PutPngMetadata(png_struct_def* png, png_info_def* info, const ImageMetadata& metadata);
void SetJpegDensity(jpeg_compress_struct& cinfo, const ImageMetadata& metadata);
void PutJpegMarkers(jpeg_compress_struct& cinfo, const ImageMetadata& metadata);
void PutTiffMetadata(tiff* file, const ImageMetadata& metadata);

}  // namespace cli
