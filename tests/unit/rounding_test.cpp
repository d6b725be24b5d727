// Numbers turned into whole twips and pixels: the nearest integer, halves to
// the even neighbour.
#include <gtest/gtest.h>

#include "ui/twips.h"

namespace vitrolux::platform {
namespace {

TEST(RoundingTest, HalvesGoToTheEvenNeighbourAndTheRestToTheNearest) {
  const struct {
    double value;
    int expected;
  } cases[] = {
      {0.5, 0},   {1.5, 2},   {2.5, 2}, {966.5, 966}, {967.5, 968}, {-0.5, 0},
      {-1.5, -2}, {-2.5, -2}, {2.4, 2}, {2.6, 3},     {2.51, 3},    {644.8, 645},
      {-2.6, -3}, {-2.4, -2}, {0.0, 0}, {7.0, 7},     {22.5, 22},   {23.5, 24},
  };
  for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c.value), c.expected) << c.value;
}

TEST(RoundingTest, TwipsAndPixelsConvertAtTheDisplaysDpi) {
  EXPECT_EQ(twipsToPixels(9675, 96), 645);
  EXPECT_EQ(twipsToPixels(6495, 96), 433);
  EXPECT_EQ(twipsToPixels(9675, 120), 806);  // 806.25
  EXPECT_EQ(twipsToPixels(9675, 144), 968);  // 967.5, to the even 968
  EXPECT_EQ(twipsToPixels(6465, 144), 646);  // 646.5, to the even 646
  EXPECT_EQ(pixelsToTwips(645, 96), 9675);
  EXPECT_EQ(pixelsToTwips(806, 120), 9672);
}

}  // namespace
}  // namespace vitrolux::platform
