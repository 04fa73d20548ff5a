// The PSD export as the dialog runs it: the host's profile, progress and
// cancel, the run state untouched afterwards, and the refusals. The files
// themselves are read back by psd-tools and ImageMagick in exports_test.py.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../unit/ScratchTempFolder.h"
#include "RunRigs.h"
#include "export/PsdExport.h"
#include "export/PsdJob.h"
#include "render/CrtRandom.h"

namespace stellane {
namespace {

using testing::ExportRig;

constexpr std::int32_t kWidth = 37;
constexpr std::int32_t kHeight = 23;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Stars vary with `rand`: a fixed seed makes two renderings equal.
std::int16_t Export(ExportRig& rig, const std::string& path,
                    const ExportProgress* progress = nullptr) {
  CrtSrand(11);
  return ExportPsd(rig.run, path.c_str(), progress);
}

struct ProgressLog {
  std::vector<std::int32_t> percents;
  int cancelling = 0;
  int cancelAfterAsks = -1;  // answer yes on this ask, -1 never
  int asks = 0;
  std::int16_t nestedStatus = 0;
  ExportRig* rig = nullptr;
  std::string nestedPath;
};

ExportProgress LoggingProgress(ProgressLog& log) {
  ExportProgress p{};
  p.user = &log;
  p.percent = [](void* user, std::int32_t percent) {
    auto& l = *static_cast<ProgressLog*>(user);
    l.percents.push_back(percent);
    if (l.rig && l.percents.size() == 1)
      l.nestedStatus = ExportPsd(l.rig->run, l.nestedPath.c_str(), nullptr);
  };
  p.cancelWanted = [](void* user) {
    auto& l = *static_cast<ProgressLog*>(user);
    return l.asks++ == l.cancelAfterAsks;
  };
  p.cancelling = [](void* user) { ++static_cast<ProgressLog*>(user)->cancelling; };
  return p;
}

TEST(ExportPsd, ProgressCancelAndASecondExportWhileOneRuns) {
  ScratchTempFolder temp;
  ExportRig rig(kWidth, 40, 8);
  {
    ProgressLog log;
    log.rig = &rig;
    log.nestedPath = temp.In("nested.psd");
    const ExportProgress progress = LoggingProgress(log);
    ASSERT_EQ(Export(rig, temp.In("progress.psd"), &progress), 0);
    EXPECT_EQ(log.nestedStatus, kExportNotStarted);
    EXPECT_FALSE(temp.Has("nested.psd"));
    ASSERT_FALSE(log.percents.empty());
    EXPECT_EQ(log.percents.front(), 0);
    EXPECT_GE(log.percents.back(), 95);
    EXPECT_TRUE(std::is_sorted(log.percents.begin(), log.percents.end()));
    EXPECT_EQ(log.asks, 40 / 8);  // every eighth row
    EXPECT_EQ(log.cancelling, 0);
  }
  // Cancelled by the dialog on its second ask (row 15), or by the host's
  // abort test, asked every eighth row as well, on its second ask.
  for (bool byHost : {false, true}) {
    static int hostAsks;
    hostAsks = 0;
    if (byHost)
      rig.run.job.progress.cancelWanted = [](void*, std::int32_t) { return ++hostAsks == 2; };
    ProgressLog log;
    log.cancelAfterAsks = byHost ? -1 : 1;
    const ExportProgress progress = LoggingProgress(log);
    EXPECT_EQ(Export(rig, temp.In("cancelled.psd"), &progress), kExportCancelled) << byHost;
    EXPECT_EQ(hostAsks, byHost ? 2 : 0);
    EXPECT_EQ(log.asks, 2);
    EXPECT_EQ(log.cancelling, 1);
    EXPECT_FALSE(temp.Has("cancelled.psd"));
  }
}

// The host's profile travels unchanged as image resource 1039: "8BIM", the
// id, an empty name padded to two bytes, the size, the bytes.
TEST(ExportPsd, HostProfileTravelsUnchangedAndRefusalsWriteNothing) {
  ScratchTempFolder temp;
  const std::string profile = {0, 0, 2, 0x30, 'a', 'c', 's', 'p', 9};
  const std::string resource = std::string("8BIM\x04\x0F\0\0\0\0\0\x09", 12) + profile;
  for (int depth : {8, 16, 32}) {
    ExportRig withProfile(kWidth, kHeight, depth);
    withProfile.GiveProfile({profile.begin(), profile.end()});
    ASSERT_EQ(Export(withProfile, temp.In("p.psd")), 0);
    const std::string file = ReadFile(temp.In("p.psd"));
    // After the URL (1035), before the IPTC record (1028).
    EXPECT_LT(file.find("8BIM\x04\x0B"), file.find(resource)) << depth;
    EXPECT_LT(file.find(resource), file.find("8BIM\x04\x04")) << depth;
  }
  ExportRig rig(kWidth, kHeight, 8);  // without a profile
  ASSERT_EQ(Export(rig, temp.In("p.psd")), 0);
  EXPECT_EQ(ReadFile(temp.In("p.psd")).find("8BIM\x04\x0F"), std::string::npos);
  EXPECT_EQ(Export(rig, temp.In("missing/folder/x.psd")), kExportFileNotCreated);
  EXPECT_EQ(Export(rig, ""), kExportNotStarted);

  rig.params.outputMode = 6;  // the custom size
  rig.params.customWidth = kPsdMaxSide + 1;
  rig.params.customHeight = 10;
  EXPECT_EQ(Export(rig, temp.In("wide.psd")), kExportTooLarge);
  EXPECT_FALSE(temp.Has("wide.psd"));
  rig.params.customWidth = 12;
  rig.params.customHeight = 0;
  EXPECT_EQ(Export(rig, temp.In("empty.psd")), kExportTooLarge);
  rig.params.customHeight = 5;
  ASSERT_EQ(Export(rig, temp.In("custom.psd")), 0);
  // The header's height and width, big-endian at bytes 14 and 18.
  EXPECT_EQ(ReadFile(temp.In("custom.psd")).substr(14, 8), std::string("\0\0\0\x05\0\0\0\x0C", 8));
}

}  // namespace
}  // namespace stellane
