// The two small formats of the command-line host that other programs meet:
// 16-bit samples in files, and the descriptor text of --record and --play.
#include <gtest/gtest.h>

#include "host/PluginApi.h"
#include "stellane/CliError.h"
#include "stellane/DescriptorText.h"
#include "stellane/ImageFiles.h"

namespace clitest {
namespace {

TEST(SixteenBitMapping, EndsMeetAndEveryHostValueSurvivesAFile) {
  EXPECT_EQ(cli::HostFromFile16(0), 0);
  EXPECT_EQ(cli::HostFromFile16(65535), 32768);
  EXPECT_EQ(cli::FileFromHost16(0), 0);
  EXPECT_EQ(cli::FileFromHost16(32768), 65535);
  EXPECT_EQ(cli::FileFromHost16(16384), 32768);  // half stays half
  for (int h = 0; h <= 32768; ++h)
    ASSERT_EQ(cli::HostFromFile16(cli::FileFromHost16(std::uint16_t(h))), h) << h;
  // File values only move up the scale as they grow.
  for (int f = 1; f <= 65535; ++f)
    ASSERT_LE(cli::HostFromFile16(std::uint16_t(f - 1)), cli::HostFromFile16(std::uint16_t(f)));
}

TEST(DescriptorText, RoundTripsAndNamesTheBadLine) {
  const testhost::Descriptor items = {
      testhost::IntegerItem(ps::FourCC("0001"), 255),
      testhost::IntegerItem(ps::FourCC("0019"), -2147483647 - 1),
      testhost::EnumeratedItem(ps::FourCC("GLUE"), ps::FourCC("GLty"), ps::FourCC("GL62")),
      testhost::IntegerItem(ps::FourCC("0020"), 2147483647)};
  const std::string text = cli::FormatDescriptorText(items);
  EXPECT_EQ(text,
            "stellane-descriptor 1\n0001 long 255\n0019 long -2147483648\n"
            "GLUE enum GLty GL62\n0020 long 2147483647\n");
  EXPECT_EQ(cli::FormatDescriptorText(cli::ParseDescriptorText(text, "t")), text);
  // Windows line ends, comments and blank lines are fine.
  EXPECT_EQ(
      cli::ParseDescriptorText("stellane-descriptor 1\r\n\r\n# x\r\n0008 long 3\r\n", "t").size(),
      1u);

  const struct {
    const char* text;
    const char* message;
  } bad[] = {{"stellane-descriptor 1\n0008 long 2147483648\n", "t:2:"},
             // The glue mode as the command line takes it: modes 1 to 62.
             {"stellane-descriptor 1\nGLUE enum GLty GL99\n", "t:2: unknown glue mode"},
             // A long key is cut short in the message.
             {"stellane-descriptor 1\n"
              "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk"
              "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk long 1\n",
              "t:2: a key is four characters"}};
  for (const auto& b : bad) {
    try {
      cli::ParseDescriptorText(b.text, "t");
      ADD_FAILURE() << "accepted: " << b.text;
    } catch (const cli::CliError& e) {
      EXPECT_EQ(e.message.rfind(b.message, 0), 0u) << e.message;
      EXPECT_LT(e.message.size(), 100u) << e.message;
    }
  }
}

}  // namespace
}  // namespace clitest
