/*
 * inkrec: the handwriting recognition engine.
 *
 * A flat C interface. Every function returns a status: 0 on success, -1 out
 * of memory, -2 a null pointer or bad argument, -3 an error without a code,
 * otherwise category * 1000 + number (crReturnErrText gives its message).
 * A few functions return a value instead; their comments say so. The engine
 * has no threads of its own and takes no lock at its entry points: calls
 * come from one thread at a time, except crmSetStopFlag, crmSetStopFlag_ID
 * and crmSetQuickFlag, which another thread may call during a recognition.
 * Text is UTF-16 and 0-terminated unless a length is passed. Records read
 * from the engine are copied into the caller's memory.
 */
#ifndef INKREC_INKREC_H_
#define INKREC_INKREC_H_

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#if defined(INKREC_BUILDING)
#define INKREC_API __attribute__((visibility("default")))
#else
#define INKREC_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * The engine's growable array as it crosses the interface: a word the
 * owner may use, the number of elements, the capacity and the buffer. Arrays
 * the engine fills are allocated with the engine's allocator (plain
 * operator new) and owned by the caller afterwards.
 */
typedef struct crDynArray {
  uint32_t tag;
  uint32_t count;
  uint32_t capacity;
  void* data;
} crDynArray;

/*
 * Records that cross the interface. Their layouts are part of the calling
 * convention (natural alignment, 64-bit pointers). Records handed out are
 * copies the caller owns; records handed to the result callback live only
 * during the call. Arrays the engine fills into a caller's crDynArray replace
 * what it held: pass an empty array ({0}) or one the engine filled.
 */

/* A point in 16-bit tablet units, y growing downward. */
typedef struct crPoint {
  int16_t x;
  int16_t y;
} crPoint;

/* A stroke as crAddStroke takes it: count points (the engine copies them). */
typedef struct crStrokeInput {
  const crPoint* points;
  int32_t count;
} crStrokeInput;

/*
 * What the result callback is asked to choose among. candidates holds the
 * alternative texts, best first (each a crDynArray of char16_t without
 * terminator); kind is 0 for a single letter, 1 for a word. The box is the
 * ink concerned in the caller's coordinates. The callback sets chosen: -1 or
 * 0 keeps the best, k picks candidate k, -3 (kind 0) drops the letter from
 * the text; for kind 1 it may also fill returned_text (allocated with the
 * engine's allocator), which the engine keeps with the word.
 */
typedef struct crResultChoice {
  crDynArray candidates;
  uint32_t kind;
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  int32_t chosen;
  crDynArray returned_text;
} crResultChoice;

/* A non-zero result ends the recognition with that value. */
typedef int (*crResultCallback)(crResultChoice* choice, void* context);

/*
 * The recognition request. A kernel starts with: callback null,
 * delivery_mode 0, third_word 100, context null, mode 0, switches 1, 1, 0,
 * 0, 0, 1, 1, 1, 1, 0, no buffer.
 */
typedef struct crRecognitionParams {
  crResultCallback callback;
  int32_t delivery_mode; /* 0 never call back; 1, 2, 3 ask more and more often */
  int32_t third_word;    /* stored only */
  void* context;         /* the callback's second argument */
  /* 2 turns off word_pass, cursive_split and skew_search for this request;
   * any non-zero mode makes the skew search take the ink as one line. */
  int32_t mode;
  uint8_t first_switch;        /* stored only */
  uint8_t second_switch;       /* stored only */
  uint8_t word_pass;           /* dictionary word search, lower-case continuation letters */
  uint8_t cursive_split;       /* split cursive strokes into bodies and links */
  uint8_t caller_base_lines;   /* every stroke carries its base lines (else 4035) */
  uint8_t skew_search;         /* straighten tilted ink first */
  uint8_t skew_allowed;        /* the strokes come in the order they were written */
  uint8_t layout_switch;       /* line grouping by writing order, joined strokes,
                                  word breaks, segment tests */
  uint8_t refine_trajectories; /* refine the trajectory step of the strokes */
  uint8_t strict_switch;       /* every letter in its second case, strict pair kinds */
  char16_t* result_buffer;     /* receives the text, 0-terminated */
  int32_t result_size;         /* units in result_buffer, terminator included */
} crRecognitionParams;

