// Statuses of the user dictionaries. Their operations and exports return
// these small numbers as they are; the message of status n (1..14) is the
// message of code 11000 + n.
#pragma once

namespace inkrec {

inline constexpr int kUdBadDictionaryIndex = 1;
inline constexpr int kUdDictionaryExists = 2;
inline constexpr int kUdBadLetterIndex = 5;
inline constexpr int kUdWeightTooLarge = 6;
inline constexpr int kUdBadWordIndex = 8;
inline constexpr int kUdBadWordLength = 9;
inline constexpr int kUdTextOutsideAlphabet = 10;  // replacing a word's text
inline constexpr int kUdBadProbability = 11;
inline constexpr int kUdWordExists = 12;
inline constexpr int kUdBadSegmentIndex = 13;
inline constexpr int kUdBadFileFormat = 14;
inline constexpr int kUdCharOutsideAlphabet = -10;  // adding a word

}  // namespace inkrec
