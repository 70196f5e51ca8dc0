// The records of the C interface and the engine's records they stand for:
// each pair shares one layout, checked here, so the exports pass records
// across as they are.
#pragma once

#include <cstddef>
#include <type_traits>

#include "engine/database/data_records.h"
#include "engine/database/knowledge_base_records.h"
#include "engine/database/spec_pairs.h"
#include "engine/database/tuples.h"
#include "engine/foundation/point.h"
#include "engine/foundation/stroke.h"
#include "engine/foundation/tagged_records.h"
#include "engine/kernel/c_array.h"
#include "engine/kernel/correction_request.h"
#include "engine/kernel/result_choice.h"
#include "engine/records/recognition_params.h"
#include "inkrec/inkrec.h"

namespace inkrec {

// The engine record behind each C record.
template <typename C>
struct EngineRecord;

template <typename C, typename E>
constexpr bool same_shape() {
  return std::is_standard_layout_v<C> && std::is_standard_layout_v<E> && sizeof(C) == sizeof(E) &&
         alignof(C) == alignof(E);
}

#define INKREC_RECORD(C, E) \
  template <>               \
  struct EngineRecord<C> {  \
    using type = E;         \
  };                        \
  static_assert(same_shape<C, E>(), #C " and " #E " differ")
#define INKREC_SAME_FIELD(C, E, field) \
  static_assert(offsetof(C, field) == offsetof(E, field), #C "." #field " is out of place")

INKREC_RECORD(crPoint, PackedPoint);
INKREC_SAME_FIELD(crPoint, PackedPoint, y);

INKREC_RECORD(crStrokeInput, StrokeView);
INKREC_SAME_FIELD(crStrokeInput, StrokeView, count);

INKREC_RECORD(crResultChoice, ResultChoice);
INKREC_SAME_FIELD(crResultChoice, ResultChoice, kind);
INKREC_SAME_FIELD(crResultChoice, ResultChoice, left);
INKREC_SAME_FIELD(crResultChoice, ResultChoice, top);
INKREC_SAME_FIELD(crResultChoice, ResultChoice, right);
INKREC_SAME_FIELD(crResultChoice, ResultChoice, bottom);
INKREC_SAME_FIELD(crResultChoice, ResultChoice, chosen);
INKREC_SAME_FIELD(crResultChoice, ResultChoice, returned_text);

INKREC_RECORD(crRecognitionParams, RecognitionParams);
INKREC_SAME_FIELD(crRecognitionParams, RecognitionParams, delivery_mode);
INKREC_SAME_FIELD(crRecognitionParams, RecognitionParams, third_word);
INKREC_SAME_FIELD(crRecognitionParams, RecognitionParams, context);
INKREC_SAME_FIELD(crRecognitionParams, RecognitionParams, mode);
INKREC_SAME_FIELD(crRecognitionParams, RecognitionParams, first_switch);
INKREC_SAME_FIELD(crRecognitionParams, RecognitionParams, word_pass);
INKREC_SAME_FIELD(crRecognitionParams, RecognitionParams, caller_base_lines);
INKREC_SAME_FIELD(crRecognitionParams, RecognitionParams, refine_trajectories);
INKREC_SAME_FIELD(crRecognitionParams, RecognitionParams, layout_switch);
INKREC_SAME_FIELD(crRecognitionParams, RecognitionParams, strict_switch);
INKREC_SAME_FIELD(crRecognitionParams, RecognitionParams, result_buffer);
INKREC_SAME_FIELD(crRecognitionParams, RecognitionParams, result_size);

INKREC_RECORD(crCorrRequest, CorrectionRequest);
INKREC_SAME_FIELD(crCorrRequest, CorrectionRequest, values);
INKREC_SAME_FIELD(crCorrRequest, CorrectionRequest, figure_indices);

INKREC_RECORD(crCharSet, CharSet);
INKREC_SAME_FIELD(crCharSet, CharSet, ortho);
INKREC_SAME_FIELD(crCharSet, CharSet, name);
INKREC_SAME_FIELD(crCharSet, CharSet, word_list_code);
INKREC_SAME_FIELD(crCharSet, CharSet, direct);

INKREC_RECORD(crSymb, Symb);
INKREC_SAME_FIELD(crSymb, Symb, code);
INKREC_SAME_FIELD(crSymb, Symb, third_code);
INKREC_SAME_FIELD(crSymb, Symb, control);

INKREC_RECORD(crCharSetSymb, CharSetSymb);
INKREC_SAME_FIELD(crCharSetSymb, CharSetSymb, code);
INKREC_SAME_FIELD(crCharSetSymb, CharSetSymb, values);

INKREC_RECORD(crVariant, Variant);
INKREC_SAME_FIELD(crVariant, Variant, id);
INKREC_SAME_FIELD(crVariant, Variant, etalon_id);
INKREC_SAME_FIELD(crVariant, Variant, special_recognition);
INKREC_SAME_FIELD(crVariant, Variant, properties);
INKREC_SAME_FIELD(crVariant, Variant, aux_codes);
INKREC_SAME_FIELD(crVariant, Variant, aux_byte5);

INKREC_RECORD(crComplexVariant, ComplexVariant);
INKREC_SAME_FIELD(crComplexVariant, ComplexVariant, kind);
INKREC_SAME_FIELD(crComplexVariant, ComplexVariant, id);
INKREC_SAME_FIELD(crComplexVariant, ComplexVariant, detail_shape_id);
INKREC_SAME_FIELD(crComplexVariant, ComplexVariant, rec_mode);
INKREC_SAME_FIELD(crComplexVariant, ComplexVariant, symbol_id);
INKREC_SAME_FIELD(crComplexVariant, ComplexVariant, whole_shape_id);
INKREC_SAME_FIELD(crComplexVariant, ComplexVariant, first_component);
INKREC_SAME_FIELD(crComplexVariant, ComplexVariant, second_component);
INKREC_SAME_FIELD(crComplexVariant, ComplexVariant, tolerance);
INKREC_SAME_FIELD(crComplexVariant, ComplexVariant, pass_flag);
INKREC_SAME_FIELD(crComplexVariant, ComplexVariant, carried);

INKREC_RECORD(crRaf, Raf);
INKREC_SAME_FIELD(crRaf, Raf, id);
INKREC_SAME_FIELD(crRaf, Raf, ves);

INKREC_RECORD(crShapeInfoBlock, ShapeInfo);
INKREC_SAME_FIELD(crShapeInfoBlock, ShapeInfo, name);
INKREC_SAME_FIELD(crShapeInfoBlock, ShapeInfo, stats);
INKREC_SAME_FIELD(crShapeInfoBlock, ShapeInfo, height_limit);
INKREC_SAME_FIELD(crShapeInfoBlock, ShapeInfo, segment_masks);
INKREC_SAME_FIELD(crShapeInfoBlock, ShapeInfo, min_second_count);
INKREC_SAME_FIELD(crShapeInfoBlock, ShapeInfo, reserved);

INKREC_RECORD(crSample, Sample);
INKREC_SAME_FIELD(crSample, Sample, first_guide);
INKREC_SAME_FIELD(crSample, Sample, value8);

INKREC_RECORD(crShape, Shape);
INKREC_SAME_FIELD(crShape, Shape, value);
INKREC_SAME_FIELD(crShape, Shape, info);

INKREC_RECORD(crTuple, Tuple);
INKREC_SAME_FIELD(crTuple, Tuple, rule);
INKREC_SAME_FIELD(crTuple, Tuple, complex);

INKREC_RECORD(crTuplesEntry, TuplesEntry);
INKREC_SAME_FIELD(crTuplesEntry, TuplesEntry, charset_id);

INKREC_RECORD(crSpecPair, SpecPair);
INKREC_SAME_FIELD(crSpecPair, SpecPair, max_delta);
INKREC_SAME_FIELD(crSpecPair, SpecPair, min_measure);

INKREC_RECORD(crSpecPairGroup, SpecPairGroup);
INKREC_SAME_FIELD(crSpecPairGroup, SpecPairGroup, key);

INKREC_RECORD(crSpecPairsEntry, SpecPairsEntry);
INKREC_SAME_FIELD(crSpecPairsEntry, SpecPairsEntry, charset_id);

#undef INKREC_SAME_FIELD
#undef INKREC_RECORD

// The engine's view of a C record.
template <typename C>
auto* engine_record(C* record) {
  using E = typename EngineRecord<std::remove_const_t<C>>::type;
  using Target = std::conditional_t<std::is_const_v<C>, const E, E>;
  return reinterpret_cast<Target*>(record);
}

// The C view of an engine record.
template <typename C, typename E>
C* c_record(E* record) {
  static_assert(std::is_same_v<typename EngineRecord<C>::type, std::remove_const_t<E>>);
  return reinterpret_cast<C*>(record);
}

}  // namespace inkrec