/* The database records, as stored in the data file. */
typedef struct crCharSet {
  uint32_t id;
  uint32_t ortho; /* 1 marks a language */
  char16_t name[30];
  char16_t word_list_code[3];
  uint8_t direct; /* written right to left */
  uint8_t reserved[13];
} crCharSet;

typedef struct crSymb {
  uint32_t sides;
  uint16_t code;
  uint16_t second_code;
  uint16_t third_code;
  uint8_t def_num;
  uint8_t control;
  uint8_t reserved[4];
} crSymb;

typedef struct crCharSetSymb {
  uint32_t charset_id;
  uint16_t code;
  uint8_t values[3];
  uint8_t reserved[7];
} crCharSetSymb;

typedef struct crVariant {
  uint32_t idSet;
  uint32_t idUse;
  uint16_t id;
  uint16_t shape_id;
  uint16_t menuc;
  uint8_t copybook_group;          /* 0: the variant stands alone */
  uint8_t copybook_representative; /* its shape stands for its group */
  uint16_t etalon_id;
  uint8_t special_recognition;
  uint8_t height_flag;  /* 2: not for letters under 7/10 of the line's height */
  uint16_t second_code; /* a further character code */
  uint16_t aux_word2;
  uint32_t properties;
  uint16_t aux_codes[3];
  uint8_t cursive_flag; /* a cursive form */
  uint8_t aux_byte5;
} crVariant;

typedef struct crComplexVariant {
  uint32_t set;
  uint32_t use;
  uint32_t add;
  uint32_t kind;
  uint16_t id;
  uint16_t menuc;
  uint16_t reference_id;    /* the first part's shape */
  uint16_t detail_shape_id; /* the second part's shape */
  uint8_t cnt;              /* copies of the second part */
  uint8_t group;
  uint8_t show;
  uint8_t rec_mode;         /* the composite rule's mode, 0 or 1 */
  uint16_t symbol_id;       /* the symbol of the composite reading */
  uint16_t whole_shape_id;  /* 0: drawn from its two parts */
  uint16_t first_component; /* character codes of the two parts */
  uint16_t second_component;
  int16_t tolerance;
  uint8_t pass_flag; /* a rule only with the body-and-link switch */
  uint8_t carried[9];
} crComplexVariant;

typedef struct crRaf {
  uint16_t offset;
  uint16_t id;
  uint8_t nx;
  uint8_t ny;
  uint8_t ves;
  uint8_t carried;
} crRaf;

/* The stored description of a shape. */
typedef struct crShapeInfoBlock {
  uint16_t id;
  char name[14];
  int8_t stats[4];      /* top and bottom offsets of the samples: from their
                           height, then from their guides (the height ramp) */
  int16_t height_limit; /* percent of the letter size; 0 none */
  int8_t width_factor;
  int8_t height_factor;
  int8_t minima_limit;
  int8_t maxima_limit;
  int8_t count_limit;
  int8_t segment_count;
  uint8_t segment_masks[2];
  uint8_t min_second_count;
  uint8_t reserved;
} crShapeInfoBlock;

/* A shape's description and the number of its samples. */
typedef struct crShapeInfo {
  crShapeInfoBlock info;
  uint32_t sample_count;
} crShapeInfo;

/* A written sample: strokes is a crDynArray of strokes, each a crDynArray of
 * crPoint. */
typedef struct crSample {
  crDynArray strokes;
  int16_t first_guide;
  int16_t second_guide;
  uint16_t value16;
  uint8_t value8;
} crSample;

/* A shape: samples is a crDynArray of crSample. */
typedef struct crShape {
  crDynArray samples;
  uint32_t value;
  crShapeInfoBlock info;
} crShape;

/* A letter-pair rule: three lists of uint16_t variant ids (complex variant
 * ids where complex[i] is set). A Tuples table is a crDynArray of
 * crTuplesEntry. */
typedef struct crTuple {
  crDynArray lists[3];
  uint16_t rule;
  uint8_t complex[3];
} crTuple;

typedef struct crTuplesEntry {
  crDynArray tuples; /* crTuple */
  uint32_t charset_id;
} crTuplesEntry;

