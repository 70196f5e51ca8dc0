#include "app/shell/engine.h"

#include <algorithm>

namespace ductra {

int Engine::init(const std::u16string& data_file) {
  return gated(e_.init_cr_man, data_file.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr);
}

int Engine::free() { return gated(e_.free_cr_man); }

int Engine::add_stroke(std::span<const crPoint> points) {
  const crStrokeInput stroke{points.data(), static_cast<std::int32_t>(points.size())};
  return gated(e_.add_stroke, &stroke, 1, std::int16_t{-1}, std::int16_t{-1});
}

int Engine::clear_pane() { return gated(e_.clear_pane); }

int Engine::recognize(const crRecognitionParams& params) { return gated(e_.recognize, &params); }

int Engine::set_quick_flag() { return e_.set_quick_flag(); }

int Engine::set_stop_flag() { return e_.set_stop_flag(); }

int Engine::set_debug_mode(std::uint32_t mode) { return gated(e_.set_debug_mode, mode); }

int Engine::figure_output(void** list) { return gated(e_.get_fig_out_list, list); }

int Engine::active_charsets(std::vector<std::uint32_t>* ids) {
  ids->assign(kMaxActiveCharsets, 0);
  std::uint32_t count = kMaxActiveCharsets;
  const int status = gated(e_.get_active_char_sets, ids->data(), &count);
  ids->resize(status == 0 ? std::min(count, kMaxActiveCharsets) : 0);
  return status;
}

int Engine::set_active_charsets(std::span<const std::uint32_t> ids) {
  EngineGate::Hold hold(gate_);
  std::vector<std::uint32_t> known;
  for (const std::uint32_t id : ids) {
    crCharSet record{};
    if (e_.get_char_set(id, &record) == 0) known.push_back(id);
  }
  return e_.set_active_char_sets(known.data(), static_cast<int>(known.size()));
}

int Engine::char_set_count(std::uint32_t* count) { return gated(e_.get_char_set_count, count); }

int Engine::char_set(std::uint32_t id, crCharSet* out) { return gated(e_.get_char_set, id, out); }

int Engine::char_set_by_index(std::uint32_t index, crCharSet* out) {
  return gated(e_.get_char_set_by_ind, index, out);
}

int Engine::char_set_symbol_count(std::uint32_t charset_id, std::uint32_t* count) {
  return gated(e_.get_char_set_symb_count, charset_id, count);
}

int Engine::char_set_symbol_by_index(std::uint32_t index, crCharSetSymb* out) {
  return gated(e_.get_char_set_symb_by_ind, index, out);
}

int Engine::variant_count(std::uint32_t* count) { return gated(e_.variant_get_count_all, count); }

int Engine::variant_by_index(std::uint32_t index, crVariant* out) {
  return gated(e_.variant_get_by_ind, index, out);
}

int Engine::set_variant(const crVariant& record) { return gated(e_.variant_set, &record); }

int Engine::complex_variant_count(std::uint32_t* count) {
  return gated(e_.complex_variant_get_count_all, count);
}

int Engine::complex_variant_by_index(std::uint32_t index, crComplexVariant* out) {
  return gated(e_.complex_variant_get_by_ind, index, out);
}

int Engine::set_complex_variant(const crComplexVariant& record) {
  return gated(e_.complex_variant_set, &record);
}

int Engine::shape(std::uint16_t id, crShape* out) { return gated(e_.get_shape, id, out); }

std::u16string Engine::error_text(int code) {
  char16_t text[256] = {};
  if (gated(e_.return_err_text, code, text) != 0) return {};
  return text;
}

int Engine::version(char* buffer, int size) { return gated(e_.get_version, buffer, size); }

int Engine::write_user_variants() {
  const crDynArray no_variants{};
  const crDynArray no_complex_variants{};
  return gated(e_.set_variants_and_write, &no_variants, &no_complex_variants);
}

int Engine::user_dictionary_count(std::uint32_t* count) {
  return gated(e_.get_count_of_user_dictionaries, count);
}

int Engine::user_dictionary_charset(std::uint32_t dictionary, std::uint32_t* charset_id) {
  return gated(e_.get_id_of_char_set_of_user_dictionary, dictionary, charset_id);
}

int Engine::user_dictionary_word_count(std::uint32_t dictionary, std::uint32_t* count) {
  return gated(e_.get_count_of_words_in_user_dictionary, dictionary, count);
}

int Engine::user_dictionary_word_length(std::uint32_t dictionary, std::uint32_t word, std::uint32_t* length) {
  return gated(e_.get_length_of_word_in_user_dictionary, dictionary, word, length);
}

int Engine::user_dictionary_word(std::uint32_t dictionary, std::uint32_t word, char16_t* text) {
  return gated(e_.get_text_of_word_in_user_dictionary, dictionary, word, text);
}

int Engine::check_user_dictionary_word(std::uint32_t dictionary, const char16_t* text,
                                       std::uint8_t* ok) {
  return gated(e_.check_text_of_word_for_user_dictionary, dictionary, text, ok);
}

int Engine::add_user_dictionary_word(std::uint32_t charset_id, const char16_t* text,
                                     std::uint32_t probability) {
  return gated(e_.add_word_to_user_dictionary, charset_id, text, probability);
}

int Engine::remove_user_dictionary_word(std::uint32_t charset_id, std::uint32_t word) {
  return gated(e_.remove_word_from_user_dictionary, charset_id, word);
}

int Engine::search_user_dictionary(std::uint32_t charset_id, const char16_t* text,
                                   std::uint32_t* position, std::uint8_t* found) {
  return gated(e_.search_word_in_user_dictionary, charset_id, text, position, found);
}

int Engine::save_user_dictionaries() { return gated(e_.save_user_dictionaries_to_file); }

}  // namespace ductra
