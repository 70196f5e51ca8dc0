// The calculator mode on the road of results: the value is typed, the
// bubble shows the expression with its value (black) or its error (red),
// centred on the ink, and the shell window's timer 2 is started to hide it.
#include <gtest/gtest.h>

#include "tests/app/delivery/delivery_fixture.h"

namespace ductra {
namespace {

using testing::DeliveryTest;

TEST_F(DeliveryTest, InTheCalculatorModeTheValueIsTypedAndTheBubbleShowsTheExpression) {
  start_panel();
  parts_.ink_box = InkBox{10, 20, 50, 40};
  struct Case {
    std::u16string result;
    std::u16string typed;
    std::u16string bubble;  // empty: none shown
    platform::ColorRef colour;
  };
  const platform::ColorRef black = platform::rgb(0, 0, 0), red = platform::rgb(255, 0, 0);
  const Case cases[] = {
      {u"2.5*2", u"5 ", u"2,5*2=5", black},
      {u"2 + 3 = 9", u"5 ", u"2 + 3 =5", black},
      {u"7:2", u"3,5 ", u"7:2=3,5", black},
      {u"1/0", u"", u"1/0=\nError: division by zero", red},
      {u"2*(3", u"", u"2*(3=\nError: ')' expected", red},
      {u"\b", u"", u"", black},
      {u"", u"", u"", black},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.result.begin(), c.result.end()));
    callback_.clear();
    bubble_.shown.clear();
    host_.result = c.result;
    on_ui([](ResultDelivery& delivery) {
      delivery.set_calculator_mode(true);
      delivery.deliver_result();
    });
    EXPECT_EQ(callback_.text(), c.typed);
    if (c.result == u"\b") {
      EXPECT_EQ(callback_.calls().front(), "key 8 down") << "a backspace passes unchanged";
    }
    if (c.bubble.empty()) {
      EXPECT_TRUE(bubble_.shown.empty());
      continue;
    }
    ASSERT_EQ(bubble_.shown.size(), 1u);
    EXPECT_EQ(bubble_.shown[0].text, c.bubble);
    EXPECT_EQ(bubble_.shown[0].colour, c.colour);
    EXPECT_EQ(bubble_.shown[0].ink_box, (InkBox{10, 20, 50, 40})) << "the ink's box, taken before it was erased";
  }
  EXPECT_EQ(parts_.log.count("prompt hidden"), 0);
}

TEST_F(DeliveryTest, OutsideTheCalculatorModeNoBubbleIsShown) {
  start_panel();
  host_.result = u"2+3";
  on_ui([](ResultDelivery& delivery) { delivery.deliver_result(); });
  EXPECT_EQ(callback_.text(), u"2+3 ");
  EXPECT_TRUE(bubble_.shown.empty());
}

}  // namespace
}  // namespace ductra