/* A special-pairs table is a crDynArray of crSpecPairsEntry. */
typedef struct crSpecPair {
  uint16_t variant2;
  int16_t max_delta;
  int16_t min_measure;
} crSpecPair;

typedef struct crSpecPairGroup {
  crDynArray pairs; /* crSpecPair */
  uint16_t key;
} crSpecPairGroup;

typedef struct crSpecPairsEntry {
  crDynArray groups; /* crSpecPairGroup, ascending by key */
  uint32_t charset_id;
} crSpecPairsEntry;

/*
 * The request of the training exports (crmMakeCorr, crmMakeCorrSpecial).
 * figures: a crDynArray of figure addresses (const void*) of the last
 * recognition, as the fragments of crmGetFigOutList hold them; the text line
 * of the first one is the sample's. values: at least 62 uint16_t, of which
 * entries 60 and 61 are kept with the sample. figure_indices: a crDynArray
 * of uint32_t, positions among the candidates of that text line: the
 * figures whose ink makes the sample.
 */
typedef struct crCorrRequest {
  crDynArray figures;
  const uint16_t* values;
  crDynArray figure_indices;
} crCorrRequest;

/* ---- Life cycle and kernels ------------------------------------------- */

/*
 * Starts the engine: loads the data file (data_path, or alt_data_path when
 * given) in the given data mode (0..6), builds the dictionaries and the
 * user's variant choices, and creates the first kernel. path_list (an array
 * of crDynArray of UTF-16 units) and charset_id_list (an array of uint32_t)
 * give word-list paths per charset. Every argument after mode may be null.
 * 4029 while kernels exist; 3017 for an unknown mode.
 */
INKREC_API int crInitCrMan(const char16_t* data_path, int mode, const char16_t* alt_data_path,
                           const char16_t* dict_dir, const crDynArray* path_list,
                           const crDynArray* charset_id_list, const char16_t* user_txt_path);
INKREC_API int crmInitCrMan(const char16_t* data_path, int mode, const char16_t* alt_data_path,
                            const char16_t* dict_dir, const crDynArray* path_list,
                            const crDynArray* charset_id_list, const char16_t* user_txt_path);
/* The same without the first kernel and with "user.txt" beside the data. */
INKREC_API int crInitCrMan_NoKernel(const char16_t* data_path, int mode,
                                    const char16_t* alt_data_path, const char16_t* dict_dir,
                                    const crDynArray* path_list, const crDynArray* charset_id_list);
INKREC_API int crmInitCrMan_NoKernel(const char16_t* data_path, int mode,
                                     const char16_t* alt_data_path, const char16_t* dict_dir,
                                     const crDynArray* path_list,
                                     const crDynArray* charset_id_list);
/* Destroys every kernel, the database and the dictionaries; always 0. */
INKREC_API int crFreeCrMan(void);

/* Kernels live in slots; a slot id names one. The new kernel is active. */
INKREC_API int crmCreateKernel(uint32_t* out_id);
INKREC_API int crmDeleteKernel(uint32_t id);
INKREC_API int crmSetActiveKernel(uint32_t id);
/* Returns the number of live kernels (a count, not a status). */
INKREC_API int crmGetCountKernels(void);
/* The active kernel's address (opaque); -2 when there is none. */
INKREC_API int crmGetCore(void** out_kernel);
INKREC_API int crmGetCore_ID(uint32_t id, void** out_kernel);
INKREC_API int crmReloadDatAndUserFile(void);
INKREC_API int crmReloadUserDictionaryFile(void);

/* ---- Kernels, ink and recognition -------------------------------------- */

/*
 * These act on the active kernel and answer 4001 when there is none; their
 * _ID twins act on the kernel in a slot (9001 bad id, 9002 empty slot).
 */

/* Takes count strokes with the base-line values first and second (-1: not
 * given). -2 for a null array or a count below 1. */
INKREC_API int crAddStroke(const crStrokeInput* strokes, int count, int16_t first, int16_t second);
INKREC_API int crmAddStroke_ID(uint32_t id, const crStrokeInput* strokes, int count, int16_t first,
                               int16_t second);
