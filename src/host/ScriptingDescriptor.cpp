// The run's parameters in the host's action scripts: read at start, written
// at finish, through the host's descriptor suite.
#include <cstdint>

#include "host/HostQuirks.h"
#include "host/HostServices.h"
#include "host/RunHooks.h"
#include "params/EnumCodes.h"
#include "params/ParamTable.h"

namespace stellane {

namespace {

// Returned by a reader's close when the script lacked some of our keys;
// that is how a partial script looks, not a failure.
constexpr ps::OSErr kErrMissingParameter = -1715;

// The host's descriptor parameters when its suite is complete: version 0,
// enough procs in each direction and every one of them present. Hosts hand
// out suite records with null procs (pspiHost), so each pointer is tested.
ps::PIDescriptorParameters* AvailableDescriptor(const ps::FilterRecord* fr) {
  if (!fr) return nullptr;
  ps::PIDescriptorParameters* dp = fr->descriptorParameters;
  if (!dp || dp->descriptorParametersVersion != 0) return nullptr;
  const ps::ReadDescriptorProcs* r = dp->readDescriptorProcs;
  const ps::WriteDescriptorProcs* w = dp->writeDescriptorProcs;
  if (!r || r->readDescriptorProcsVersion != 0 ||
      r->numReadDescriptorProcs < ps::kCurrentReadDescriptorProcsCount)
    return nullptr;
  if (!w || w->writeDescriptorProcsVersion != 0 ||
      w->numWriteDescriptorProcs < ps::kCurrentWriteDescriptorProcsCount)
    return nullptr;
  const bool readProcs =
      r->openReadDescriptorProc && r->closeReadDescriptorProc && r->getKeyProc &&
      r->getIntegerProc && r->getFloatProc && r->getUnitFloatProc && r->getBooleanProc &&
      r->getTextProc && r->getAliasProc && r->getEnumeratedProc && r->getClassProc &&
      r->getSimpleReferenceProc && r->getObjectProc && r->getCountProc && r->getStringProc &&
      r->getPinnedIntegerProc && r->getPinnedFloatProc && r->getPinnedUnitFloatProc;
  const bool writeProcs = w->openWriteDescriptorProc && w->closeWriteDescriptorProc &&
                          w->putIntegerProc && w->putFloatProc && w->putUnitFloatProc &&
                          w->putBooleanProc && w->putTextProc && w->putAliasProc &&
                          w->putEnumeratedProc && w->putClassProc && w->putSimpleReferenceProc &&
                          w->putObjectProc && w->putCountProc && w->putStringProc &&
                          w->putScopedClassProc && w->putScopedObjectProc;
  return readProcs && writeProcs ? dp : nullptr;
}

bool HostSkipsScriptReading(const ps::FilterRecord* fr) {
  return HostHas(fr, HostQuirk::kNoScriptReading);
}

// The reader's key list: the 26 keys in terminology order, then 0. The host
// strikes keys from it as it hands them out, so every reader gets a fresh one.
struct KeyList {
  ps::DescriptorKeyID keys[kScriptedParamCount + 1];
};

KeyList ScriptKeys() {
  KeyList list{};
  for (int i = 1; i <= kScriptedParamCount; ++i) list.keys[i - 1] = ScriptedParam(i)->scriptKey;
  return list;
}

const ParamInfo* ParamForKey(ps::DescriptorKeyID key) {
  for (int i = 1; i <= kScriptedParamCount; ++i) {
    const ParamInfo* info = ScriptedParam(i);
    if (info->scriptKey == key) return info;
  }
  return nullptr;
}

}  // namespace

bool DescriptorReadable(Globals& g) {
  const ps::FilterRecord* fr = g.filterRecord;
  if (HostSkipsScriptReading(fr)) return false;
  ps::PIDescriptorParameters* dp = AvailableDescriptor(fr);
  if (!dp || !dp->descriptor) return false;
  // Only asks whether a reader opens. The host's close leaves the descriptor
  // handle alone (disposing it is ours to do), so the real read still has it.
  KeyList keys = ScriptKeys();
  ps::PIReadDescriptor token =
      dp->readDescriptorProcs->openReadDescriptorProc(dp->descriptor, keys.keys);
  if (!token) return false;
  dp->readDescriptorProcs->closeReadDescriptorProc(token);
  return true;
}

ps::OSErr ReadScriptingDescriptor(Globals& g) {
  const ps::FilterRecord* fr = g.filterRecord;
  if (HostSkipsScriptReading(fr)) return ps::noErr;
  ps::PIDescriptorParameters* dp = AvailableDescriptor(fr);
  if (!dp || !g.params) return ps::noErr;
  RenderParams& p = *g.params;
  const ps::ReadDescriptorProcs* procs = dp->readDescriptorProcs;

  KeyList keys = ScriptKeys();
  ps::PIReadDescriptor token =
      dp->descriptor ? procs->openReadDescriptorProc(dp->descriptor, keys.keys) : nullptr;
  ps::OSErr status = ps::noErr;
  if (token) {
    // Keys the script lacks take their defaults.
    LoadDefaults(p);
    ps::DescriptorKeyID key = 0;
    ps::DescriptorTypeID type = 0;
    ps::int32 flags = 0;
    while (procs->getKeyProc(token, &key, &type, &flags)) {
      const ParamInfo* info = ParamForKey(key);
      if (!info) continue;
      if (info->kind == ParamKind::Glue) {
        ps::DescriptorEnumID code = 0;
        if (procs->getEnumeratedProc(token, &code) == ps::noErr) {
          std::int32_t glue = 0;
          EnumCodeToIndex(kGlueEnumType, code, glue);  // an unknown code stores 0
          SetIntParam(p, *info, glue);
        }
      } else {
        ps::int32 value = 0;
        if (procs->getIntegerProc(token, &value) == ps::noErr) SetScriptedParam(p, *info, value);
      }
    }
    status = procs->closeReadDescriptorProc(token);
    DisposeHostHandle(fr, dp->descriptor);
    dp->descriptor = nullptr;
    if (status == kErrMissingParameter) status = ps::noErr;
  }
  p.showDialog = dp->playInfo == ps::plugInDialogDisplay ? 1 : 0;
  return status;
}

void WriteScriptingDescriptor(Globals& g) {
  const ps::FilterRecord* fr = g.filterRecord;
  ps::PIDescriptorParameters* dp = AvailableDescriptor(fr);
  if (!dp || !g.params) return;
  const RenderParams& p = *g.params;
  const ps::WriteDescriptorProcs* procs = dp->writeDescriptorProcs;

  ps::PIWriteDescriptor token = procs->openWriteDescriptorProc();
  if (!token) return;
  for (int i = 1; i <= kScriptedParamCount; ++i) {
    const ParamInfo& info = *ScriptedParam(i);
    if (info.kind == ParamKind::Glue)
      procs->putEnumeratedProc(token, info.scriptKey, kGlueEnumType,
                               EnumIndexToCode(kGlueEnumType, GetIntParam(p, info)));
    else
      procs->putIntegerProc(token, info.scriptKey, GetScriptedParam(p, info));
  }
  ps::PIDescriptorHandle written = nullptr;
  procs->closeWriteDescriptorProc(token, &written);
  DisposeHostHandle(fr, dp->descriptor);
  dp->descriptor = written;
  dp->recordInfo = ps::plugInDialogOptional;
}

}  // namespace stellane
