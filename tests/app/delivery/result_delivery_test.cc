#include "app/delivery/result_delivery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell/controller.h"
#include "app/shell/result_choice.h"
#include "tests/app/delivery/delivery_fixture.h"

namespace ductra::testing {
namespace {

using Calls = std::vector<std::string>;

std::string at(std::string_view text, platform::Millis when) { return quillpad::testing::string_call(text, when); }

TEST_F(DeliveryTest, AResultIsTypedWithItsSpaceAfterItsTargetComesToTheFront) {
  start_panel();
  constexpr char16_t kTargetClass[] = u"Target Class";
  system_.register_class({kTargetClass, [](platform::WindowHandle window, std::uint32_t message, platform::WParam w,
                                           platform::LParam l) {
                            return platform::WindowSystem::current().default_procedure(window, message, w, l);
                          }});
  platform::CreateWindowParams params;
  params.class_name = kTargetClass;
  params.style = platform::WS_POPUP | platform::WS_VISIBLE;
  host_.target = system_.create_window(params);
  system_.set_foreground_window(panel_->panel());

  struct Case {
    std::u16string result;
    std::u16string typed;
    Calls (*calls)(platform::Millis start);
  };
  const Case cases[] = {
      {u"ab", u"ab ", [](platform::Millis t) { return Calls{at("ab ", t), "images 2 2 flags 0"}; }},
      {u"a", u"a", [](platform::Millis t) { return Calls{at("a", t), "images 2 2 flags 0"}; }},
      {u"x\ny", u"x\ry ",
       [](platform::Millis t) {
         return Calls{at("x", t), "char 13 80 1 80 13", "char 13 10000 1 10000 13", at("y ", t + 10),
                      "images 2 2 flags 0"};
       }},
      {u"ab\r", u"ab\r",
       [](platform::Millis t) {
         return Calls{at("ab", t), "char 13 80 1 80 13", "char 13 10000 1 10000 13", "images 2 2 flags 0"};
       }},
      {u"", u"", [](platform::Millis) { return Calls{"images 2 2 flags 0"}; }},
      {u"\x1d" u"abc", u"", [](platform::Millis) { return Calls{"images 2 2 flags 0"}; }},
  };
  std::u16string typed_when_awaited;
  parts_.when_pen_awaited = [&] { typed_when_awaited = callback_.text(); };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.result.begin(), c.result.end()));
    callback_.clear();
    parts_.log.clear();
    host_.result = c.result;
    typed_when_awaited = u"(not finished)";
    const platform::Millis start = clock_.now();
    on_ui([](ResultDelivery& delivery) { delivery.deliver_result(); });
    EXPECT_EQ(callback_.text(), c.typed);
    EXPECT_EQ(typed_when_awaited, c.typed) << "the ink is finished once all of its text is typed";
    EXPECT_EQ(callback_.calls(), c.calls(start));
    // The ink counts as finished once its text is typed and the pen awaited.
    const Calls ui = {"activity", "erase ink", "capture mode 2", "capture mode 0", "pen awaited"};
    Calls expected = ui;
    if (c.result.starts_with(u"\x1d")) expected.insert(expected.begin() + 3, "next configuration");
    EXPECT_EQ(parts_.log.entries(), expected);
  }
  EXPECT_EQ(system_.foreground_window(), host_.target);
  system_.destroy_window(host_.target);
  system_.unregister_class(kTargetClass);
}

TEST_F(DeliveryTest, WithoutARelayWindowNothingIsSentAndTheInkIsStillErased) {
  host_.result = u"ab";
  on_ui([](ResultDelivery& delivery) {
    delivery.deliver_result();
    delivery.send_units(u"\b");
  });
  EXPECT_TRUE(callback_.calls().empty());
  EXPECT_EQ(parts_.log.entries(),
            (Calls{"activity", "erase ink", "capture mode 2", "capture mode 0", "pen awaited"}));
}

// A letter read "a", else "o" or "&".
class LetterChoice {
 public:
  LetterChoice(std::uint32_t kind = kChoiceLetter) {
    for (std::u16string& text : texts_) {
      arrays_.push_back({0, static_cast<std::uint32_t>(text.size()), static_cast<std::uint32_t>(text.size()),
                         text.data()});
    }
    choice.candidates = {0, 3, 3, arrays_.data()};
    choice.kind = kind;
    choice.left = 400;
    choice.top = 100;
    choice.right = 480;
    choice.bottom = 200;
    choice.chosen = kChoiceKeep;
  }
  ~LetterChoice() { ::operator delete(choice.returned_text.data); }