/* Drops the ink and the work of the last recognition; 0. */
INKREC_API int crClearPane(void);
INKREC_API int crmClearPane_ID(uint32_t id);

/*
 * Recognises the ink: the text goes into the request's result_buffer (never
 * past result_size units, always terminated when result_size is at least 1;
 * nothing is written for a size of 0), and close alternatives go to the
 * callback as the delivery mode asks. The ink is then dropped unless the
 * debug mode is on. 0 with no ink (the buffer untouched); -2 for a null
 * request or buffer; 4034 when the stop flag was set during the run (the ink
 * stays); 4035 when caller_base_lines is set and a stroke came without base
 * lines; a non-zero callback result is returned as it is, and -2 when the
 * callback chose a candidate it was not offered.
 */
INKREC_API int crRecognize(const crRecognitionParams* params);
INKREC_API int crmRecognize_ID(uint32_t id, const crRecognitionParams* params);
/* Runs the line pass alone; nothing is written or dropped. */
INKREC_API int crGetLine(const crRecognitionParams* params);

/*
 * Makes the charsets of the count ids active on the active kernel, in their
 * order: the recognition then reads their symbols and writing variants.
 * 4001 without an active kernel; -1, with no charset left active, when an
 * id is unknown; -2 for a null ids with a count above 0 or a count below 0.
 */
INKREC_API int crSetActiveCharSets(const uint32_t* ids, int count);
INKREC_API int crmSetActiveCharsets_ID(uint32_t id, const uint32_t* ids, int count);

/*
 * Teach the database the writing of figures of the last recognition (kept
 * while the debug mode is on): crmMakeCorr the figures the request names,
 * crmMakeCorrSpecial points start..end (-1: the first / last) of one of
 * them. feature_codes is a crDynArray of uint32_t (empty: all features),
 * variants a crDynArray of uint16_t variant ids trained together.
 */
INKREC_API int crmMakeCorr(const crCorrRequest* request, int variant_id, int step, int keep_counts,
                           int p1, int p2, const crDynArray* feature_codes,
                           const crDynArray* variants);
INKREC_API int crmMakeCorrSpecial(const crCorrRequest* request, int figure_index, int start_point,
                                  int end_point, int variant_id, int step, int keep_counts, int p1,
                                  int p2, const crDynArray* feature_codes,
                                  const crDynArray* variants);

/* ---- Per-kernel settings and flags ------------------------------------ */

/* In mode 0 a recognition empties the kernel when it ends (its ink, its
 * work lists and the figure output of crmGetFigOutList). Any other mode keeps
 * them until the next recognition or crClearPane, so that the figure output
 * can be read (inkrec/figure_output.h). Modes other than 0 and 3 also keep
 * every reading of each figure, not only the accepted ones; mode 2 also
 * keeps every cover found for a word group and drops the group lists of the
 * lines after the first sweep. 0. */
INKREC_API int crmSetDebugMode(uint32_t mode);
INKREC_API int crmSetDebugMode_ID(uint32_t id, uint32_t mode);
/* May be called from another thread while a recognition runs: the stop flag
 * ends it with 4034 at its next check, the quick flag makes it settle for
 * what it has. A recognition clears both when it starts. 0. */
INKREC_API int crmSetStopFlag(void);
INKREC_API int crmSetStopFlag_ID(uint32_t id);
INKREC_API int crmSetQuickFlag(void);
/* The case state {caps, shift} that codes 30 and 31 of the text set.
 * -1 (not 4001) without an active kernel. */
INKREC_API int crmGetShiftState(uint8_t state[2]);
/* caps from the low byte, shift from the high byte. */
INKREC_API int crmSetShiftState(uint16_t state);
/*
 * The active charsets' ids. *count gives the room in ids on entry and
 * receives the number of active charsets, of which at most the room was
 * copied. 0; also 0, with nothing written, when either pointer is null.
 */
INKREC_API int crGetActiveCharSets(uint32_t* ids, uint32_t* count);
/* The address of the kernel's list of recognised fragments (opaque), which
 * lives as long as the kernel. */
INKREC_API int crmGetFigOutList(void** out_list);

/* ---- Word lists ------------------------------------------------------- */

