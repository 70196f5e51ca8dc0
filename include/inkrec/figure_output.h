/*
 * Reading the figure output of inkrec's last recognition.
 *
 * crmGetFigOutList hands out the address of the active kernel's figure
 * output: the groups of figures the recognition read, in the order it
 * produced them. That list is the engine's and its layout is not part of the
 * calling convention; a caller reads it only through the functions below,
 * which copy what they are asked for and never change the list. The list
 * stays readable until the kernel's next recognition or crClearPane (a
 * kernel in debug mode 0 empties it at the end of each recognition: set
 * another mode with crmSetDebugMode to read it afterwards).
 *
 * Every function returns 0, or -2 for a null pointer or a group, figure or
 * list number out of range.
 */
#ifndef INKREC_FIGURE_OUTPUT_H_
#define INKREC_FIGURE_OUTPUT_H_

#include "inkrec/inkrec.h"

#ifdef __cplusplus
extern "C" {
#endif

/*
 * One entry of a candidate list or of an answer list. character: the
 * reading's current code. figure_code: the shape id of the writing variant
 * that gave the reading (0 for a reading made otherwise). state: 1 the first
 * entry for its character, 2 a further one, 3 rejected (counts for nothing).
 */
typedef struct crFigOutReading {
  uint16_t character;
  uint16_t figure_code;
  uint32_t state;
} crFigOutReading;

/* The number of groups. */
INKREC_API int crFigOutGroupCount(const void* list, uint32_t* count);
/* The number of figures of a group. */
INKREC_API int crFigOutFigureCount(const void* list, uint32_t group, uint32_t* count);
/*
 * The index of a figure of a group among the figures of the recognition:
 * without the split of cursive ink, each stroke is one figure and this is
 * the stroke's index in the order the strokes were added.
 */
INKREC_API int crFigOutFigureIndex(const void* list, uint32_t group, uint32_t figure,
                                   int16_t* index);
/*
 * The entries of candidate list candidate_list (0 letters, 1 marks, 2 and 3
 * their full lists, filled only when the kernel keeps them) of a figure of a
 * group, best first; and the entries of a group's answer list, best first.
 * *count receives the number of entries, of which at most room are copied
 * into readings (which may be null when room is 0).
 */
INKREC_API int crFigOutFigureReadings(const void* list, uint32_t group, uint32_t figure,
                                      uint32_t candidate_list, crFigOutReading* readings,
                                      uint32_t room, uint32_t* count);
INKREC_API int crFigOutGroupAnswers(const void* list, uint32_t group, crFigOutReading* readings,
                                    uint32_t room, uint32_t* count);

#ifdef __cplusplus
}
#endif

#endif /* INKREC_FIGURE_OUTPUT_H_ */
