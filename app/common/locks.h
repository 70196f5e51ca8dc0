// Scope guards on the platform's critical sections.
//
// SectionLock enters on construction and leaves on destruction. TryLock
// only tries: locked() tells whether the section was entered, and a caller
// that got false skips its work (a paint that finds the section busy draws
// nothing this time); it leaves only what it entered.
#pragma once

#include "appplatform/critical_section.h"

namespace ductra {

class SectionLock {
 public:
  explicit SectionLock(platform::CriticalSection& section) : section_(section) { section_.enter(); }
  ~SectionLock() { section_.leave(); }
  SectionLock(const SectionLock&) = delete;
  SectionLock& operator=(const SectionLock&) = delete;

 private:
  platform::CriticalSection& section_;
};

class TryLock {
 public:
  explicit TryLock(platform::CriticalSection& section)
      : section_(section), entered_(section.try_enter() == platform::TryEnter::entered) {}
  ~TryLock() {
    if (entered_) section_.leave();
  }
  TryLock(const TryLock&) = delete;
  TryLock& operator=(const TryLock&) = delete;

  bool locked() const { return entered_; }

 private:
  platform::CriticalSection& section_;
  const bool entered_;
};

}  // namespace ductra