/*
 * Appends to words (a crDynArray of crDynArray of char16_t) the words of the
 * active language's word list that begin with prefix, at most maximum of
 * them, best first. -1 when the list cannot grow.
 */
INKREC_API int crGetWordWithBeg(const char16_t* prefix, crDynArray* words, uint32_t maximum);
/* *found = 1 when the word (cut to 250 units) is in the active language's
 * word list. */
INKREC_API int crmSearchWordInStandardDictionary(const char16_t* word, uint8_t* found);
/*
 * The letters that may follow a text: prefix is a crDynArray of uint16_t,
 * the codes so far followed by a mode word, the weight of the last letter
 * (2 where a word may end there, 1 inside a word; with 0 nothing is marked).
 * letters receives 128 slots, slot i for the i-th character of the active
 * charsets in code order: 1 words go on through the letter, 2 a word may end
 * with it, 255 not allowed. The letters come from the word list of the
 * first active language, the user dictionary and the classes of the
 * spacing and punctuation characters.
 */
INKREC_API int crmSearchLettersByTextPrefix(const crDynArray* prefix, uint32_t letters[128]);
/* Word-list directories per charset (path_list as for crInitCrMan): -2
 * without an active kernel; -1 for a null list or counts that differ or
 * are 0; else the first failing path's status. */
INKREC_API int crReloadDictPathes(const crDynArray* path_list, const crDynArray* charset_id_list);

/* ---- Services without a kernel ---------------------------------------- */

/* The message of a status code; buffer must hold 256 units. */
INKREC_API int crReturnErrText(int code, char16_t* buffer);
/* Copies the version text "9.0.462.11806" (cut to size, always
 * terminated); returns the build number 462, or -2 for a null buffer. */
INKREC_API int crmGetVersion(char* buffer, int size);
/* Three process-wide test values (initially 1.0, 3.0 and 3) that nothing
 * else reads; the setters return 0, the getters the value. */
INKREC_API int cr_test_SetAlpha(double alpha);
INKREC_API int cr_test_SetExp(double exp);
INKREC_API int cr_test_SetN(int n);
INKREC_API double cr_test_GetAlpha(void);
INKREC_API double cr_test_GetExp(void);
INKREC_API int cr_test_GetN(void);

/* ---- Database --------------------------------------------------------- */

/*
 * The recognition database of the active kernel (4001 without one), except
 * crmGetAllCharsets and the Tuples and special-pair exports, which reach the
 * database itself and work before any kernel exists (9004 before start-up).
 * Edits return the database's status: 13001..13012 for records absent,
 * present or in use, 14001..14010 from the variants' knowledge base, 3002..
 * 3016 from the file, -1 when memory runs out. Gets copy the record into the
 * caller's memory and answer -2, writing nothing, when there is no such
 * record (or a null output); counts write the number and answer 0.
 */

/* Save the database to its own file, to another existing data file, or as a
 * text listing. */
INKREC_API int crSave(void);
INKREC_API int crmSaveDat(const char16_t* path);
INKREC_API int crmSaveTXT(const char16_t* path);

INKREC_API int crmAddCharSet(const crCharSet* record);
INKREC_API int crmDelCharSet(uint32_t id);
INKREC_API int crmEditCharSet(const crCharSet* record);
INKREC_API int crmGetCharSetCount(uint32_t* out_count);
INKREC_API int crmGetCharSet(uint32_t id, crCharSet* out);
INKREC_API int crmGetCharSetByInd(uint32_t index, crCharSet* out);
/* Copies the first charsets, at most *capacity of them (crmGetCharSetCount
 * tells how many there are). */
INKREC_API int crmGetAllCharsets(crCharSet* records, const uint32_t* capacity);

INKREC_API int crmAddSymb(const crSymb* record);
INKREC_API int crmDelSymb(uint16_t code);
INKREC_API int crmEditSymb(const crSymb* record);
INKREC_API int crmGetSymbCount(uint32_t* out_count);
INKREC_API int crmGetSymb(uint16_t code, crSymb* out);
INKREC_API int crmGetSymbByInd(uint32_t index, crSymb* out);

