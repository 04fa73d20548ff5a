// The test host's internal state, shared by the files that implement its
// suites and callbacks. Not part of the library's interface.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "testhost/RunSource.h"
#include "testhost/TestHost.h"

namespace testhost {

struct HandleBlock {
  char* data;  // first member: a Handle points here, so *h is the data
  std::int32_t size;
  int lockCount;
};

struct BufferBlock {
  std::unique_ptr<char[]> data;
  std::int32_t size;
  int lockCount;
};

struct DescriptorReader {
  Descriptor items;
  std::size_t next = 0;
  const DescriptorItem* current = nullptr;
  ps::DescriptorKeyID* keyArray = nullptr;
};

struct DescriptorWriter {
  Descriptor items;
};

// Leaves new elements uninitialised: a pixel buffer is written in full right
// after it is sized, so zeroing it first would only cost time.
template <typename T>
struct UninitializedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitializedAllocator<U>;
  };
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

// A pixel buffer handed to the plug-in for one request.
struct PixelBuffer {
  std::vector<std::uint8_t, UninitializedAllocator<std::uint8_t>> bytes;
  Rect rect;  // in the request's own (sampled) coordinates
  int loPlane = 0, hiPlane = -1;
  std::int32_t rowBytes = 0;
};

struct Session {
  PluginMainProc entry = nullptr;
  HostConfig config;
  Image image;
  // The image at the start of the run, as far as output was written over
  // it: what the plug-in is served; restored on failure.
  RunSource runSource;
  Selection selection;
  HostLog log;

  // The record and what it points at.
  std::vector<std::uint8_t> recordStorage;
  ps::FilterRecord* fr = nullptr;
  ps::HandleProcs handleProcs{};
  ps::BufferProcs bufferProcs{};
  ps::ReadDescriptorProcs readProcs{};
  ps::WriteDescriptorProcs writeProcs{};
  ps::PIDescriptorParameters descriptorParameters{};
  ps::PlatformData platform{};
  ps::PropertyProcs propertyProcs{};
  std::int16_t result = 0;
  ps::Str255 errorString{};
  bool canaryDamaged = false;

  // Kept between runs.
  std::uint64_t dataSlot = 0;
  ps::Handle parameters = nullptr;
  std::optional<Descriptor> recorded;
  ps::Handle writtenDescriptor = nullptr;  // the last handle a writer produced

  // Allocations.
  std::map<ps::Handle, std::unique_ptr<HandleBlock>> handles;
  std::map<ps::BufferID, std::unique_ptr<BufferBlock>> buffers;
  std::set<DescriptorReader*> readers;
  std::set<DescriptorWriter*> writers;
  int handleGrants = 0;
  int bufferGrants = 0;

  // Pixel exchange.
  PixelBuffer in, out, mask;
  bool outputPending = false;

  ~Session();
  void ProtocolError(std::string message);
  bool Narrow() const { return config.quirks.narrowDataWord; }

  ps::Handle AllocateHandle(std::int32_t size);  // counted; null when refused
  void DisposeHandle(ps::Handle h);
  void FreeAllHandles();
  void FreeAllBuffers();
  void FreeDescriptorTokens();

  void FillSuites();
  ps::OSErr ExchangePixels(bool fromAdvanceState);
  void CommitOutput();
  void ReleasePixelBuffers();
};

// The session whose call is under way; callbacks find their host here.
Session* ActiveSession();
void SetActiveSession(Session* session);

// Suite and callback tables (HandleSuite.cpp, BufferSuite.cpp,
// DescriptorSuite.cpp, Callbacks.cpp).
void FillHandleProcs(ps::HandleProcs& procs);
void FillBufferProcs(ps::BufferProcs& procs);
void FillReadDescriptorProcs(ps::ReadDescriptorProcs& procs);
void FillWriteDescriptorProcs(ps::WriteDescriptorProcs& procs);
Descriptor DecodeDescriptor(const Session& s, ps::Handle h);
ps::Handle EncodeDescriptor(Session& s, const Descriptor& d);

ps::Boolean AbortCallback();
void ProgressCallback(std::int32_t done, std::int32_t total);
ps::OSErr AdvanceStateCallback();
ps::OSErr DisplayPixelsCallback(const ps::PSPixelMap* source, const ps::VRect* srcRect,
                                std::int32_t dstRow, std::int32_t dstCol, void* platformContext);
ps::OSErr ColorServicesCallback(ps::ColorServicesInfo* info);
void FillSilentPropertyProcs(ps::PropertyProcs& procs);

// Fills call.pixels from `map` for call.srcRect as this host reads a map
// (DisplayRead.cpp); call's other fields are set.
void ReadDisplayedPixels(Session& s, const ps::PSPixelMap& map, DisplayCall& call);

}  // namespace testhost
