// The scripting descriptor suites. A descriptor handle holds the items as a
// flat array; readers hand them out key by key and strike each key from the
// plug-in's key list; writers collect integers and enumerations.
#include <cstring>

#include "testhost/Session.h"

namespace testhost {

namespace {

DescriptorReader* FindReader(Session& s, ps::PIReadDescriptor token) {
  auto* reader = reinterpret_cast<DescriptorReader*>(token);
  if (s.readers.count(reader)) return reader;
  s.ProtocolError("unknown descriptor reader");
  return nullptr;
}

DescriptorWriter* FindWriter(Session& s, ps::PIWriteDescriptor token) {
  auto* writer = reinterpret_cast<DescriptorWriter*>(token);
  if (s.writers.count(writer)) return writer;
  s.ProtocolError("unknown descriptor writer");
  return nullptr;
}

// Removes `key` from the zero-terminated list, closing the gap.
void StrikeKey(ps::DescriptorKeyID* keys, ps::DescriptorKeyID key) {
  if (!keys) return;
  for (; *keys; ++keys) {
    if (*keys != key) continue;
    for (ps::DescriptorKeyID* k = keys; *k; ++k) k[0] = k[1];
    return;
  }
}

// ---- Reading

ps::PIReadDescriptor OpenRead(ps::PIDescriptorHandle descriptor, ps::DescriptorKeyID* keys) {
  Session* s = ActiveSession();
  if (!s || !descriptor) return nullptr;
  try {
    auto reader = std::make_unique<DescriptorReader>();
    reader->items = DecodeDescriptor(*s, descriptor);
    reader->keyArray = keys;
    ++s->log.descriptorReadersOpened;
    DescriptorReader* raw = reader.release();
    s->readers.insert(raw);
    return reinterpret_cast<ps::PIReadDescriptor>(raw);
  } catch (...) {
    return nullptr;
  }
}

ps::OSErr CloseRead(ps::PIReadDescriptor token) {
  Session* s = ActiveSession();
  if (!s) return ps::paramErr;
  DescriptorReader* reader = FindReader(*s, token);
  if (!reader) return ps::paramErr;
  // Keys the plug-in expected but the descriptor did not hold.
  const bool missing = reader->keyArray && reader->keyArray[0] != 0;
  s->readers.erase(reader);
  delete reader;
  return missing ? ps::OSErr(ps::errAEParamMissed) : ps::OSErr(ps::noErr);
}

ps::Boolean GetKey(ps::PIReadDescriptor token, ps::DescriptorKeyID* key, ps::DescriptorTypeID* type,
                   ps::int32* flags) {
  Session* s = ActiveSession();
  if (!s) return false;
  DescriptorReader* reader = FindReader(*s, token);
  if (!reader || reader->next >= reader->items.size()) return false;
  reader->current = &reader->items[reader->next++];
  if (key) *key = reader->current->key;
  if (type) *type = reader->current->type;
  if (flags) *flags = ps::actionSimpleParameter;
  StrikeKey(reader->keyArray, reader->current->key);
  try {
    s->log.keysRead.push_back(reader->current->key);
  } catch (...) {
  }
  return true;
}

const DescriptorItem* Current(ps::PIReadDescriptor token, ps::DescriptorTypeID type) {
  Session* s = ActiveSession();
  if (!s) return nullptr;
  DescriptorReader* reader = FindReader(*s, token);
  if (!reader) return nullptr;
  if (!reader->current) {
    s->ProtocolError("descriptor value read before getKey");
    return nullptr;
  }
  return reader->current->type == type ? reader->current : nullptr;
}

ps::OSErr GetInteger(ps::PIReadDescriptor token, ps::int32* value) {
  const DescriptorItem* item = Current(token, ps::typeInteger);
  if (!item || !value) return ps::paramErr;
  *value = item->integer;
  return ps::noErr;
}

ps::OSErr GetPinnedInteger(ps::PIReadDescriptor token, ps::int32 min, ps::int32 max,
                           ps::int32* value) {
  const ps::OSErr err = GetInteger(token, value);
  if (err != ps::noErr) return err;
  if (*value < min || *value > max) {
    *value = *value < min ? min : max;
    return ps::coercedParamErr;
  }
  return ps::noErr;
}

ps::OSErr GetEnumerated(ps::PIReadDescriptor token, ps::DescriptorEnumID* value) {
  const DescriptorItem* item = Current(token, ps::typeEnumerated);
  if (!item || !value) return ps::paramErr;
  *value = item->enumValue;
  return ps::noErr;
}

// Kinds of value this host never records.
ps::OSErr NoFloat(ps::PIReadDescriptor, double*) { return ps::paramErr; }
ps::OSErr NoUnitFloat(ps::PIReadDescriptor, ps::DescriptorUnitID*, double*) { return ps::paramErr; }
ps::OSErr NoBoolean(ps::PIReadDescriptor, ps::Boolean*) { return ps::paramErr; }
ps::OSErr NoHandle(ps::PIReadDescriptor, ps::Handle*) { return ps::paramErr; }
ps::OSErr NoClass(ps::PIReadDescriptor, ps::DescriptorTypeID*) { return ps::paramErr; }
ps::OSErr NoReference(ps::PIReadDescriptor, ps::PIDescriptorSimpleReference*) {
  return ps::paramErr;
}
ps::OSErr NoObject(ps::PIReadDescriptor, ps::DescriptorClassID*, ps::PIDescriptorHandle*) {
  return ps::paramErr;
}
ps::OSErr NoCount(ps::PIReadDescriptor, ps::uint32*) { return ps::paramErr; }
ps::OSErr NoString(ps::PIReadDescriptor, ps::Str255*) { return ps::paramErr; }
ps::OSErr NoPinnedFloat(ps::PIReadDescriptor, const double*, const double*, double*) {
  return ps::paramErr;
}
ps::OSErr NoPinnedUnitFloat(ps::PIReadDescriptor, const double*, const double*,
                            ps::DescriptorUnitID*, double*) {
  return ps::paramErr;
}

// ---- Writing

ps::PIWriteDescriptor OpenWrite() {
  Session* s = ActiveSession();
  if (!s) return nullptr;
  try {
    auto* writer = new DescriptorWriter;
    s->writers.insert(writer);
    ++s->log.descriptorWritersOpened;
    return reinterpret_cast<ps::PIWriteDescriptor>(writer);
  } catch (...) {
    return nullptr;
  }
}

ps::OSErr CloseWrite(ps::PIWriteDescriptor token, ps::PIDescriptorHandle* out) {
  Session* s = ActiveSession();
  if (!s) return ps::paramErr;
  DescriptorWriter* writer = FindWriter(*s, token);
  if (!writer) return ps::paramErr;
  ps::OSErr err = ps::noErr;
  try {
    ps::Handle h = EncodeDescriptor(*s, writer->items);
    if (!h) err = ps::memFullErr;
    if (out) *out = h;
    s->writtenDescriptor = h;
  } catch (...) {
    err = ps::memFullErr;
  }
  s->writers.erase(writer);
  delete writer;
  return err;
}

ps::OSErr Put(ps::PIWriteDescriptor token, const DescriptorItem& item) {
  Session* s = ActiveSession();
  if (!s) return ps::paramErr;
  DescriptorWriter* writer = FindWriter(*s, token);
  if (!writer) return ps::paramErr;
  try {
    writer->items.push_back(item);
  } catch (...) {
    return ps::memFullErr;
  }
  return ps::noErr;
}

ps::OSErr PutInteger(ps::PIWriteDescriptor token, ps::DescriptorKeyID key, ps::int32 value) {
  return Put(token, IntegerItem(key, value));
}

ps::OSErr PutEnumerated(ps::PIWriteDescriptor token, ps::DescriptorKeyID key,
                        ps::DescriptorTypeID type, ps::DescriptorEnumID value) {
  return Put(token, EnumeratedItem(key, type, value));
}

ps::OSErr PutNoFloat(ps::PIWriteDescriptor, ps::DescriptorKeyID, const double*) {
  return ps::paramErr;
}
ps::OSErr PutNoUnitFloat(ps::PIWriteDescriptor, ps::DescriptorKeyID, ps::DescriptorUnitID,
                         const double*) {
  return ps::paramErr;
}
ps::OSErr PutNoBoolean(ps::PIWriteDescriptor, ps::DescriptorKeyID, ps::Boolean) {
  return ps::paramErr;
}
ps::OSErr PutNoHandle(ps::PIWriteDescriptor, ps::DescriptorKeyID, ps::Handle) {
  return ps::paramErr;
}
ps::OSErr PutNoClass(ps::PIWriteDescriptor, ps::DescriptorKeyID, ps::DescriptorTypeID) {
  return ps::paramErr;
}
ps::OSErr PutNoReference(ps::PIWriteDescriptor, ps::DescriptorKeyID,
                         const ps::PIDescriptorSimpleReference*) {
  return ps::paramErr;
}
ps::OSErr PutNoObject(ps::PIWriteDescriptor, ps::DescriptorKeyID, ps::DescriptorClassID,
                      ps::PIDescriptorHandle) {
  return ps::paramErr;
}
ps::OSErr PutNoCount(ps::PIWriteDescriptor, ps::DescriptorKeyID, ps::uint32) {
  return ps::paramErr;
}
ps::OSErr PutNoString(ps::PIWriteDescriptor, ps::DescriptorKeyID, const unsigned char*) {
  return ps::paramErr;
}

}  // namespace

Descriptor DecodeDescriptor(const Session& s, ps::Handle h) {
  Descriptor d;
  auto it = s.handles.find(h);
  if (it == s.handles.end()) return d;
  const std::size_t count = std::size_t(it->second->size) / sizeof(DescriptorItem);
  d.resize(count);
  if (count) std::memcpy(d.data(), it->second->data, count * sizeof(DescriptorItem));
  return d;
}

ps::Handle EncodeDescriptor(Session& s, const Descriptor& d) {
  const std::size_t bytes = d.size() * sizeof(DescriptorItem);
  ps::Handle h = s.AllocateHandle(std::int32_t(bytes));
  if (h && bytes) std::memcpy(*h, d.data(), bytes);
  return h;
}

void Session::FreeDescriptorTokens() {
  for (DescriptorReader* r : readers) delete r;
  for (DescriptorWriter* w : writers) delete w;
  readers.clear();
  writers.clear();
}

void FillReadDescriptorProcs(ps::ReadDescriptorProcs& p) {
  p = {};
  p.readDescriptorProcsVersion = 0;
  p.numReadDescriptorProcs = ps::kCurrentReadDescriptorProcsCount;
  p.openReadDescriptorProc = OpenRead;
  p.closeReadDescriptorProc = CloseRead;
  p.getKeyProc = GetKey;
  p.getIntegerProc = GetInteger;
  p.getFloatProc = NoFloat;
  p.getUnitFloatProc = NoUnitFloat;
  p.getBooleanProc = NoBoolean;
  p.getTextProc = NoHandle;
  p.getAliasProc = NoHandle;
  p.getEnumeratedProc = GetEnumerated;
  p.getClassProc = NoClass;
  p.getSimpleReferenceProc = NoReference;
  p.getObjectProc = NoObject;
  p.getCountProc = NoCount;
  p.getStringProc = NoString;
  p.getPinnedIntegerProc = GetPinnedInteger;
  p.getPinnedFloatProc = NoPinnedFloat;
  p.getPinnedUnitFloatProc = NoPinnedUnitFloat;
}

void FillWriteDescriptorProcs(ps::WriteDescriptorProcs& p) {
  p = {};
  p.writeDescriptorProcsVersion = 0;
  p.numWriteDescriptorProcs = ps::kCurrentWriteDescriptorProcsCount;
  p.openWriteDescriptorProc = OpenWrite;
  p.closeWriteDescriptorProc = CloseWrite;
  p.putIntegerProc = PutInteger;
  p.putFloatProc = PutNoFloat;
  p.putUnitFloatProc = PutNoUnitFloat;
  p.putBooleanProc = PutNoBoolean;
  p.putTextProc = PutNoHandle;
  p.putAliasProc = PutNoHandle;
  p.putEnumeratedProc = PutEnumerated;
  p.putClassProc = PutNoClass;
  p.putSimpleReferenceProc = PutNoReference;
  p.putObjectProc = PutNoObject;
  p.putCountProc = PutNoCount;
  p.putStringProc = PutNoString;
  p.putScopedClassProc = PutNoClass;
  p.putScopedObjectProc = PutNoObject;
}

}  // namespace testhost