INKREC_API int crmAddCharSetSymb(const crCharSetSymb* record);
INKREC_API int crmDelCharSetSymb(uint32_t charset_id, uint16_t code);
INKREC_API int crmEditCharSetSymb(const crCharSetSymb* record);
/* The records of one charset, or of all for charset_id 0. */
INKREC_API int crmGetCharSetSymbCount(uint32_t charset_id, uint32_t* out_count);
INKREC_API int crmGetCharSetSymb(uint32_t charset_id, uint16_t code, crCharSetSymb* out);
INKREC_API int crmGetCharSetSymbByInd(uint32_t index, crCharSetSymb* out);

/* A new variant gets its own etalon, or shares the one of base_id when that
 * is not 0; then the kernel's lists are rebuilt. */
INKREC_API int crmVariantAdd(const crVariant* record, uint16_t base_id);
INKREC_API int crmVariantDelete(uint16_t id);
INKREC_API int crmVariantSet(const crVariant* record);
INKREC_API int crmVariantGetCountAll(uint32_t* out_count);
INKREC_API int crmVariantGet(uint16_t id, crVariant* out);
INKREC_API int crmVariantGetByInd(uint32_t index, crVariant* out);
/* Rebuild every etalon, or the one of a variant, from the samples of the
 * shapes. replay 0 drops the corrections trained since; replay 1 applies them
 * again and keeps them, and crmVariantRebuildEtalons then lists the cells it
 * changed in "ets.txt" in the data file's folder. A failed rebuild changes
 * nothing. */
INKREC_API int crmVariantRebuildEtalons(int replay);
INKREC_API int crmVariantRebuildEtalon(uint32_t variant_id, int replay);

/* The new record takes the next id. */
INKREC_API int crmComplexVariantAdd(const crComplexVariant* record);
INKREC_API int crmComplexVariantDelete(uint16_t id);
INKREC_API int crmComplexVariantSet(const crComplexVariant* record);
INKREC_API int crmComplexVariantGetCountAll(uint32_t* out_count);
INKREC_API int crmComplexVariantGet(uint16_t id, crComplexVariant* out);
INKREC_API int crmComplexVariantGetByInd(uint32_t index, crComplexVariant* out);

/* The new record takes the next id and the cells after the last range; the
 * etalons are then rebuilt (replay as for crmVariantRebuildEtalons). When the
 * rebuild fails the record is taken away again. */
INKREC_API int crmAddRaf(const crRaf* record, int replay);
/* Only the weight (ves) changes. */
INKREC_API int crmEditRaf(const crRaf* record);
INKREC_API int crmRafDelete(uint16_t id);
INKREC_API int crmRafCount(uint32_t* out_count);
INKREC_API int crmRafGet(uint16_t id, crRaf* out);
INKREC_API int crmRafGetByInd(uint32_t index, crRaf* out);

/* The new shape takes the next id and its statistics are computed. */
INKREC_API int crmAddShape(const crShape* shape);
INKREC_API int crmDelShape(uint16_t id);
/* Replaces the samples, value and description of the shape with the
 * record's id. When the samples changed, or force is set, the etalons of the
 * shape's variants are then rebuilt (rebuild not 0) or merged into one
 * shared etalon built afresh (rebuild 0). crmEditShapeDummy replaces them
 * and does nothing else. */
INKREC_API int crmEditShape(const crShape* shape, int rebuild, int force);
INKREC_API int crmEditShapeDummy(const crShape* shape);
INKREC_API int crmGetShapeCount(uint32_t* out_count);
INKREC_API int crmGetShapeInfo(uint16_t id, crShapeInfo* out);
INKREC_API int crmGetShapeInfoByInd(uint32_t index, crShapeInfo* out);
/* Deep copies into the caller's crShape (its samples array replaced). */
INKREC_API int crmGetShape(uint16_t id, crShape* shape);
INKREC_API int crmGetShapeByInd(uint32_t index, crShape* shape);

/* Replace the database's table by a copy of the caller's, or deep-copy the
 * database's table into the caller's (its former contents released). */
