// The fixture of the copybook tests: the settings tests' screen, window
// server and dialog driver, with the scripted engine (helper/fake_engine)
// started and given a copybook, and the records such a copybook is made of.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/shell/engine.h"
#include "app/shell/engine_library.h"
#include "tests/app/engine_client_support.h"
#include "tests/app/settings/settings_fixture.h"

namespace ductra::testing {

inline crVariant variant(std::uint16_t id, std::uint32_t charset, char16_t letter, std::uint16_t shape,
                         std::uint8_t group = 0, bool representative = false, std::uint32_t use = 0) {
  crVariant v{};
  v.id = id;
  v.idSet = charset;
  v.menuc = letter;
  v.shape_id = shape;
  v.copybook_group = group;
  v.copybook_representative = representative ? 1 : 0;
  v.idUse = use;
  return v;
}

// A complex variant drawn whole (`whole` not 0) or from its two parts.
inline crComplexVariant complex_variant(std::uint16_t id, std::uint32_t charset, char16_t letter, std::uint16_t whole,
                                        std::uint16_t first, std::uint16_t second, std::uint8_t group = 0,
                                        std::uint32_t use = 0) {
  crComplexVariant v{};
  v.id = id;
  v.set = charset;
  v.menuc = letter;
  v.whole_shape_id = whole;
  v.reference_id = first;
  v.detail_shape_id = second;
  v.group = group;
  v.use = use;
  return v;
}

inline crCharSetSymb symbol(std::uint32_t charset, char16_t code) {
  crCharSetSymb s{};
  s.charset_id = charset;
  s.code = code;
  return s;
}

// A shape of one element: a line across the middle of the cell, at a
// height that tells the shapes apart, with its guides.
inline std::vector<fake_engine::ShapeElement> line_shape(std::int16_t y) {
  return {{{{{40, y}, {280, y}}}, 60, 260}};
}

class CopybookTest : public SettingsTest {
 protected:
  CopybookTest() {
    std::string error;
    library_ = EngineLibrary::open(FAKE_ENGINE_LIBRARY, &error);
    if (!library_) throw std::runtime_error(error);
    engine_ = std::make_unique<Engine>(*library_);
    const fake_engine::Hooks hooks{};
    control_.reset(&hooks);
  }
  ~CopybookTest() override { engine_->free(); }

  // Starts the engine on `copybook` with the charsets it names.
  void start(const fake_engine::Copybook& copybook, const std::vector<std::uint32_t>& charsets = {}) {
    control_.script_copybook(&copybook);
    control_.script_charsets(charsets.data(), static_cast<int>(charsets.size()));
    ASSERT_EQ(engine_->init(u"qlmain.dt"), 0);
  }

  fake_engine::Observed observed() const { return control_.observe(); }

  // Paints `window` (when given) with everything in it, then keeps the
  // screen as a PNG in the copybook's output folder.
  void keep_screen(const std::string& name, platform::WindowHandle window = {}) {
    if (window) paint_tree(window);
    const std::filesystem::path dir = std::filesystem::path(APP_TEST_OUTPUT_DIR) / "copybook";
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(platform::write_png(*screen_, (dir / name).string()));
  }

  FakeEngineControl control_;
  std::unique_ptr<EngineLibrary> library_;
  std::unique_ptr<Engine> engine_;
};

}  // namespace ductra::testing
