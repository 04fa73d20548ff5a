// The dialog's "PSD" button: the save chooser's proposal, the export handed
// to the window (which shows its progress), and a cancelled chooser.
#include <fstream>

#include "DialogRig.h"

namespace dialogtest {
namespace {

namespace ctl = stellane::ctl;

// Width and height from a PSD file's header, or {0, 0}.
std::pair<int, int> PsdSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char h[26] = {};
  if (!in.read(reinterpret_cast<char*>(h), sizeof h) || std::string(h, h + 4) != "8BPS")
    return {0, 0};
  auto be32 = [&](int at) { return h[at] << 24 | h[at + 1] << 16 | h[at + 2] << 8 | h[at + 3]; };
  return {be32(18), be32(14)};
}

using DialogPsd = DialogRun;

TEST_F(DialogPsd, ExportsWhereTheUserChoseAndNothingOnCancel) {
  const std::string chosen = temp_.In("chosen.psd");
  Run(
      [&](Globals& g) {
        window.Click(g, ctl::kPsd);  // the chooser is cancelled
        ASSERT_EQ(window.choosers.size(), 1u);
        EXPECT_EQ(window.choosers[0], FileChoice::SavePsd);
        EXPECT_EQ(window.proposedNames[0], "Stellane result.psd");
        EXPECT_TRUE(window.psdExports.empty());

        window.choose = [&](FileChoice) { return chosen; };
        window.Click(g, ctl::kPsd);
        EXPECT_EQ(window.psdExports, std::vector<std::string>{chosen});
        EXPECT_EQ(PsdSize(chosen), std::make_pair(37, 23));
        // The next export starts in the folder of this one.
        EXPECT_EQ(std::string(g.params->psdFolder) + "chosen.psd", chosen);
        // The dialog carries on: its preview still renders into the host.
        EXPECT_EQ(g.params->renderTarget, 1);
      },
      37, 23);
}

}  // namespace
}  // namespace dialogtest