INKREC_API int crmTuplesSet(const crDynArray* table);
INKREC_API int crmTuplesGet(crDynArray* table);
INKREC_API int crmSpecPairsSetSS(const crDynArray* table);
INKREC_API int crmSpecPairsSetSC(const crDynArray* table);
INKREC_API int crmSpecPairsSetCS(const crDynArray* table);
INKREC_API int crmSpecPairsSetCC(const crDynArray* table);
INKREC_API int crmSpecPairsGetSS(crDynArray* table);
INKREC_API int crmSpecPairsGetSC(crDynArray* table);
INKREC_API int crmSpecPairsGetCS(crDynArray* table);
INKREC_API int crmSpecPairsGetCC(crDynArray* table);

/* ---- User variant choices --------------------------------------------- */

/*
 * Replaces the database's variants (an array of 36-byte Variant records)
 * and complex variants (an array of 48-byte ComplexVariant records) by the
 * caller's, each found by its id (a record the database refuses is left
 * out), then writes the use classes that are not 0 to "user.txt" through a
 * temporary file. -1 without an active kernel or when "user.txt" cannot be
 * created; -2 for a null array; 12001 when writing fails.
 */
INKREC_API int crmSetVariantsAndWrite(const crDynArray* variants,
                                      const crDynArray* complex_variants);

/* ---- User dictionaries ------------------------------------------------ */

/*
 * The user's own words, one dictionary per charset, in the active kernel's
 * dictionaries. A dictionary is named by its number (its position; the
 * dictionaries are sorted by charset id) or by its charset id, a word by its
 * number in collation order. Beside 4001 (no active kernel) and -2 (a null
 * argument, or no dictionary for the charset id) these return the
 * dictionaries' own statuses as they are: 1 bad dictionary number, 8 bad
 * word number, 9 a word not 1..50 units long, 10 a character outside the
 * alphabet (replacing a text), -10 the same (adding a word), 11 a
 * probability outside 1..100000 (also for a word's segment sums), 12 the
 * word is there already, 14 a damaged "user.ulb". The message of status n
 * (1..14) is the message of code 11000 + n. Edits stay in memory until
 * crSaveUserDictionariesToFile.
 */
INKREC_API int crGetCountOfUserDictionaries(uint32_t* out_count);
INKREC_API int crGetIdOfCharSetOfUserDictionary(uint32_t dictionary, uint32_t* out_charset_id);
/* out_flag = 1 when the text has 1..50 units, all in the dictionary's alphabet.
 */
INKREC_API int crCheckTextOfWordForUserDictionary(uint32_t dictionary, const char16_t* text,
                                                  uint8_t* out_flag);
INKREC_API int crGetCountOfWordsInUserDictionary(uint32_t dictionary, uint32_t* out_count);
INKREC_API int crGetLengthOfWordInUserDictionary(uint32_t dictionary, uint32_t word,
                                                 uint32_t* out_length);
/* out_text must hold the word's length + 1 units; the text is terminated. */
INKREC_API int crGetTextOfWordInUserDictionary(uint32_t dictionary, uint32_t word,
                                               char16_t* out_text);
INKREC_API int crGetProbabilityOfWordInUserDictionary(uint32_t dictionary, uint32_t word,
                                                      uint32_t* out_probability);
/* The word moves to the place of its new text; a refused text changes nothing.
 */
INKREC_API int crSetTextOfWordInUserDictionary(uint32_t dictionary, uint32_t word,
                                               const char16_t* text);
INKREC_API int crSetProbabilityOfWordInUserDictionary(uint32_t dictionary, uint32_t word,
                                                      uint32_t probability);
INKREC_API int crAddWordToUserDictionary(uint32_t charset_id, const char16_t* text,
                                         uint32_t probability);
/* Where the text stands, or would stand, in the charset's dictionary. */
INKREC_API int crSearchWordInUserDictionary(uint32_t charset_id, const char16_t* text,
                                            uint32_t* out_position, uint8_t* out_found);
INKREC_API int crRemoveWordFromUserDictionary(uint32_t charset_id, uint32_t word);
/* Writes "user.ulb" whole through a temporary file: 10001 when it cannot
 * be created, 12001 when writing fails (the old file then stays). */
INKREC_API int crSaveUserDictionariesToFile(void);

#ifdef __cplusplus
}
#endif

#endif /* INKREC_INKREC_H_ */
