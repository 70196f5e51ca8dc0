// A small database trained through the engine's exports from the written
// digits and letters of the fixture "letter_samples.txt" (UNIPEN writers of
// the training side), and the evaluation of written ink as one stroke group
// on the kernel it made: the ink is recognised in debug mode, so that the
// line work stays, and the group of all its figures then goes through the
// kernel's element recognition.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/kernel/c_records.h"
#include "engine/kernel/kernel.h"
#include "engine/records/figure_group.h"
#include "engine/segmentation/line_letter_search.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/figure_ink.h"
#include "tests/support/temp_dir.h"

namespace inkrec::testing {

constexpr std::uint32_t kDigitsCharset = 3;
constexpr std::uint32_t kEnglishCharset = 5;
constexpr std::uint32_t kPunctuationCharset = 38;
constexpr std::uint16_t kFirstShapeId = 12001;
constexpr std::uint16_t kDotShapeId = 828;  // the special mark of a dot or a flat dash
constexpr std::uint32_t kTallProperty = 1u << 17;
constexpr std::uint32_t kAnyLoopsProperty = 1u << 0;

struct WrittenSample {
  char16_t code = 0;
  bool training = false;
  std::string writer;
  std::vector<test::Points> strokes;
};

// The fixture's samples: "CHAR<TAB>train|heldout<TAB>WRITER<TAB>STROKES".
inline std::vector<WrittenSample> read_letter_samples() {
  std::vector<WrittenSample> samples;
  std::ifstream in(std::string(INKREC_TEST_DATA_DIR) + "/letter_samples.txt");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string code, side, ink;
    WrittenSample sample;
    std::getline(fields, code, '\t');
    std::getline(fields, side, '\t');
    std::getline(fields, sample.writer, '\t');
    std::getline(fields, ink);
    sample.code = static_cast<char16_t>(code[0]);
    sample.training = side == "train";
    std::istringstream strokes(ink);
    std::string stroke;
    while (std::getline(strokes, stroke, ';')) {
      test::Points points;
      std::istringstream coords(stroke);
      int x = 0, y = 0;
      char comma = 0;
      while (coords >> x >> comma >> y) {
        points.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
      }
      sample.strokes.push_back(points);
    }
    samples.push_back(sample);
  }
  return samples;
}

inline crRecognitionParams application_request() {
  crRecognitionParams params{};
  params.third_word = 100;
  params.first_switch = 1;
  params.second_switch = 1;
  params.skew_allowed = 1;
  params.layout_switch = 1;
  params.refine_trajectories = 1;
  return params;
}

class TrainedLetters {
  // The cells of the features 1 to 19, in order, as the default database
  // has them; the features that need descriptions (2, 3, 9, 15, 16) are
  // taken away again.
  struct Grid {
    std::uint8_t nx;
    std::uint8_t ny;
  };
  static constexpr Grid kGrids[] = {{12, 3}, {12, 3}, {12, 3}, {6, 4},  {12, 3},
                                    {66, 3}, {10, 2}, {6, 3},  {12, 3}, {8, 1},
                                    {21, 3}, {24, 3}, {4, 1},  {6, 1},  {12, 3},
                                    {12, 3}, {8, 5},  {10, 2}, {24, 3}};

 public:
  // The default database's Raf features, weight 32; the special mark of a
  // dot in the punctuation charset; one charset symbol, one
  // shape of the training samples and one variant (its etalon trained from
  // the shape) per character.
  TrainedLetters() {
    write_empty_data_file(dir_.file("qlmain.dt"));
    const std::u16string data = dir_.wide_file("qlmain.dt");
    EXPECT_EQ(crInitCrMan(data.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr), kOk);
    void* core = nullptr;
    EXPECT_EQ(crmGetCore(&core), kOk);
    kernel_ = static_cast<Kernel*>(core);
    add_charset(kDigitsCharset, u"digits");
    add_charset(kEnglishCharset, u"English");
    add_charset(kPunctuationCharset, u"punctuation");
    for (const Grid grid : kGrids) {
      const crRaf raf{0, 0, grid.nx, grid.ny, 32, 0};
      EXPECT_EQ(crmAddRaf(&raf, 0), kOk);
    }
    for (const std::uint16_t generic : {2, 3, 9, 15, 16}) EXPECT_EQ(crmRafDelete(generic), kOk);
    std::vector<char16_t> codes;
    for (const WrittenSample& sample : read_letter_samples()) {
      if (sample.training && (codes.empty() || codes.back() != sample.code)) {
        codes.push_back(sample.code);
      }
    }
    add_dot_mark();
    for (const char16_t code : codes) add_letter(code);
    const std::uint32_t active[] = {kDigitsCharset, kEnglishCharset};
    EXPECT_EQ(crSetActiveCharSets(active, 2), kOk);
  }
  ~TrainedLetters() { crFreeCrMan(); }
  TrainedLetters(const TrainedLetters&) = delete;
  TrainedLetters& operator=(const TrainedLetters&) = delete;

  Kernel& kernel() { return *kernel_; }
  // Makes the charset of the character the only active one.
  void activate_charset_of(char16_t code) {
    const std::uint32_t id = charset_of(code);
    EXPECT_EQ(crSetActiveCharSets(&id, 1), kOk);
  }
  static std::uint32_t charset_of(char16_t code) {
    return code >= u'0' && code <= u'9' ? kDigitsCharset : kEnglishCharset;
  }
  DataStore& store() { return *kernel_->data_store(); }
  LineWork& work() { return dynamic_cast<LineLetterSearch&>(kernel_->letter_search()).work(); }

