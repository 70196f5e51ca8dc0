// PropertyFlags: the 32-bit property word of knowledge-base records.
//
// The data file stores the word unchanged. Bits 0..23 each have a reader
// (1 when set, else 0) and a writer (any non-zero argument sets, 0 clears)
// that leave every other bit alone; bits 24..31 have no accessor and travel
// with the word. What reads each bit:
//   0..5    letter rules of particular charsets
//   6..10   pair rules (the recogniser sets bit 6 on some candidates)
//   11      a letter rule that applies from a size of 40
//   12      nothing besides its accessors
//   13      the size penalty from a size of 50 (apply_size_penalty)
//   14, 15  score rules, 800 taken off when set
//   16..20  the letter-class predicates (17 and 18 inverted)
//   21      pair rules
//   22, 23  cost rules, a cost charged while the bit is clear
#pragma once

#include <cstdint>

namespace inkrec {

class PropertyFlags {
 public:
  PropertyFlags() = default;
  explicit constexpr PropertyFlags(std::uint32_t word) : word_(word) {}

  std::uint32_t value() const { return word_; }
  void assign(std::uint32_t word) { word_ = word; }
  void clear() { word_ = 0; }
  bool is_empty() const { return word_ == 0; }
  // The word and the mask have a bit in common.
  bool any(std::uint32_t mask) const { return (word_ & mask) != 0; }
  // Sets the bits of the mask when on is non-zero, else clears them.
  void set_mask(std::uint32_t mask, int on) {
    if (on != 0) {
      word_ |= mask;
    } else {
      word_ &= ~mask;
    }
  }

  int bit0() const { return bit(0); }
  void set_bit0(int on) { set_bit(0, on); }
  int bit1() const { return bit(1); }
  void set_bit1(int on) { set_bit(1, on); }
  int bit2() const { return bit(2); }
  void set_bit2(int on) { set_bit(2, on); }
  int bit3() const { return bit(3); }
  void set_bit3(int on) { set_bit(3, on); }
  int bit4() const { return bit(4); }
  void set_bit4(int on) { set_bit(4, on); }
  int bit5() const { return bit(5); }
  void set_bit5(int on) { set_bit(5, on); }
  int bit6() const { return bit(6); }
  void set_bit6(int on) { set_bit(6, on); }
  int bit7() const { return bit(7); }
  void set_bit7(int on) { set_bit(7, on); }
  int bit8() const { return bit(8); }
  void set_bit8(int on) { set_bit(8, on); }
  int bit9() const { return bit(9); }
  void set_bit9(int on) { set_bit(9, on); }
  int bit10() const { return bit(10); }
  void set_bit10(int on) { set_bit(10, on); }
  int bit11() const { return bit(11); }
  void set_bit11(int on) { set_bit(11, on); }
  int bit12() const { return bit(12); }
  void set_bit12(int on) { set_bit(12, on); }
  int bit13() const { return bit(13); }
  void set_bit13(int on) { set_bit(13, on); }
  int bit14() const { return bit(14); }
  void set_bit14(int on) { set_bit(14, on); }
  int bit15() const { return bit(15); }
  void set_bit15(int on) { set_bit(15, on); }
  int bit16() const { return bit(16); }
  void set_bit16(int on) { set_bit(16, on); }
  int bit17() const { return bit(17); }
  void set_bit17(int on) { set_bit(17, on); }
  int bit18() const { return bit(18); }
  void set_bit18(int on) { set_bit(18, on); }
  int bit19() const { return bit(19); }
  void set_bit19(int on) { set_bit(19, on); }
  int bit20() const { return bit(20); }
  void set_bit20(int on) { set_bit(20, on); }
  int bit21() const { return bit(21); }
  void set_bit21(int on) { set_bit(21, on); }
  int bit22() const { return bit(22); }
  void set_bit22(int on) { set_bit(22, on); }
  int bit23() const { return bit(23); }
  void set_bit23(int on) { set_bit(23, on); }

 private:
  int bit(int k) const { return static_cast<int>((word_ >> k) & 1u); }
  void set_bit(int k, int on) { set_mask(1u << k, on); }

  std::uint32_t word_ = 0;
};

static_assert(sizeof(PropertyFlags) == 4);

}  // namespace inkrec
