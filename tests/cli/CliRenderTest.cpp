// `stellane render` end to end: files of every supported kind in, the
// filtered file out, checked by reading it back.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "CliRun.h"
#include "TestPictures.h"
#include "stellane/ImageFiles.h"

namespace clitest {
namespace {

using cli::ImageFileKind;

struct Kind {
  const char* name;
  const char* extension;
  int colorPlanes, depth;
  bool alpha;
};

const Kind kKinds[] = {
    {"png_grey8", "png", 1, 8, false},       {"png_grey_alpha8", "png", 1, 8, true},
    {"png_rgb8", "png", 3, 8, false},        {"png_rgba8", "png", 3, 8, true},
    {"png_grey16", "png", 1, 16, false},     {"png_rgba16", "png", 3, 16, true},
    {"jpeg_rgb", "jpg", 3, 8, false},        {"jpeg_grey", "jpeg", 1, 8, false},
    {"tiff_rgb8", "tif", 3, 8, false},       {"tiff_rgb16", "tiff", 3, 16, false},
    {"tiff_rgba16", "tif", 3, 16, true},     {"tiff_float_grey", "tif", 1, 32, false},
    {"tiff_float_rgba", "tif", 3, 32, true},
};

class RenderEveryKind : public ::testing::TestWithParam<Kind> {};

TEST_P(RenderEveryKind, KeepsShapeDepthAndAlphaAndFilters) {
  const Kind& kind = GetParam();
  const std::string folder = ScratchFolder();
  const std::string in = folder + "in." + kind.extension, out = folder + "out." + kind.extension;
  ImageFileKind fileKind;
  ASSERT_TRUE(cli::ImageFileKindFromName(in, fileKind));
  const testhost::Image source = Lopsided(29, 17, kind.colorPlanes, kind.depth, kind.alpha);
  cli::WriteImageFile(source, in, fileKind);
  // What the program reads (JPEG is lossy, so compare with the decoded file).
  const testhost::Image before = cli::ReadImageFile(in);

  // An existing output is replaced whole, by a file of its own size.
  WriteText(out, std::string(100000, 'x'));
  // No option: a picture's transparency is kept, as an editor keeps a cut-out.
  ASSERT_TRUE(Succeeds({"render", in, out, "--quiet"}));
  EXPECT_LT(ReadText(out).size(), 100000u);
  EXPECT_EQ(FolderEntries(folder).size(), 2u) << "a file beside the input and the output";

  // Read back by the same libraries, which report what the file declares.
  const testhost::Image after = cli::ReadImageFile(out);
  ASSERT_EQ(after.width, 29);
  ASSERT_EQ(after.height, 17);
  EXPECT_EQ(after.colorPlanes, kind.colorPlanes);
  EXPECT_EQ(after.depth, kind.depth);
  ASSERT_EQ(after.transparency, kind.alpha);
  // The filter changed the colours; the transparency plane is kept.
  EXPECT_GT(DifferingInPlane(before, after, 0), 29 * 17 / 2);
  if (kind.alpha) {
    EXPECT_EQ(DifferingInPlane(before, after, kind.colorPlanes), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, RenderEveryKind, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

class Render : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ScratchFolder();
    input_ = folder_ + "in.png";
    source_ = Lopsided(41, 27, 3, 8, false);
    cli::WriteImageFile(source_, input_, ImageFileKind::Png);
  }
  testhost::Image Rendered(std::vector<std::string> args, const std::string& name = "out.png") {
    args.insert(args.begin(), {"render", input_, folder_ + name, "-q"});
    const ::testing::AssertionResult ran = Succeeds(args);
    EXPECT_TRUE(ran);
    return ran ? cli::ReadImageFile(folder_ + name) : testhost::Image{};
  }
  std::string folder_, input_;
  testhost::Image source_;
};

// A float picture goes through a glue mode as a 16-bit copy: "screen" never
// darkens, so every sample is at least the photo's (less the copy's 1/65536
// step). A picture outside 0..1 would lose values and is refused.
TEST_F(Render, FloatPicturesTakeTheGlueThroughASixteenBitCopy) {
  const testhost::Image photo = Lopsided(13, 7, 3, 32, false);
  cli::WriteImageFile(photo, folder_ + "f.tif", ImageFileKind::Tiff);
  ASSERT_TRUE(Succeeds({"render", folder_ + "f.tif", folder_ + "o.tif", "-q", "--glue", "screen"}));
  const testhost::Image out = cli::ReadImageFile(folder_ + "o.tif");
  ASSERT_EQ(out.depth, 32);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x)
      for (int p = 0; p < 3; ++p) EXPECT_GE(out.Get(x, y, p), photo.Get(x, y, p) - 1.0 / 65536);
  EXPECT_GT(DifferingInPlane(photo, out, 0), 13 * 7 / 2);

  testhost::Image bright = photo;
  bright.Set(4, 2, 1, 3.5);
  cli::WriteImageFile(bright, folder_ + "hdr.tif", ImageFileKind::Tiff);
  const CliResult refused =
      RunStellane({"render", folder_ + "hdr.tif", folder_ + "o2.tif", "-q", "--glue", "screen"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(Holds(refused.err, "outside 0..1"));
  EXPECT_FALSE(Exists(folder_ + "o2.tif"));
}

// --rect, --mask and --replace-alpha limit the filter: nothing outside the
// area changes, most inside does; a zero 16-bit mask is scaled to the
// selection's range like an 8-bit one, so it keeps every pixel.
TEST_F(Render, RectangleMaskAndTransparencyLimitTheFilter) {
  testhost::Image half = testhost::Image::Make(41, 27, 1, 8);  // zero left, full right
  for (int y = 0; y < 27; ++y)
    for (int x = 20; x < 41; ++x) half.Set(x, y, 0, 255);
  cli::WriteImageFile(half, folder_ + "half.png", ImageFileKind::Png);
  cli::WriteImageFile(testhost::Image::Make(41, 27, 1, 16), folder_ + "zero.tif",
                      ImageFileKind::Tiff);
  const testhost::Image rgba = Lopsided(41, 27, 3, 8, true);
  cli::WriteImageFile(rgba, folder_ + "rgba.png", ImageFileKind::Png);
  struct Limit {
    std::vector<std::string> args;
    int left, top, right, bottom;
    bool alpha;  // an RGBA input whose transparency is written
  };
  const Limit limits[] = {
      {{"--rect", "5,7,20,11"}, 5, 7, 25, 18, false},
      {{"--mask", folder_ + "half.png"}, 20, 0, 41, 27, false},
      {{"--mask", folder_ + "zero.tif"}, 0, 0, 0, 0, false},
      {{"--rect", "3,2,10,8", "--replace-alpha"}, 3, 2, 13, 10, true},
  };
  for (const Limit& limit : limits) {
    const testhost::Image& source = limit.alpha ? rgba : source_;
    std::vector<std::string> args = {"render", folder_ + (limit.alpha ? "rgba.png" : "in.png"),
                                     folder_ + "out.png", "-q"};
    args.insert(args.end(), limit.args.begin(), limit.args.end());
    ASSERT_TRUE(Succeeds(args)) << args[4];
    const testhost::Image after = cli::ReadImageFile(folder_ + "out.png");
    ASSERT_EQ(after.width, 41);
    ASSERT_EQ(after.transparency, limit.alpha);
    const int area = (limit.right - limit.left) * (limit.bottom - limit.top);
    const auto differing = [&](bool inside) {
      return DifferingPixelsIn(source, after, limit.left, limit.top, limit.right, limit.bottom,
                               inside);
    };
    EXPECT_EQ(differing(false), 0) << args[4];
    EXPECT_GE(differing(true), area / 2 + (area > 0)) << args[4];
    if (limit.alpha) {
      EXPECT_GT(DifferingInPlane(source, after, 3), 0);
    }
  }
}

// The stars are drawn from the clock unless --seed fixes them: the same
// seed gives the same file byte for byte, another seed other stars.
TEST_F(Render, SeedRepeatsTheStarsOfRenderAndPsd) {
  for (const std::string type : {".png", ".psd"}) {
    std::vector<std::string> bytes;
    for (const char* seed : {"7", "7", "8"}) {
      const std::string out = folder_ + std::to_string(bytes.size()) + type;
      ASSERT_TRUE(Succeeds(
          type == ".psd" ? std::vector<std::string>{"psd", out, input_, "--seed", seed}
                         : std::vector<std::string>{"render", input_, out, "-q", "--seed", seed}));
      bytes.push_back(ReadText(out));
    }
    EXPECT_EQ(bytes[0], bytes[1]) << type;
    EXPECT_NE(bytes[0], bytes[2]) << type;
  }
}

// Without stars (they are placed at random) renders repeat, so options
// can be compared pixel by pixel with one plain render.
TEST_F(Render, StarlessRendersFollowGlueAndMix) {
  const testhost::Image normal = Rendered({"--set", "density=0"}, "normal.png");
  const testhost::Image byName = Rendered({"--set", "density=0", "--glue", "lighten"}, "n.png");
  const testhost::Image byNumber = Rendered({"--set", "density=0", "--glue", "5"}, "5.png");
  EXPECT_GT(DifferingPixels(normal, byName), 0);
  EXPECT_EQ(DifferingPixels(byName, byNumber), 0);
  // --mix P: each sample P % of the way from the original to the full
  // effect; 0 is the original itself.
  for (const int percent : {0, 50, 100}) {
    const testhost::Image mixed =
        Rendered({"--set", "density=0", "--mix", std::to_string(percent)}, "mix.png");
    ASSERT_EQ(mixed.width, normal.width);
    int off = 0;
    for (int y = 0; y < normal.height; ++y)
      for (int x = 0; x < normal.width; ++x)
        for (int p = 0; p < 3; ++p) {
          const double from = source_.Get(x, y, p);
          const double want = from + (normal.Get(x, y, p) - from) * percent / 100.0;
          off += std::abs(mixed.Get(x, y, p) - want) > (percent == 50 ? 0.5 : 0.0);
        }
    EXPECT_EQ(off, 0) << "--mix " << percent;
  }
}

// A folder of two pictures and a "PNG" that is not one: the batch writes
// the two, names the third, exits 1; run one at a time or two at once,
// with a seed, it writes the same bytes.
TEST(Batch, FolderWithACorruptFileWritesTheOthersTheSameAtAnyJobCount) {
  const std::string folder = ScratchFolder(), in = folder + "in/";
  std::filesystem::create_directories(in);
  cli::WriteImageFile(Lopsided(21, 13, 3, 8, false), in + "a.png", ImageFileKind::Png);
  cli::WriteImageFile(Lopsided(17, 11, 1, 16, false), in + "b.tif", ImageFileKind::Tiff);
  WriteText(in + "c.png", "not a picture\n");
  WriteText(in + "notes.txt", "not an image name: passed over\n");

  std::vector<std::string> written;
  for (const char* jobs : {"1", "2"}) {
    const std::string out = folder + "out" + jobs + "/";
    std::filesystem::create_directories(out);
    const CliResult run =
        RunStellane({"render", in, "--out-dir", out, "-j", jobs, "--seed", "11", "-q"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(Holds(run.err, "c.png: not a PNG, JPEG or TIFF"));
    EXPECT_TRUE(Holds(run.err, "1 of 3 files failed"));
    ASSERT_EQ(FolderEntries(out), (std::vector<std::string>{"a.png", "b.tif"}));
    EXPECT_EQ(cli::ReadImageFile(out + "b.tif").depth, 16);
    written.push_back(ReadText(out + "a.png") + ReadText(out + "b.tif"));
  }
  EXPECT_EQ(written[0], written[1]);
}

}  // namespace
}  // namespace clitest
