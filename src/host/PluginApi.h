// Our declaration of the Photoshop filter plug-in interface: the structures,
// callback types and constants that Stellane and its hosts exchange.
//
// Binary layout is that of the 64-bit Windows hosts: the FilterRecord is
// packed to 4 bytes (so many of its pointers sit on 4-byte boundaries), every
// other record uses natural alignment. The same fixed-width types give the
// same layout on 64-bit Linux, where our command-line host and tests load the
// plug-in; the offsets are asserted at the bottom of this file.
//
// Packed pointer fields must be read into locals and written back whole;
// never take their address.
#pragma once

#include <cstddef>
#include <cstdint>

#include "params/FourCC.h"

namespace ps {

using int8 = std::int8_t;
using int16 = std::int16_t;
using int32 = std::int32_t;
using int64 = std::int64_t;
using uint8 = std::uint8_t;
using uint16 = std::uint16_t;
using uint32 = std::uint32_t;

using Boolean = std::uint8_t;
using Fixed = std::int32_t;  // 16.16
using OSErr = std::int16_t;
using OSType = std::uint32_t;  // four-char code held as a number: '8BIM' = 0x3842494D
using DescriptorKeyID = std::uint32_t;
using DescriptorTypeID = std::uint32_t;
using DescriptorEnumID = std::uint32_t;
using DescriptorEnumTypeID = std::uint32_t;
using DescriptorUnitID = std::uint32_t;
using DescriptorClassID = std::uint32_t;
using Ptr = char*;
using Handle = char**;
using BufferID = struct BufferOpaque*;
using PIReadDescriptor = struct ReadDescriptorOpaque*;
using PIWriteDescriptor = struct WriteDescriptorOpaque*;
using PIDescriptorHandle = Handle;
using Str255 = unsigned char[256];

// Four-char code as the number hosts store, e.g. FourCC("8BIM").
using stellane::FourCC;

// ---- Small records (QuickDraw order: top, left, bottom, right; v before h)

struct Point16 {
  int16 v;
  int16 h;
};

struct Rect16 {
  int16 top;
  int16 left;
  int16 bottom;
  int16 right;
};

struct VPoint {
  int32 v;
  int32 h;
};

struct VRect {
  int32 top;
  int32 left;
  int32 bottom;
  int32 right;
};

struct RGBColor {
  uint16 red;
  uint16 green;
  uint16 blue;
};

using FilterColor = uint8[4];

struct PlugInMonitor {
  Fixed gamma, redX, redY, greenX, greenY, blueX, blueY, whiteX, whiteY, ambient;
};

// ---- Callback types (plain C functions on every platform)

using TestAbortProc = Boolean (*)();
using ProgressProc = void (*)(int32 done, int32 total);
using HostProc = void (*)(int16 selector, intptr_t* data);
using ProcessEventProc = void (*)(void* event);
struct PSPixelMap;
using DisplayPixelsProc = OSErr (*)(const PSPixelMap* source, const VRect* srcRect, int32 dstRow,
                                    int32 dstCol, void* platformContext);
using AdvanceStateProc = OSErr (*)();
struct ColorServicesInfo;
using ColorServicesProc = OSErr (*)(ColorServicesInfo* info);
using GetPropertyProc = OSErr (*)(OSType signature, OSType key, int32 index,
                                  intptr_t* simpleProperty, Handle* complexProperty);
using SetPropertyProc = OSErr (*)(OSType signature, OSType key, int32 index,
                                  intptr_t simpleProperty, Handle complexProperty);

// ---- Suites (natural alignment; version and count first, slots from offset 8)

struct HandleProcs {
  int16 handleProcsVersion;
  int16 numHandleProcs;
  Handle (*newProc)(int32 size);
  void (*disposeProc)(Handle h);
  int32 (*getSizeProc)(Handle h);
  OSErr (*setSizeProc)(Handle h, int32 newSize);
  Ptr (*lockProc)(Handle h, Boolean moveHigh);
  void (*unlockProc)(Handle h);
  void (*recoverSpaceProc)(int32 size);
  void (*disposeRegularHandleProc)(Handle h);
};

struct BufferProcs {
  int16 bufferProcsVersion;
  int16 numBufferProcs;
  OSErr (*allocateProc)(int32 size, BufferID* bufferID);
  Ptr (*lockProc)(BufferID bufferID, Boolean moveHigh);
  void (*unlockProc)(BufferID bufferID);
  void (*freeProc)(BufferID bufferID);
  int32 (*spaceProc)();
  OSErr (*reserveProc)(int32 size);  // from here on only when numBufferProcs >= 8
  OSErr (*allocateProc64)(int64 size, BufferID* bufferID);
  int64 (*spaceProc64)();
};

struct ResourceProcs {
  int16 resourceProcsVersion;
  int16 numResourceProcs;
  int16 (*countProc)(OSType type);
  Handle (*getProc)(OSType type, int16 index);
  void (*deleteProc)(OSType type, int16 index);
  OSErr (*addProc)(OSType type, Handle data);
};

struct PropertyProcs {
  int16 propertyProcsVersion;
  int16 numPropertyProcs;
  GetPropertyProc getPropertyProc;
  SetPropertyProc setPropertyProc;
};

struct ColorServicesInfo {
  int32 infoSize;
  int16 selector;
  int16 sourceSpace;
  int16 resultSpace;
  Boolean resultGamutInfoValid;
  Boolean resultInGamut;
  void* reservedSourceSpaceInfo;
  void* reservedResultSpaceInfo;
  int16 colorComponents[4];
  void* reserved;
  union {
    Str255* pickerPrompt;
    Point16* globalSamplePoint;
    int32 specialColorID;
  } selectorParameter;
};

struct PSPixelMask {
  PSPixelMask* next;
  void* maskData;
  int32 rowBytes;
  int32 colBytes;
  int32 maskDescription;
};

struct PSPixelOverlay {
  PSPixelOverlay* next;
  void* data;
  int32 rowBytes;
  int32 colBytes;
  uint8 red, green, blue, opacity;
  int32 overlayAlgorithm;
};

struct PSPixelMap {
  int32 version;
  VRect bounds;
  int32 imageMode;
  int32 rowBytes;
  int32 colBytes;
  int32 planeBytes;
  void* baseAddr;
  PSPixelMask* mat;  // version 1 from here on
  PSPixelMask* masks;
  int32 maskPhaseRow;
  int32 maskPhaseCol;
  PSPixelOverlay* pixelOverlays;  // version 2
  uint32 colorManagementOptions;
  int16 depth;  // version 3
};

struct PlatformData {
  intptr_t hwnd;  // parent window of the plug-in's dialogs, 0 when the host has none
};

struct PIDescriptorSimpleReference {
  DescriptorClassID desiredClass;
  uint32 keyForm;
  struct {
    Str255 name;
    int32 index;
    DescriptorTypeID type;
    DescriptorEnumID value;
  } keyData;
};

struct ReadDescriptorProcs {
  int16 readDescriptorProcsVersion;
  int16 numReadDescriptorProcs;
  PIReadDescriptor (*openReadDescriptorProc)(PIDescriptorHandle descriptor,
                                             DescriptorKeyID* keyArray);
  OSErr (*closeReadDescriptorProc)(PIReadDescriptor rd);
  Boolean (*getKeyProc)(PIReadDescriptor rd, DescriptorKeyID* key, DescriptorTypeID* type,
                        int32* flags);
  OSErr (*getIntegerProc)(PIReadDescriptor rd, int32* value);
  OSErr (*getFloatProc)(PIReadDescriptor rd, double* value);
  OSErr (*getUnitFloatProc)(PIReadDescriptor rd, DescriptorUnitID* unit, double* value);
  OSErr (*getBooleanProc)(PIReadDescriptor rd, Boolean* value);
  OSErr (*getTextProc)(PIReadDescriptor rd, Handle* value);
  OSErr (*getAliasProc)(PIReadDescriptor rd, Handle* value);
  OSErr (*getEnumeratedProc)(PIReadDescriptor rd, DescriptorEnumID* value);
  OSErr (*getClassProc)(PIReadDescriptor rd, DescriptorTypeID* value);
  OSErr (*getSimpleReferenceProc)(PIReadDescriptor rd, PIDescriptorSimpleReference* value);
  OSErr (*getObjectProc)(PIReadDescriptor rd, DescriptorClassID* type, PIDescriptorHandle* value);
  OSErr (*getCountProc)(PIReadDescriptor rd, uint32* value);
  OSErr (*getStringProc)(PIReadDescriptor rd, Str255* value);
  OSErr (*getPinnedIntegerProc)(PIReadDescriptor rd, int32 min, int32 max, int32* value);
  OSErr (*getPinnedFloatProc)(PIReadDescriptor rd, const double* min, const double* max,
                              double* value);
  OSErr (*getPinnedUnitFloatProc)(PIReadDescriptor rd, const double* min, const double* max,
                                  DescriptorUnitID* unit, double* value);
};

struct WriteDescriptorProcs {
  int16 writeDescriptorProcsVersion;
  int16 numWriteDescriptorProcs;
  PIWriteDescriptor (*openWriteDescriptorProc)();
  OSErr (*closeWriteDescriptorProc)(PIWriteDescriptor wd, PIDescriptorHandle* descriptor);
  OSErr (*putIntegerProc)(PIWriteDescriptor wd, DescriptorKeyID key, int32 value);
  OSErr (*putFloatProc)(PIWriteDescriptor wd, DescriptorKeyID key, const double* value);
  OSErr (*putUnitFloatProc)(PIWriteDescriptor wd, DescriptorKeyID key, DescriptorUnitID unit,
                            const double* value);
  OSErr (*putBooleanProc)(PIWriteDescriptor wd, DescriptorKeyID key, Boolean value);
  OSErr (*putTextProc)(PIWriteDescriptor wd, DescriptorKeyID key, Handle value);
  OSErr (*putAliasProc)(PIWriteDescriptor wd, DescriptorKeyID key, Handle value);
  OSErr (*putEnumeratedProc)(PIWriteDescriptor wd, DescriptorKeyID key, DescriptorTypeID type,
                             DescriptorEnumID value);
  OSErr (*putClassProc)(PIWriteDescriptor wd, DescriptorKeyID key, DescriptorTypeID value);
  OSErr (*putSimpleReferenceProc)(PIWriteDescriptor wd, DescriptorKeyID key,
                                  const PIDescriptorSimpleReference* value);
  OSErr (*putObjectProc)(PIWriteDescriptor wd, DescriptorKeyID key, DescriptorClassID type,
                         PIDescriptorHandle value);
  OSErr (*putCountProc)(PIWriteDescriptor wd, DescriptorKeyID key, uint32 count);
  OSErr (*putStringProc)(PIWriteDescriptor wd, DescriptorKeyID key, const unsigned char* value);
  OSErr (*putScopedClassProc)(PIWriteDescriptor wd, DescriptorKeyID key, DescriptorTypeID value);
  OSErr (*putScopedObjectProc)(PIWriteDescriptor wd, DescriptorKeyID key, DescriptorClassID type,
                               PIDescriptorHandle value);
};

struct PIDescriptorParameters {
  int16 descriptorParametersVersion;
  int16 playInfo;
  int16 recordInfo;
  PIDescriptorHandle descriptor;
  WriteDescriptorProcs* writeDescriptorProcs;
  ReadDescriptorProcs* readDescriptorProcs;
};

// The About selector passes this record instead of a FilterRecord.
struct AboutRecord {
  void* platformData;
  void* sSPBasic;
  void* plugInRef;
  char reserved[244];
};

// ---- The filter record (4-byte packed)

#pragma pack(push, 4)

struct BigDocumentStruct {
  int32 PluginUsing32BitCoordinates;
  VPoint imageSize32;
  VRect filterRect32;
  VRect inRect32;
  VRect outRect32;
  VRect maskRect32;
  VPoint floatCoord32;
  VPoint wholeSize32;
};

struct FilterRecord {
  int32 serialNumber;
  TestAbortProc abortProc;
  ProgressProc progressProc;
  Handle parameters;
  Point16 imageSize;
  int16 planes;
  Rect16 filterRect;
  RGBColor background;
  RGBColor foreground;
  int32 maxSpace;
  int32 bufferSpace;
  Rect16 inRect;
  int16 inLoPlane;
  int16 inHiPlane;
  Rect16 outRect;
  int16 outLoPlane;
  int16 outHiPlane;
  void* inData;
  int32 inRowBytes;
  void* outData;
  int32 outRowBytes;
  Boolean isFloating;
  Boolean haveMask;
  Boolean autoMask;
  Rect16 maskRect;
  void* maskData;
  int32 maskRowBytes;
  FilterColor backColor;
  FilterColor foreColor;
  OSType hostSig;
  HostProc hostProc;
  int16 imageMode;
  Fixed imageHRes;
  Fixed imageVRes;
  Point16 floatCoord;
  Point16 wholeSize;
  PlugInMonitor monitor;
  void* platformData;
  BufferProcs* bufferProcs;
  ResourceProcs* resourceProcs;
  ProcessEventProc processEvent;
  DisplayPixelsProc displayPixels;
  HandleProcs* handleProcs;
  // 3.0
  Boolean supportsDummyChannels;
  Boolean supportsAlternateLayouts;
  int16 wantLayout;
  int16 filterCase;
  int16 dummyPlaneValue;
  void* premiereHook;
  AdvanceStateProc advanceState;
  Boolean supportsAbsolute;
  Boolean wantsAbsolute;
  GetPropertyProc getPropertyObsolete;
  Boolean cannotUndo;
  Boolean supportsPadding;
  int16 inputPadding;
  int16 outputPadding;
  int16 maskPadding;
  char samplingSupport;
  char reservedByte;
  Fixed inputRate;
  Fixed maskRate;
  ColorServicesProc colorServices;
  int16 inLayerPlanes;
  int16 inTransparencyMask;
  int16 inLayerMasks;
  int16 inInvertedLayerMasks;
  int16 inNonLayerPlanes;
  int16 outLayerPlanes;
  int16 outTransparencyMask;
  int16 outLayerMasks;
  int16 outInvertedLayerMasks;
  int16 outNonLayerPlanes;
  int16 absLayerPlanes;
  int16 absTransparencyMask;
  int16 absLayerMasks;
  int16 absInvertedLayerMasks;
  int16 absNonLayerPlanes;
  int16 inPreDummyPlanes;
  int16 inPostDummyPlanes;
  int16 outPreDummyPlanes;
  int16 outPostDummyPlanes;
  int32 inColumnBytes;
  int32 inPlaneBytes;
  int32 outColumnBytes;
  int32 outPlaneBytes;
  // 3.0.4
  void* imageServicesProcs;
  PropertyProcs* propertyProcs;
  int16 inTileHeight;
  int16 inTileWidth;
  Point16 inTileOrigin;
  int16 absTileHeight;
  int16 absTileWidth;
  Point16 absTileOrigin;
  int16 outTileHeight;
  int16 outTileWidth;
  Point16 outTileOrigin;
  int16 maskTileHeight;
  int16 maskTileWidth;
  Point16 maskTileOrigin;
  // 4.0
  PIDescriptorParameters* descriptorParameters;
  Str255* errorString;
  void* channelPortProcs;
  void* documentInfo;
  // 5.0
  void* sSPBasic;
  void* plugInRef;
  int32 depth;
  // 6.0: the last fields that third-party hosts are known to fill
  Handle iCCprofileData;
  int32 iCCprofileSize;
  int32 canUseICCProfiles;
  // 7.0 and later: read only under a genuine Photoshop host
  int32 hasImageScrap;
  BigDocumentStruct* bigDocumentData;
  PIDescriptorParameters* input3DScene;
  PIDescriptorParameters* output3DScene;
  Boolean createNewLayer;
  Handle iCCWorkingProfileData;
  int32 iCCWorkingProfileSize;
  int64 bufferSpace64;
  int64 maxSpace64;
  Boolean allowOverrangeColors;
  char reserved[45];
};

#pragma pack(pop)

// ---- Constants

enum FilterSelector : int16 {
  filterSelectorAbout = 0,
  filterSelectorParameters = 1,
  filterSelectorPrepare = 2,
  filterSelectorStart = 3,
  filterSelectorContinue = 4,
  filterSelectorFinish = 5,
};

enum ImageMode : int16 {
  plugInModeBitmap = 0,
  plugInModeGrayScale = 1,
  plugInModeIndexedColor = 2,
  plugInModeRGBColor = 3,
  plugInModeCMYKColor = 4,
  plugInModeHSLColor = 5,
  plugInModeHSBColor = 6,
  plugInModeMultichannel = 7,
  plugInModeDuotone = 8,
  plugInModeLabColor = 9,
  plugInModeGray16 = 10,
  plugInModeRGB48 = 11,
  plugInModeLab48 = 12,
  plugInModeCMYK64 = 13,
  plugInModeDeepMultichannel = 14,
  plugInModeDuotone16 = 15,
  plugInModeRGB96 = 16,
  plugInModeGray32 = 17,
};

enum FilterCase : int16 {
  filterCaseUnsupported = -1,
  filterCaseNotSet = 0,  // the host left it out: look at haveMask and isFloating
  filterCaseFlatImageNoSelection = 1,
  filterCaseFlatImageWithSelection = 2,
  filterCaseFloatingSelection = 3,
  filterCaseEditableTransparencyNoSelection = 4,
  filterCaseEditableTransparencyWithSelection = 5,
  filterCaseProtectedTransparencyNoSelection = 6,
  filterCaseProtectedTransparencyWithSelection = 7,
};

// Data handling codes of the filter case information property.
enum FilterDataHandling : uint8 {
  filterDataHandlingCantFilter = 0,
  filterDataHandlingNone = 1,
  filterDataHandlingBlackMat = 2,
  filterDataHandlingGrayMat = 3,
  filterDataHandlingWhiteMat = 4,
  filterDataHandlingDefringe = 5,
  filterDataHandlingBlackZap = 6,
  filterDataHandlingGrayZap = 7,
  filterDataHandlingWhiteZap = 8,
  filterDataHandlingFillMask = 9,
  filterDataHandlingBackgroundZap = 10,
  filterDataHandlingForegroundZap = 11,
};

constexpr uint8 PIFilterDontCopyToDestinationBit = 0x01;
constexpr uint8 PIFilterWorksWithBlankDataBit = 0x02;
constexpr uint8 PIFilterFiltersLayerMaskBit = 0x04;
constexpr uint8 PIFilterWritesOutsideSelectionBit = 0x08;

enum ResultCode : OSErr {
  noErr = 0,
  coercedParamErr = 2,
  readErr = -19,
  writErr = -20,
  openErr = -23,
  dskFulErr = -34,
  ioErr = -36,
  eofErr = -39,
  fnfErr = -43,
  paramErr = -50,
  memFullErr = -108,
  nilHandleErr = -109,
  userCanceledErr = -128,
  errAEParamMissed = -1715,
  filterBadParameters = -30100,
  filterBadMode = -30101,
  errPlugInHostInsufficient = -30900,
  errPlugInPropertyUndefined = -30901,
  errReportString = -30904,
};

enum DialogRecordOption : int16 {
  plugInDialogOptional = 0,
  plugInDialogRequired = 1,
  plugInDialogNone = 2,
};

enum DialogPlayOption : int16 {
  plugInDialogDontDisplay = 0,
  plugInDialogDisplay = 1,
  plugInDialogSilent = 2,
};

enum ColorServicesSelector : int16 {
  plugIncolorServicesChooseColor = 0,
  plugIncolorServicesConvertColor = 1,
  plugIncolorServicesSamplePoint = 2,
  plugIncolorServicesGetSpecialColor = 3,
};

enum ColorServicesSpace : int16 {
  plugIncolorServicesChosenSpace = -1,
  plugIncolorServicesRGBSpace = 0,
  plugIncolorServicesHSBSpace = 1,
  plugIncolorServicesCMYKSpace = 2,
  plugIncolorServicesLabSpace = 3,
  plugIncolorServicesGraySpace = 4,
  plugIncolorServicesHSLSpace = 5,
  plugIncolorServicesXYZSpace = 6,
};

enum PaddingValue : int16 {
  plugInWantsEdgeReplication = -1,
  plugInDoesNotWantPadding = -2,
  plugInWantsErrorOnBoundsException = -3,
};

// Descriptor key flags answered by getKeyProc.
constexpr int32 actionSimpleParameter = 0;
constexpr int32 actionEnumeratedParameter = 0x2000;
constexpr int32 actionListParameter = 0x4000;
constexpr int32 actionOptionalParameter = 0x8000;

constexpr DescriptorTypeID typeInteger = FourCC("long");
constexpr DescriptorTypeID typeFloat = FourCC("doub");
constexpr DescriptorTypeID typeBoolean = FourCC("bool");
constexpr DescriptorTypeID typeText = FourCC("TEXT");
constexpr DescriptorTypeID typeEnumerated = FourCC("enum");
constexpr DescriptorTypeID typeNull = FourCC("null");
constexpr DescriptorTypeID typeImageReference = FourCC("#ImR");

constexpr int16 kCurrentHandleProcsVersion = 1;
constexpr int16 kCurrentHandleProcsCount = 8;
constexpr int16 kCurrentBufferProcsVersion = 2;
constexpr int16 kCurrentBufferProcsCount = 8;
constexpr int16 kCurrentReadDescriptorProcsCount = 18;
constexpr int16 kCurrentWriteDescriptorProcsCount = 16;

constexpr Fixed kFixedOne = 0x10000;

constexpr OSType kPhotoshopSignature = FourCC("8BIM");

// ---- Layout checks (64-bit Windows layout; identical on 64-bit Linux)

static_assert(sizeof(void*) == 8, "Stellane is a 64-bit plug-in");
static_assert(sizeof(Point16) == 4 && sizeof(Rect16) == 8 && sizeof(VRect) == 16);
static_assert(sizeof(RGBColor) == 6 && sizeof(PlugInMonitor) == 40);

#define STELLANE_AT(type, field, off) static_assert(offsetof(type, field) == (off), #field)
STELLANE_AT(FilterRecord, serialNumber, 0);
STELLANE_AT(FilterRecord, abortProc, 4);
STELLANE_AT(FilterRecord, progressProc, 12);
STELLANE_AT(FilterRecord, parameters, 20);
STELLANE_AT(FilterRecord, imageSize, 28);
STELLANE_AT(FilterRecord, planes, 32);
STELLANE_AT(FilterRecord, filterRect, 34);
STELLANE_AT(FilterRecord, background, 42);
STELLANE_AT(FilterRecord, foreground, 48);
STELLANE_AT(FilterRecord, maxSpace, 56);
STELLANE_AT(FilterRecord, bufferSpace, 60);
STELLANE_AT(FilterRecord, inRect, 64);
STELLANE_AT(FilterRecord, inLoPlane, 72);
STELLANE_AT(FilterRecord, inHiPlane, 74);
STELLANE_AT(FilterRecord, outRect, 76);
STELLANE_AT(FilterRecord, outLoPlane, 84);
STELLANE_AT(FilterRecord, outHiPlane, 86);
STELLANE_AT(FilterRecord, inData, 88);
STELLANE_AT(FilterRecord, inRowBytes, 96);
STELLANE_AT(FilterRecord, outData, 100);
STELLANE_AT(FilterRecord, outRowBytes, 108);
STELLANE_AT(FilterRecord, isFloating, 112);
STELLANE_AT(FilterRecord, haveMask, 113);
STELLANE_AT(FilterRecord, autoMask, 114);
STELLANE_AT(FilterRecord, maskRect, 116);
STELLANE_AT(FilterRecord, maskData, 124);
STELLANE_AT(FilterRecord, maskRowBytes, 132);
STELLANE_AT(FilterRecord, backColor, 136);
STELLANE_AT(FilterRecord, foreColor, 140);
STELLANE_AT(FilterRecord, hostSig, 144);
STELLANE_AT(FilterRecord, hostProc, 148);
STELLANE_AT(FilterRecord, imageMode, 156);
STELLANE_AT(FilterRecord, imageHRes, 160);
STELLANE_AT(FilterRecord, imageVRes, 164);
STELLANE_AT(FilterRecord, floatCoord, 168);
STELLANE_AT(FilterRecord, wholeSize, 172);
STELLANE_AT(FilterRecord, monitor, 176);
STELLANE_AT(FilterRecord, platformData, 216);
STELLANE_AT(FilterRecord, bufferProcs, 224);
STELLANE_AT(FilterRecord, resourceProcs, 232);
STELLANE_AT(FilterRecord, processEvent, 240);
STELLANE_AT(FilterRecord, displayPixels, 248);
STELLANE_AT(FilterRecord, handleProcs, 256);
STELLANE_AT(FilterRecord, supportsDummyChannels, 264);
STELLANE_AT(FilterRecord, supportsAlternateLayouts, 265);
STELLANE_AT(FilterRecord, wantLayout, 266);
STELLANE_AT(FilterRecord, filterCase, 268);
STELLANE_AT(FilterRecord, dummyPlaneValue, 270);
STELLANE_AT(FilterRecord, premiereHook, 272);
STELLANE_AT(FilterRecord, advanceState, 280);
STELLANE_AT(FilterRecord, supportsAbsolute, 288);
STELLANE_AT(FilterRecord, wantsAbsolute, 289);
STELLANE_AT(FilterRecord, getPropertyObsolete, 292);
STELLANE_AT(FilterRecord, cannotUndo, 300);
STELLANE_AT(FilterRecord, supportsPadding, 301);
STELLANE_AT(FilterRecord, inputPadding, 302);
STELLANE_AT(FilterRecord, outputPadding, 304);
STELLANE_AT(FilterRecord, maskPadding, 306);
STELLANE_AT(FilterRecord, samplingSupport, 308);
STELLANE_AT(FilterRecord, reservedByte, 309);
STELLANE_AT(FilterRecord, inputRate, 312);
STELLANE_AT(FilterRecord, maskRate, 316);
STELLANE_AT(FilterRecord, colorServices, 320);
STELLANE_AT(FilterRecord, inLayerPlanes, 328);
STELLANE_AT(FilterRecord, inTransparencyMask, 330);
STELLANE_AT(FilterRecord, inLayerMasks, 332);
STELLANE_AT(FilterRecord, inInvertedLayerMasks, 334);
STELLANE_AT(FilterRecord, inNonLayerPlanes, 336);
STELLANE_AT(FilterRecord, outLayerPlanes, 338);
STELLANE_AT(FilterRecord, outTransparencyMask, 340);
STELLANE_AT(FilterRecord, outLayerMasks, 342);
STELLANE_AT(FilterRecord, outInvertedLayerMasks, 344);
STELLANE_AT(FilterRecord, outNonLayerPlanes, 346);
STELLANE_AT(FilterRecord, absLayerPlanes, 348);
STELLANE_AT(FilterRecord, absTransparencyMask, 350);
STELLANE_AT(FilterRecord, absLayerMasks, 352);
STELLANE_AT(FilterRecord, absInvertedLayerMasks, 354);
STELLANE_AT(FilterRecord, absNonLayerPlanes, 356);
STELLANE_AT(FilterRecord, inPreDummyPlanes, 358);
STELLANE_AT(FilterRecord, inPostDummyPlanes, 360);
STELLANE_AT(FilterRecord, outPreDummyPlanes, 362);
STELLANE_AT(FilterRecord, outPostDummyPlanes, 364);
STELLANE_AT(FilterRecord, inColumnBytes, 368);
STELLANE_AT(FilterRecord, inPlaneBytes, 372);
STELLANE_AT(FilterRecord, outColumnBytes, 376);
STELLANE_AT(FilterRecord, outPlaneBytes, 380);
STELLANE_AT(FilterRecord, imageServicesProcs, 384);
STELLANE_AT(FilterRecord, propertyProcs, 392);
STELLANE_AT(FilterRecord, inTileHeight, 400);
STELLANE_AT(FilterRecord, inTileWidth, 402);
STELLANE_AT(FilterRecord, inTileOrigin, 404);
STELLANE_AT(FilterRecord, absTileHeight, 408);
STELLANE_AT(FilterRecord, absTileWidth, 410);
STELLANE_AT(FilterRecord, absTileOrigin, 412);
STELLANE_AT(FilterRecord, outTileHeight, 416);
STELLANE_AT(FilterRecord, outTileWidth, 418);
STELLANE_AT(FilterRecord, outTileOrigin, 420);
STELLANE_AT(FilterRecord, maskTileHeight, 424);
STELLANE_AT(FilterRecord, maskTileWidth, 426);
STELLANE_AT(FilterRecord, maskTileOrigin, 428);
STELLANE_AT(FilterRecord, descriptorParameters, 432);
STELLANE_AT(FilterRecord, errorString, 440);
STELLANE_AT(FilterRecord, channelPortProcs, 448);
STELLANE_AT(FilterRecord, documentInfo, 456);
STELLANE_AT(FilterRecord, sSPBasic, 464);
STELLANE_AT(FilterRecord, plugInRef, 472);
STELLANE_AT(FilterRecord, depth, 480);
STELLANE_AT(FilterRecord, iCCprofileData, 484);
STELLANE_AT(FilterRecord, iCCprofileSize, 492);
STELLANE_AT(FilterRecord, canUseICCProfiles, 496);
STELLANE_AT(FilterRecord, hasImageScrap, 500);
STELLANE_AT(FilterRecord, bigDocumentData, 504);
STELLANE_AT(FilterRecord, input3DScene, 512);
STELLANE_AT(FilterRecord, output3DScene, 520);
STELLANE_AT(FilterRecord, createNewLayer, 528);
STELLANE_AT(FilterRecord, iCCWorkingProfileData, 532);
STELLANE_AT(FilterRecord, iCCWorkingProfileSize, 540);
STELLANE_AT(FilterRecord, bufferSpace64, 544);
STELLANE_AT(FilterRecord, maxSpace64, 552);
STELLANE_AT(FilterRecord, allowOverrangeColors, 560);
STELLANE_AT(FilterRecord, reserved, 561);
static_assert(sizeof(FilterRecord) == 608);
static_assert(sizeof(BigDocumentStruct) == 92);
STELLANE_AT(BigDocumentStruct, maskRect32, 60);
STELLANE_AT(BigDocumentStruct, wholeSize32, 84);

STELLANE_AT(AboutRecord, sSPBasic, 8);
STELLANE_AT(AboutRecord, plugInRef, 16);
static_assert(sizeof(AboutRecord) == 272);

STELLANE_AT(HandleProcs, newProc, 8);
STELLANE_AT(HandleProcs, lockProc, 40);
STELLANE_AT(HandleProcs, disposeRegularHandleProc, 64);
static_assert(sizeof(HandleProcs) == 72);
STELLANE_AT(BufferProcs, allocateProc, 8);
STELLANE_AT(BufferProcs, freeProc, 32);
STELLANE_AT(BufferProcs, spaceProc, 40);
STELLANE_AT(BufferProcs, spaceProc64, 64);
static_assert(sizeof(BufferProcs) == 72);
static_assert(sizeof(ResourceProcs) == 40 && sizeof(PropertyProcs) == 24);

STELLANE_AT(ColorServicesInfo, selector, 4);
STELLANE_AT(ColorServicesInfo, sourceSpace, 6);
STELLANE_AT(ColorServicesInfo, resultSpace, 8);
STELLANE_AT(ColorServicesInfo, resultGamutInfoValid, 10);
STELLANE_AT(ColorServicesInfo, resultInGamut, 11);
STELLANE_AT(ColorServicesInfo, reservedSourceSpaceInfo, 16);
STELLANE_AT(ColorServicesInfo, reservedResultSpaceInfo, 24);
STELLANE_AT(ColorServicesInfo, colorComponents, 32);
STELLANE_AT(ColorServicesInfo, reserved, 40);
STELLANE_AT(ColorServicesInfo, selectorParameter, 48);
static_assert(sizeof(ColorServicesInfo) == 56);

STELLANE_AT(PSPixelMap, bounds, 4);
STELLANE_AT(PSPixelMap, imageMode, 20);
STELLANE_AT(PSPixelMap, rowBytes, 24);
STELLANE_AT(PSPixelMap, colBytes, 28);
STELLANE_AT(PSPixelMap, planeBytes, 32);
STELLANE_AT(PSPixelMap, baseAddr, 40);
STELLANE_AT(PSPixelMap, mat, 48);
STELLANE_AT(PSPixelMap, masks, 56);
STELLANE_AT(PSPixelMap, maskPhaseRow, 64);
STELLANE_AT(PSPixelMap, maskPhaseCol, 68);
STELLANE_AT(PSPixelMap, pixelOverlays, 72);
STELLANE_AT(PSPixelMap, colorManagementOptions, 80);
STELLANE_AT(PSPixelMap, depth, 84);
static_assert(sizeof(PSPixelMap) == 88);
STELLANE_AT(PSPixelMask, maskDescription, 24);
static_assert(sizeof(PSPixelMask) == 32);
STELLANE_AT(PSPixelOverlay, red, 24);
STELLANE_AT(PSPixelOverlay, overlayAlgorithm, 28);
static_assert(sizeof(PSPixelOverlay) == 32);
static_assert(sizeof(PlatformData) == 8);

STELLANE_AT(PIDescriptorParameters, playInfo, 2);
STELLANE_AT(PIDescriptorParameters, recordInfo, 4);
STELLANE_AT(PIDescriptorParameters, descriptor, 8);
STELLANE_AT(PIDescriptorParameters, writeDescriptorProcs, 16);
STELLANE_AT(PIDescriptorParameters, readDescriptorProcs, 24);
static_assert(sizeof(PIDescriptorParameters) == 32);
STELLANE_AT(ReadDescriptorProcs, openReadDescriptorProc, 8);
STELLANE_AT(ReadDescriptorProcs, getIntegerProc, 32);
STELLANE_AT(ReadDescriptorProcs, getEnumeratedProc, 80);
STELLANE_AT(ReadDescriptorProcs, getPinnedUnitFloatProc, 144);
static_assert(sizeof(ReadDescriptorProcs) == 152);
STELLANE_AT(WriteDescriptorProcs, putIntegerProc, 24);
STELLANE_AT(WriteDescriptorProcs, putEnumeratedProc, 72);
STELLANE_AT(WriteDescriptorProcs, putScopedObjectProc, 128);
static_assert(sizeof(WriteDescriptorProcs) == 136);
STELLANE_AT(PIDescriptorSimpleReference, keyData.index, 264);
STELLANE_AT(PIDescriptorSimpleReference, keyData.value, 272);
static_assert(sizeof(PIDescriptorSimpleReference) == 276);
#undef STELLANE_AT

}  // namespace ps

// The one export of the plug-in module.
#if defined(_WIN32)
#define STELLANE_EXPORT extern "C" __declspec(dllexport)
#else
#define STELLANE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using PluginMainProc = void (*)(std::int16_t selector, void* paramBlock, std::intptr_t* data,
                                std::int16_t* result);
