// The image resources of an export, in the order the file carries them.
// Each: "8BIM", id, empty name (two zero bytes), 32-bit length, data padded
// to an even length.
#include <cmath>
#include <cstring>
#include <vector>

#include "export/PsdWriter.h"

namespace stellane {

namespace {

void PutResource(ByteSink& sink, std::uint16_t id, const std::vector<std::uint8_t>& data) {
  PutText(sink, "8BIM");
  PutU16(sink, id);
  PutU16(sink, 0);
  PutU32(sink, static_cast<std::uint32_t>(data.size()));
  PutBytes(sink, data.data(), data.size());
  if (data.size() % 2 != 0) PutU8(sink, 0);
}

void Add16(std::vector<std::uint8_t>& v, std::uint32_t x) {
  v.push_back(static_cast<std::uint8_t>(x >> 8));
  v.push_back(static_cast<std::uint8_t>(x));
}

void Add32(std::vector<std::uint8_t>& v, std::uint32_t x) {
  Add16(v, x >> 16);
  Add16(v, x);
}

void AddText(std::vector<std::uint8_t>& v, const char* text) {
  v.insert(v.end(), text, text + std::strlen(text));
}

// Resolution: dpi (16.16 fixed) across and down, inches, inches.
std::vector<std::uint8_t> Resolution(double dpi) {
  const double clamped = dpi >= 1.0 && dpi <= 30000.0 ? dpi : 72.0;
  std::vector<std::uint8_t> v;
  for (int axis = 0; axis < 2; ++axis) {
    Add32(v, static_cast<std::uint32_t>(std::lround(clamped * 65536.0)));
    Add16(v, 1);
    Add16(v, 1);
  }
  return v;
}

std::vector<std::uint8_t> PrintFlags() {
  std::vector<std::uint8_t> v(9, 0);
  v[8] = 1;
  return v;
}

// Four records of 14 words: 0, eleven times -1, 1000, 0.
std::vector<std::uint8_t> Resource1016() {
  std::vector<std::uint8_t> v;
  for (int record = 0; record < 4; ++record) {
    Add16(v, 0);
    for (int i = 0; i < 11; ++i) Add16(v, 0xFFFF);
    Add16(v, 1000);
    Add16(v, 0);
  }
  return v;
}

std::vector<std::uint8_t> Url() {
  std::vector<std::uint8_t> v;
  Add32(v, static_cast<std::uint32_t>(std::strlen(kMakerWebAddress)));
  AddText(v, kMakerWebAddress);
  return v;
}

void AddDataset(std::vector<std::uint8_t>& v, std::uint8_t dataset, const std::uint8_t* value,
                std::size_t size) {
  v.push_back(0x1C);
  v.push_back(2);
  v.push_back(dataset);
  Add16(v, static_cast<std::uint32_t>(size));
  v.insert(v.end(), value, value + size);
}

void AddTextDataset(std::vector<std::uint8_t>& v, std::uint8_t dataset, const char* text) {
  AddDataset(v, dataset, reinterpret_cast<const std::uint8_t*>(text), std::strlen(text));
}

// IPTC-NAA: record version, source, date created, caption, keyword.
std::vector<std::uint8_t> Iptc(const char* date) {
  std::vector<std::uint8_t> v;
  const std::uint8_t version[2] = {0, 2};
  AddDataset(v, 0, version, 2);
  AddTextDataset(v, 115, kMakerWebAddress);
  AddDataset(v, 55, reinterpret_cast<const std::uint8_t*>(date), strnlen(date, 8));
  AddTextDataset(v, 120, "Made with Stellane");
  AddTextDataset(v, 25, kProductName);
  return v;
}

// "Exif", two zero bytes, then a big-endian TIFF with one IFD holding the
// software tag; the name (with its zero) follows the IFD.
std::vector<std::uint8_t> Exif() {
  std::vector<std::uint8_t> v;
  AddText(v, "Exif");
  Add16(v, 0);
  AddText(v, "MM");
  Add16(v, 42);
  Add32(v, 8);    // first IFD
  Add16(v, 1);    // entries
  Add16(v, 305);  // software
  Add16(v, 2);    // ASCII
  const std::uint32_t count = static_cast<std::uint32_t>(std::strlen(kProductName) + 1);
  Add32(v, count);
  Add32(v, 8 + 2 + 12 + 4);  // the value, after the IFD and its next-IFD word
  Add32(v, 0);               // no next IFD
  AddText(v, kProductName);
  v.push_back(0);
  return v;
}

}  // namespace

void PutPsdResources(ByteSink& sink, const PsdJob& job, const PsdExtras& extras) {
  PutResource(sink, 1005, Resolution(extras.dpi));
  PutResource(sink, 1011, PrintFlags());
  PutResource(sink, 1016, Resource1016());
  PutResource(sink, 1035, Url());
  if (extras.iccProfile != nullptr && extras.iccProfileSize > 0) {
    PutResource(
        sink, 1039,
        std::vector<std::uint8_t>(extras.iccProfile, extras.iccProfile + extras.iccProfileSize));
  }
  PutResource(sink, 1028, Iptc(extras.date));
  PutResource(sink, 1058, Exif());
  if (job.bytesPerChannel == 4) {
    PutResource(sink, 1069, {0, 1, 0, 0, 0, 12});
    PutResource(sink, 1072, std::vector<std::uint8_t>(std::size_t(job.layerCount), 1));
  }
  std::vector<std::uint8_t> target;
  Add16(target, static_cast<std::uint32_t>(job.layerCount));
  PutResource(sink, 1024, target);
  PutResource(sink, 1026, std::vector<std::uint8_t>(2 * std::size_t(job.layerCount), 0));
}

}  // namespace stellane