  crResultChoice choice{};

 private:
  std::vector<std::u16string> texts_ = {u"a", u"o", u"&"};
  std::vector<crDynArray> arrays_;
};

TEST_F(DeliveryTest, TheItemChosenInTheMenuBecomesTheEnginesAnswer) {
  responder_.choose_text(u"o");
  responder_.choose_text(u"По умолчанию");
  responder_.dismiss_menu();
  responder_.choose_id(1);  // not offered for a letter
  std::vector<std::int32_t> answers;
  for (int i = 0; i < 4; ++i) {
    LetterChoice letter;
    parts_.log.clear();
    on_ui([&](ResultDelivery& delivery) { delivery.show_variants_menu(letter.choice); });
    answers.push_back(letter.choice.chosen);
    EXPECT_EQ(parts_.log.entries(),
              (Calls{"frame 400 100 480 200", "capture mode 2", "prompt stroke armed", "capture mode 3"}));
  }
  EXPECT_EQ(answers, (std::vector<std::int32_t>{1, -1, -3, -3}));
  EXPECT_EQ(prompt_.resets, 4);
  const std::vector<platform::ShownMenu> menus = responder_.menus();
  ASSERT_EQ(menus.size(), 4u);
  std::vector<std::u16string> items;
  for (const platform::MenuItem& item : menus[0].items) items.push_back(item.text);
  EXPECT_EQ(items, (std::vector<std::u16string>{u"a", u"o", u"&&", u"", u"По умолчанию"}));
  EXPECT_EQ(menus[0].owner, ui_.window());
}

TEST_F(DeliveryTest, ThePromptStrokeIsWaitedForOnceAndThenWithdrawn) {
  responder_.dismiss_menu();
  responder_.dismiss_menu();
  LetterChoice letter;
  on_ui([&](ResultDelivery& delivery) { delivery.show_variants_menu(letter.choice); });
  EXPECT_TRUE(parts_.prompt_stroke_armed);
  EXPECT_EQ(timed_on_ui([](ResultDelivery& delivery) { delivery.deliver_result(); }), kPromptWaitMs)
      << "the pen-up of the menu's tap never came";
  EXPECT_FALSE(parts_.prompt_stroke_armed);
  EXPECT_EQ(timed_on_ui([](ResultDelivery& delivery) { delivery.deliver_result(); }), 0)
      << "a later result does not wait again";

  on_ui([&](ResultDelivery& delivery) { delivery.show_variants_menu(letter.choice); });
  prompt_.event.set();
  EXPECT_EQ(timed_on_ui([](ResultDelivery& delivery) { delivery.deliver_result(); }), 0);
  EXPECT_FALSE(parts_.prompt_stroke_armed);
}

TEST_F(DeliveryTest, AWordAddedFromTheMenuGoesIntoItsDictionaryOnlyWhenTheResultIsDelivered) {
  const std::uint32_t dictionaries[] = {4, 5};
  control_.script_user_dictionaries(dictionaries, 2);
  dictionaries_.edited = u"cats";
  responder_.choose_text(u"Добавить в словарь");
  LetterChoice word(kChoiceWord);
  on_ui([&](ResultDelivery& delivery) { delivery.show_variants_menu(word.choice); });
  EXPECT_EQ(dictionaries_.dialogs, (std::vector<std::u16string>{u"a in 1"}));
  EXPECT_EQ(word.choice.chosen, kChoiceWordAdded);
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(word.choice.returned_text.data),
                           word.choice.returned_text.count),
            u"cats");
  EXPECT_TRUE(control_.observe().added_words.empty()) << "not inside the engine's callback";

  host_.result = u"cats";
  on_ui([](ResultDelivery& delivery) { delivery.deliver_result(); });
  EXPECT_EQ(control_.observe().added_words, (std::vector<fake_engine::AddedWord>{{5, u"cats", 5000}}));
  EXPECT_EQ(control_.observe().dictionary_saves, 1);
  on_ui([](ResultDelivery& delivery) { delivery.deliver_result(); });
  EXPECT_EQ(control_.observe().added_words.size(), 1u) << "added once";
}

