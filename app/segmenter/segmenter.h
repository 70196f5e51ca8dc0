// Segmenter: the intelligent recognition mode. It keeps the strokes that may
// still form one character (a letter and the marks written after it, the
// strokes of a multi-stroke symbol), has the engine recognise all of them
// afresh after every stroke, matches the engine's figure of the newest stroke
// against the composition tables, and tells the controller what to show and
// whether to wait for more strokes (SegmenterResult).
//
// A caller may rely on this:
// - The engine is driven only under the engine gate, held across the whole
//   recognition of the kept strokes and the reading of its figure output, so
//   it never runs while the engine client recognises; the segmenter never
//   takes the client's semaphore.
// - Every answer (an error aside) replaces the characters the last answer
//   showed for the kept strokes: its backspaces are the number shown.
// - A run ends (the strokes are dropped and the matcher reset) when the
//   decision says so, on an error, when the pause before a stroke exceeds the
//   time limit, and when the strokes are split anew; a re-split feeds the
//   stroke before the newest again when it may begin a character, and the
//   characters of a stroke so fed that ends a run of its own are shown.
// - The charset selection survives every reset.
// Use from one thread (the one that finishes strokes).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "app/composition/composition_tables.h"
#include "app/segmenter/figure_output_reader.h"
#include "app/segmenter/segmenter_result.h"
#include "app/shell/controller_parts.h"
#include "app/shell/engine.h"

namespace ductra {

class Segmenter {
 public:
  // Builds the composition tables. When memory runs out no segmenter is
  // made and the out-of-memory error goes to `reports`.
  static std::unique_ptr<Segmenter> create(Engine& engine, const FigureOutputReader& reader,
                                           std::int32_t time_limit, ErrorReports& reports);

  struct Key {
   private:
    friend class Segmenter;
    Key() = default;
  };
  Segmenter(Key, Engine& engine, const FigureOutputReader& reader, std::int32_t time_limit,
            std::unique_ptr<CompositionTables> tables);
  Segmenter(const Segmenter&) = delete;
  Segmenter& operator=(const Segmenter&) = delete;

  // The longest pause (ms) between two strokes of one run.
  void set_time_limit(std::int32_t ms) { time_limit_ = ms; }
  // The charsets whose tables are matched: the ids given to the engine's
  // active charsets. Resets the matcher. False when memory runs out (nothing
  // is matched then).
  bool set_charsets(std::span<const std::uint32_t> charset_ids);

  // Takes one finished stroke, with the tick counts (ms) of its first and
  // last point, and says what to show.
  SegmenterResult add_stroke(std::span<const crPoint> points, std::uint32_t start,
                             std::uint32_t end);

  // Drops the kept strokes and resets the matcher; nothing is shown.
  void reset();

  std::size_t kept_strokes() const { return kept_.size(); }
  std::uint32_t chars_sent() const { return chars_sent_; }

  // The request block of the recognitions: no callback, each stroke one
  // figure (no splitting of cursive ink).
  static crRecognitionParams recognition_request(std::span<char16_t> result_buffer);
  // The debug mode that keeps the figure output after a recognition.
  static constexpr std::uint32_t kKeepFigureOutput = 3;

 private:
  struct KeptStroke {
    std::vector<crPoint> points;
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    MatchResult decision = kMatchComplete;
  };

  bool paused_too_long(std::uint32_t start) const;
  bool keep(std::span<const crPoint> points, std::uint32_t start, std::uint32_t end);
  int recognize_strokes(FigureOutput* output);
  MatchResult match_newest(const FigureOutput& output);
  void collect_characters(SegmenterResult& result, const FigureOutput& output);
  SegmenterResult fail(int status);
  SegmenterResult emit(SegmenterResult& result, const FigureOutput& output);
  SegmenterResult wait(SegmenterResult& result, const FigureOutput& output);
  SegmenterResult resplit(MatchResult newest_decision);

  Engine& engine_;
  const FigureOutputReader& reader_;
  std::int32_t time_limit_;
  std::vector<KeptStroke> kept_;
  std::uint32_t chars_sent_ = 0;
  // How many kept strokes the last characters were collected for.
  std::size_t strokes_collected_ = 0;
  std::unique_ptr<CompositionTables> tables_;
};

}  // namespace ductra
