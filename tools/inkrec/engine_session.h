// EngineSession: the engine started on a data file for the tool's
// commands, through the exported interface alone.
//
// One session at a time (the engine is one per process); the destructor
// stops the engine. Each recognition adds a sample's strokes, recognises
// them and leaves the pane empty, whatever the outcome.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "inkrec/inkrec.h"

namespace inkrec::tool {

// One question of the recognition: a letter or a word and its readings,
// best first (the interface gives their order, not their scores).
struct Segment {
  bool word = false;
  std::vector<std::u16string> candidates;
};

struct Recognition {
  int status = 0;  // crRecognize's status, or crAddStroke's when that failed
  std::u16string text;
  std::vector<Segment> segments;
  double microseconds = 0;  // adding the strokes and recognising them
};

// The switches of a recognition request the tool lets the caller choose.
struct RequestChoice {
  bool words = true;    // the dictionary word pass
  bool joined = false;  // joined writing: strokes split into letter bodies and links
};

class EngineSession {
 public:
  EngineSession() = default;
  ~EngineSession();
  EngineSession(const EngineSession&) = delete;
  EngineSession& operator=(const EngineSession&) = delete;

  // Starts the engine on the data file; the engine's status.
  int open(const std::string& data_file);
  // Makes the charsets active, in their order; every charset of the data
  // when ids is empty.
  int set_charsets(std::span<const std::uint32_t> ids);
  // Recognises the strokes with the chosen switches; every other switch is
  // the application's.
  Recognition recognize(const std::vector<std::vector<crPoint>>& strokes, RequestChoice choice);

 private:
  bool open_ = false;
};

// Opens the session on the data file with the charsets (every charset of
// the data when ids is empty); false with *error naming what failed.
bool start_session(EngineSession& session, const std::string& data_file,
                   std::span<const std::uint32_t> charsets, std::string* error);

// The readings of a sample as a whole, best first: its text, then the
// other readings of its only segment (a sample read as several segments has
// no whole readings but its text).
std::vector<std::u16string> sample_alternatives(const Recognition& recognition);

// The engine's message for a status.
std::string status_text(int status);

}  // namespace inkrec::tool