TEST_F(DeliveryTest, TheAddEntryNeedsAWordAndADictionaryOfTheCharsetAndACancelledDialogAddsNothing) {
  const std::uint32_t dictionaries[] = {4};
  control_.script_user_dictionaries(dictionaries, 1);
  struct Case {
    std::uint32_t kind;
    std::uint32_t charset;
    bool offered;
  };
  for (const Case c : {Case{kChoiceWord, 4, true}, Case{kChoiceWord, 5, false}, Case{kChoiceLetter, 4, false}}) {
    dictionaries_.charset = c.charset;
    responder_.choose_text(u"Добавить в словарь");
    LetterChoice choice(c.kind);
    on_ui([&](ResultDelivery& delivery) { delivery.show_variants_menu(choice.choice); });
    EXPECT_EQ(responder_.menus().back().items.size(), c.offered ? 6u : 5u);
    // Offered: the dialog was cancelled, the answer stays; else nothing was chosen.
    EXPECT_EQ(choice.choice.chosen, c.offered ? kChoiceKeep : kChoiceReject);
  }
  EXPECT_EQ(dictionaries_.dialogs.size(), 1u);
  on_ui([](ResultDelivery& delivery) { delivery.deliver_result(); });
  EXPECT_TRUE(control_.observe().added_words.empty());
  EXPECT_EQ(control_.observe().dictionary_saves, 0);
}

HandedOverStroke stroke_of(std::size_t points) {
  HandedOverStroke stroke;
  stroke.points.assign(points, InkPoint{100, 200});
  stroke.points.front() = {40000, -40000};
  stroke.start_tick = 77;
  stroke.last_tick = 99;
  return stroke;
}

TEST_F(DeliveryTest, ModeThreeStrokesGoToTheSegmenterAndItsAnswersToTheScreenAndTheRelay) {
  start_panel();
  struct Case {
    std::string name;
    std::optional<HandedOverStroke> stroke;
    bool segmenter;
    SegmenterResult answer;
    Calls log;
    std::u16string typed;
  };
  const std::vector<Case> cases = {
      {"no stroke", std::nullopt, true, {}, {"stroke taken", "erase ink", "capture mode 0", "pen awaited"}, u""},
      {"no segmenter", stroke_of(3), false, {}, {"stroke taken", "erase ink", "capture mode 0", "pen awaited"},
       u""},
      {"351 points", stroke_of(351), true, {}, {"stroke taken", "erase ink", "capture mode 0", "pen awaited"},
       u""},
      {"waiting", stroke_of(350), true, {1, true, 0, 2, u"é"}, {"stroke taken", "erase 2 oldest strokes", "timer 3"},
       u"é"},
      {"run over", stroke_of(2), true, {0, false, 0, 0, u"\x1d"},
       {"stroke taken", "erase ink", "capture mode 0", "next configuration", "pen awaited"}, u""},
      {"run over with text", stroke_of(2), true, {0, false, 0, 0, u"ok"},
       {"stroke taken", "erase ink", "capture mode 0", "pen awaited"}, u"ok"},
  };
  // The run's end sets capture on before its last answer is typed; the ink
  // is finished only after that.
  std::u16string typed_when_awaited;
  parts_.when_pen_awaited = [&] { typed_when_awaited = callback_.text(); };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    parts_.log.clear();
    callback_.clear();
    segmenter_.strokes.clear();
    parts_.handed_over = c.stroke;
    segmenter_.present = c.segmenter;
    segmenter_.answer = c.answer;
    typed_when_awaited = u"(not finished)";
    on_ui([](ResultDelivery& delivery) { delivery.take_mode_three_strokes(); });
    EXPECT_EQ(parts_.log.entries(), c.log);
    EXPECT_EQ(callback_.text(), c.typed);
    if (c.name != "waiting") {
      EXPECT_EQ(typed_when_awaited, c.typed);
    }
    const bool fed = c.name == "waiting" || c.name.starts_with("run over");
    ASSERT_EQ(segmenter_.strokes.size(), fed ? 1u : 0u);
    if (fed) {
      EXPECT_EQ(segmenter_.strokes[0].points.size(), c.stroke->points.size());
      EXPECT_EQ(segmenter_.strokes[0].points[0].x, 32767);
      EXPECT_EQ(segmenter_.strokes[0].points[0].y, -32768);
      EXPECT_EQ(segmenter_.strokes[0].start, 77u);
      EXPECT_EQ(segmenter_.strokes[0].end, 99u);
    }
  }
}

}  // namespace
}  // namespace ductra::testing