  // Recognises the ink in debug mode (the line work stays), then evaluates
  // its figures (all of them, or those listed) as one group into `out`
  // with the kernel's debug mode set to `debug_mode`: the evaluation's
  // status. `before` runs just before the evaluation.
  int evaluate(const std::vector<test::Points>& ink, CandidateLists& out,
               const std::vector<std::uint32_t>& figures = {}, std::uint32_t debug_mode = 1,
               const std::function<void()>& before = {}) {
    kernel_->clear_pane();
    for (const test::Points& points : ink) {
      const crStrokeInput stroke{reinterpret_cast<const crPoint*>(points.data()),
                                 static_cast<std::int32_t>(points.size())};
      EXPECT_EQ(crAddStroke(&stroke, 1, -1, -1), kOk);
    }
    EXPECT_EQ(crmSetDebugMode(1), kOk);
    std::u16string buffer(16, u'#');
    crRecognitionParams params = request;
    params.result_buffer = buffer.data();
    params.result_size = static_cast<std::int32_t>(buffer.size());
    EXPECT_EQ(crRecognize(&params), kOk);
    GlyphGeometry geometry;
    FigureGroup group(nullptr, &geometry);
    std::vector<std::uint32_t> members = figures;
    for (std::uint32_t i = 0; figures.empty() && i < work().bodies.size(); ++i) members.push_back(i);
    for (const std::uint32_t i : members) {
      EXPECT_EQ(group.figures.push_back(&work().bodies[i]), kOk);
      EXPECT_EQ(group.members.set(i), kOk);
    }
    EXPECT_EQ(group_prepare_glyph(group, true), kOk);
    group.one_figure_mark = one_figure_mark_;
    EXPECT_EQ(crmSetDebugMode(debug_mode), kOk);
    LetterSearch& search = kernel_->letter_search();
    EXPECT_EQ(search.begin_run(*kernel_), kOk);
    if (before) before();
    const int status = kernel_->recognize_element(group, search.line_height(), out);
    search.end_run();
    inked_cells_ = group.inked_cells;
    return status;
  }

  std::uint16_t last_inked_cells() const { return inked_cells_; }

  // The folder the database and the word lists are read from.
  const TempDir& data_folder() const { return dir_; }

  // The request the ink is recognised with: the application's switches.
  crRecognitionParams request = application_request();
  std::uint16_t dot_variant_id() const { return dot_variant_id_; }
  // Whether the groups evaluated are formed as single marks.
  void set_one_figure_mark(bool mark) { one_figure_mark_ = mark ? 1 : 0; }

 private:
  void add_charset(std::uint32_t id, std::u16string_view name) {
    crCharSet charset{};
    charset.id = id;
    name.copy(charset.name, 30);
    // English is a language; it reads its word list "eng.wlb" from the data
    // folder, when one is written there.
    if (id == kEnglishCharset) {
      charset.ortho = 1;
      std::u16string_view(u"eng").copy(charset.word_list_code, 3);
    }
    EXPECT_EQ(crmAddCharSet(&charset), kOk);
  }

  // The special mark 828 (no character code, no etalon) of the
  // punctuation charset, on a shape of its own id.
  void add_dot_mark() {
    Shape shape;
    shape.info.id = kDotShapeId;
    shape.info.name[0] = '.';
    shape.info.width_factor = 100;
    shape.info.height_factor = 100;
    EXPECT_EQ(store().place_shape(shape), kOk);
    crVariant variant{};
    variant.idSet = kPunctuationCharset;
    variant.shape_id = kDotShapeId;
    variant.special_recognition = kSpecialRecognition;
    variant.copybook_representative = 1;
    EXPECT_EQ(crmVariantAdd(&variant, 0), kOk);
    dot_variant_id_ = store().variant_at(store().variant_count() - 1)->id;
  }

  void add_letter(char16_t code) {
    const std::uint32_t charset = charset_of(code);
    crSymb symb{};
    symb.code = code;
    EXPECT_EQ(crmAddSymb(&symb), kOk);
    const crCharSetSymb member{charset, code, {}, {}};
    EXPECT_EQ(crmAddCharSetSymb(&member), kOk);
    Shape shape;
    shape.info.name[0] = static_cast<char>(code);
    shape.info.width_factor = 100;
    shape.info.height_factor = 100;
    for (const WrittenSample& sample : read_letter_samples()) {
      if (!sample.training || sample.code != code) continue;
      Sample* written = shape.samples.push_default();
      written->first_guide = 140;  // the samples' upper line and base line
      written->second_guide = 220;
      for (const test::Points& points : sample.strokes) {
        Stroke stroke;
        stroke.append_n(points.data(), static_cast<std::uint32_t>(points.size()));
        written->strokes.push_back(std::move(stroke));
      }
    }
    // The first shape goes above the ids the rules know shapes by (as the
    // default database's do); the exports number the next ones after it.
    if (store().shape_count() == 1) {
      shape.info.id = kFirstShapeId;
      EXPECT_EQ(store().place_shape(shape), kOk);
    } else {
      EXPECT_EQ(crmAddShape(c_record<crShape>(&shape)), kOk);
    }
    crVariant variant{};
    variant.idSet = charset;
    variant.shape_id = store().shape_at(store().shape_count() - 1)->info.id;
    variant.menuc = code;
    // Digits and "l" reach above the upper line; a letter of one figure
    // may close any number of loops.
    if (charset == kDigitsCharset || code == u'l') variant.properties = kTallProperty;
    if (charset == kEnglishCharset) variant.properties |= kAnyLoopsProperty;
    variant.copybook_representative = 1;
    EXPECT_EQ(crmVariantAdd(&variant, 0), kOk);
  }

  TempDir dir_;
  Kernel* kernel_ = nullptr;
  std::uint16_t inked_cells_ = 0;
  std::uint8_t one_figure_mark_ = 0;
  std::uint16_t dot_variant_id_ = 0;
};

}  // namespace inkrec::testing
