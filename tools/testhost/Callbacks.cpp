// The row callbacks and services: abort, progress, advanceState,
// displayPixels and colour services. Each records its call; none throws.
#include <algorithm>
#include <cstring>

#include "testhost/DisplayDraw.h"
#include "testhost/Session.h"

namespace testhost {

namespace {

constexpr ps::OSErr kErrInvalidSamplePoint = -30903;

int PlanesOfMode(std::int32_t mode) {
  switch (mode) {
    case ps::plugInModeGrayScale:
    case ps::plugInModeGray16:
    case ps::plugInModeGray32:
      return 1;
    case ps::plugInModeRGBColor:
    case ps::plugInModeRGB48:
    case ps::plugInModeRGB96:
      return 3;
    default:
      return 0;
  }
}

std::int16_t To255(double value, double max) {
  return std::int16_t(std::clamp(value / max * 255.0 + 0.5, 0.0, 255.0));
}

std::int16_t Luma(const std::int16_t rgb[3]) {
  return std::int16_t((77 * rgb[0] + 150 * rgb[1] + 28 * rgb[2]) >> 8);
}

// Converts 0..255 components between RGB and grey; other spaces are not
// offered by this host.
ps::OSErr Convert(std::int16_t components[4], std::int16_t from, std::int16_t to) {
  if (from == to) return ps::noErr;
  if (from == ps::plugIncolorServicesRGBSpace && to == ps::plugIncolorServicesGraySpace) {
    components[0] = Luma(components);
    components[1] = components[2] = components[3] = 0;
    return ps::noErr;
  }
  if (from == ps::plugIncolorServicesGraySpace && to == ps::plugIncolorServicesRGBSpace) {
    components[1] = components[2] = components[0];
    components[3] = 0;
    return ps::noErr;
  }
  return ps::errPlugInHostInsufficient;
}

ps::OSErr AnswerColor(ps::ColorServicesInfo* info, const std::int16_t rgb[3]) {
  std::int16_t c[4] = {rgb[0], rgb[1], rgb[2], 0};
  const std::int16_t target = info->resultSpace == ps::plugIncolorServicesChosenSpace
                                  ? std::int16_t(ps::plugIncolorServicesRGBSpace)
                                  : info->resultSpace;
  const ps::OSErr err = Convert(c, ps::plugIncolorServicesRGBSpace, target);
  if (err != ps::noErr) return err;
  std::memcpy(info->colorComponents, c, sizeof c);
  info->resultSpace = target;
  info->resultGamutInfoValid = true;
  info->resultInGamut = true;
  return ps::noErr;
}

ps::OSErr ServeColor(Session& s, ps::ColorServicesInfo* info) {
  const HostConfig& c = s.config;
  if (c.quirks.colorServicesRefuseAll) return ps::errPlugInHostInsufficient;
  switch (info->selector) {
    case ps::plugIncolorServicesChooseColor:
      if (c.chooseColorCancels) return ps::userCanceledErr;
      return AnswerColor(info, c.chosenColor);
    case ps::plugIncolorServicesConvertColor:
      return Convert(info->colorComponents, info->sourceSpace, info->resultSpace);
    case ps::plugIncolorServicesSamplePoint: {
      const ps::Point16* p = info->selectorParameter.globalSamplePoint;
      const Image& im = s.image;
      if (!p || p->h < 0 || p->v < 0 || p->h >= im.width || p->v >= im.height)
        return kErrInvalidSamplePoint;
      std::int16_t rgb[3];
      for (int i = 0; i < 3; ++i)
        rgb[i] = To255(im.Get(p->h, p->v, im.colorPlanes == 3 ? i : 0), im.MaxValue());
      return AnswerColor(info, rgb);
    }
    case ps::plugIncolorServicesGetSpecialColor: {
      if (c.quirks.specialColorRefused) return ps::errPlugInHostInsufficient;
      const std::int32_t id = info->selectorParameter.specialColorID;
      if (id != 0 && id != 1) return ps::paramErr;
      const ps::RGBColor& color = id == 0 ? c.foreground : c.background;
      const std::int16_t rgb[3] = {std::int16_t(color.red >> 8), std::int16_t(color.green >> 8),
                                   std::int16_t(color.blue >> 8)};
      return AnswerColor(info, rgb);
    }
    default:
      return ps::paramErr;
  }
}

// pspiHost's property suite: every query succeeds and says nothing.
ps::OSErr GetPropertySilently(ps::OSType, ps::OSType, ps::int32, std::intptr_t*, ps::Handle*) {
  return ps::noErr;
}
ps::OSErr SetPropertySilently(ps::OSType, ps::OSType, ps::int32, std::intptr_t, ps::Handle) {
  return ps::noErr;
}

}  // namespace

void FillSilentPropertyProcs(ps::PropertyProcs& procs) {
  procs.propertyProcsVersion = 1;
  procs.numPropertyProcs = 2;
  procs.getPropertyProc = GetPropertySilently;
  procs.setPropertyProc = SetPropertySilently;
}

ps::Boolean AbortCallback() {
  Session* s = ActiveSession();
  if (!s) return false;
  const int calls = s->log.abortCalls++;
  return s->config.abortAfterCalls >= 0 && calls >= s->config.abortAfterCalls;
}

void ProgressCallback(std::int32_t done, std::int32_t total) {
  Session* s = ActiveSession();
  if (!s) return;
  try {
    s->log.progress.push_back({done, total});
  } catch (...) {
  }
}

ps::OSErr AdvanceStateCallback() {
  Session* s = ActiveSession();
  if (!s || !s->fr) return ps::paramErr;
  ++s->log.advanceStateCalls;
  try {
    return s->ExchangePixels(true);
  } catch (...) {
    return ps::memFullErr;
  }
}

ps::OSErr DisplayPixelsCallback(const ps::PSPixelMap* source, const ps::VRect* srcRect,
                                std::int32_t dstRow, std::int32_t dstCol, void* platformContext) {
  Session* s = ActiveSession();
  if (!s) return ps::paramErr;
  // Paint.NET refuses these too; a real host would read through them.
  if (!source || !srcRect || !source->baseAddr || source->rowBytes == 0)
    return ps::filterBadParameters;
  const ps::VRect r = *srcRect;
  const ps::VRect b = source->bounds;
  if (r.top < b.top || r.left < b.left || r.bottom > b.bottom || r.right > b.right ||
      r.top > r.bottom || r.left > r.right) {
    s->ProtocolError("displayPixels: srcRect outside the pixel map");
    return ps::paramErr;
  }
  const int planes = PlanesOfMode(source->imageMode);
  if (planes == 0) return ps::filterBadParameters;
  const int bytesPerSample = source->version >= 3 && source->depth > 8 ? source->depth / 8 : 1;
  try {
    DisplayCall call{};
    call.srcRect = r;
    call.bounds = b;
    call.dstRow = dstRow;
    call.dstCol = dstCol;
    call.version = source->version;
    call.imageMode = source->imageMode;
    call.rowBytes = source->rowBytes;
    call.colBytes = source->colBytes;
    call.planeBytes = source->planeBytes;
    call.planes = planes;
    call.bytesPerSample = bytesPerSample;
    call.platformContext = platformContext;
    ReadDisplayedPixels(*s, *source, call);
    s->log.displays.push_back(std::move(call));
    DrawDisplayCall(s->log.displays.back());
  } catch (...) {
    return ps::memFullErr;
  }
  return ps::noErr;
}

ps::OSErr ColorServicesCallback(ps::ColorServicesInfo* info) {
  Session* s = ActiveSession();
  if (!s || !info) return ps::paramErr;
  if (info->infoSize < std::int32_t(sizeof(ps::ColorServicesInfo))) {
    s->ProtocolError("colorServices: infoSize too small");
    return ps::paramErr;
  }
  const ColorCall call{info->selector, info->sourceSpace, info->resultSpace, ps::noErr};
  const ps::OSErr answer = ServeColor(*s, info);
  try {
    s->log.colorCalls.push_back(call);
    s->log.colorCalls.back().answer = answer;
  } catch (...) {
  }
  return answer;
}

}  // namespace testhost
