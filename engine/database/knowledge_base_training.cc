// Training the knowledge base's etalons with correction samples.
#include <algorithm>

#include "engine/database/knowledge_base.h"
#include "engine/foundation/status.h"

namespace inkrec {

int KnowledgeBase::check_training(const Etalon* etalon, const TrainingStep& step,
                                  std::span<const std::uint16_t> hits) {
  if (etalon == nullptr) return kKbNoEtalon;
  if (const int status = check_training_step(step); status != kOk) return status;
  if (const int status = check_hit_list(*etalon, hits); status != kOk) return status;
  return refresh();
}

int KnowledgeBase::train(Etalon& etalon, const TrainingStep& step,
                         std::span<const std::uint16_t> hits, const Tag4Record& sample) {
  Tag4Record kept;
  if (kept.assign(sample) != kOk) return kOutOfMemory;
  kept.words[0] = step.amount > 0 ? 1 : 0;
  if (etalon.corrections.push_back(std::move(kept)) != kOk) return kOutOfMemory;
  apply_training_step(etalon, step, hits, cell_weights_.span());
  return kOk;
}

int KnowledgeBase::update_variant(std::uint16_t id, int step, std::span<const std::uint16_t> hits,
                                  const Tag4Record& sample, int p1, int p2) {
  Variant* variant = nullptr;
  Etalon* etalon = nullptr;
  if (const int status = locate(id, &variant, &etalon); status != kOk) return status;
  const TrainingStep training{step, p1, p2};
  if (const int status = check_training(etalon, training, hits); status != kOk) return status;
  return train(*etalon, training, hits, sample);
}

int KnowledgeBase::replace_variant(std::uint16_t id, int step, std::span<const std::uint16_t> hits,
                                   const Tag4Record& sample, int p1, int p2) {
  Variant* variant = nullptr;
  Etalon* etalon = nullptr;
  if (const int status = locate(id, &variant, &etalon); status != kOk) return status;
  const TrainingStep training{step, p1, p2};
  if (const int status = check_training(etalon, training, hits); status != kOk) return status;
  if (etalon->reference_count_ <= 1) return train(*etalon, training, hits, sample);
  return split_and_train({&id, 1}, *etalon, training, hits, sample);
}

// The copy is trained and appended before the shared etalon gives up the
// references, so a failure leaves everything as it was.
int KnowledgeBase::split_and_train(std::span<const std::uint16_t> distinct_ids, Etalon& shared,
                                   const TrainingStep& step, std::span<const std::uint16_t> hits,
                                   const Tag4Record& sample) {
  const auto shared_position = static_cast<std::uint32_t>(&shared - etalons_.begin());
  const auto users = static_cast<std::uint16_t>(distinct_ids.size());
  Etalon copy;
  if (copy.assign(shared) != kOk) return kOutOfMemory;
  copy.reference_count_ = users;
  if (const int status = train(copy, step, hits, sample); status != kOk) return status;
  std::uint16_t copy_id = 0;
  if (const int status = append_etalon(std::move(copy), 0, &copy_id); status != kOk) return status;
  etalons_[shared_position].reference_count_ -= users;
  for (const std::uint16_t id : distinct_ids) variant_with_id(id)->etalon_id = copy_id;
  return reindex(false);
}

int KnowledgeBase::replace_variants(std::span<const std::uint16_t> ids, int step,
                                    std::span<const std::uint16_t> hits, const Tag4Record& sample) {
  if (ids.empty()) return kOk;
  const int p1 = static_cast<int>(sample.words[1]);
  const int p2 = static_cast<int>(sample.words[2]);
  if (ids.size() == 1) return replace_variant(ids[0], step, hits, sample, p1, p2);

  Variant* variant = nullptr;
  Etalon* etalon = nullptr;
  if (const int status = locate(ids[0], &variant, &etalon); status != kOk) return status;
  for (const std::uint16_t id : ids.subspan(1)) {
    Etalon* other = nullptr;
    if (const int status = locate(id, &variant, &other); status != kOk) return status;
    if (other != etalon) return kKbBadVariantSet;
  }
  DynArray<std::uint16_t> distinct;
  if (distinct.append(ids) != kOk) return kOutOfMemory;
  std::sort(distinct.begin(), distinct.end());
  const auto distinct_count =
      static_cast<std::uint32_t>(std::unique(distinct.begin(), distinct.end()) - distinct.begin());
  if (distinct_count == 1) return replace_variant(ids[0], step, hits, sample, p1, p2);

  const TrainingStep training{step, p1, p2};
  if (const int status = check_training(etalon, training, hits); status != kOk) return status;
  if (distinct_count > etalon->reference_count_) return kKbBadVariantSet;
  if (distinct_count == etalon->reference_count_) return train(*etalon, training, hits, sample);
  return split_and_train(distinct.span().first(distinct_count), *etalon, training, hits, sample);
}

}  // namespace inkrec
