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
                                    const crDynArray* path_list,
                                    const crDynArray* charset_id_list);
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
 * Makes the charsets of the count ids active on the active kernel, in their
 * order: the recognition then reads their symbols and writing variants.
 * 4001 without an active kernel; -1, with no charset left active, when an
 * id is unknown; -2 for a null ids with a count above 0 or a count below 0.
 */
INKREC_API int crSetActiveCharSets(const uint32_t* ids, int count);

/* ---- Services without a kernel ---------------------------------------- */

/* The message of a status code; buffer must hold 256 units. */
INKREC_API int crReturnErrText(int code, char16_t* buffer);
/* Copies the version text "9.0.462.11806" (cut to size, always
 * terminated); returns the build number 462, or -2 for a null buffer. */
INKREC_API int crmGetVersion(char* buffer, int size);

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
/* out_flag = 1 when the text has 1..50 units, all in the dictionary's alphabet. */
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
/* The word moves to the place of its new text; a refused text changes nothing. */
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
