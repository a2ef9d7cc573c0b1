/* OrviaDic: access to installed dictionaries.
 *
 * Conventions
 * - Every function returns 1, a count, a size or a handle on success and 0 or a null
 *   handle on failure; it never says why, logs nothing and shows nothing.
 * - Arguments are checked first: null handles and strings, buffers that cannot be
 *   written for their stated size and selectors out of range give 0 with the buffer
 *   untouched. A function then sets its outputs to a fixed empty value before any other
 *   work, so a failed call leaves that value.
 * - Texts are byte strings in the dictionary's code page. Lengths are in bytes without
 *   the terminator; every text output is terminated, so callers pass size + 1 bytes.
 * - An HDICT belongs to the caller until dicFreeHDICT succeeds; an HWORD until
 *   dicFreeHWORD, and its HDICT must stay open while it lives. Calls on handles of one
 *   HDICT must not overlap; dicSetRegKey must not overlap any other call.
 * - On 32-bit Windows every function uses the standard calling convention.
 * - Elsewhere the checks of caller buffers touch them under a SIGSEGV and SIGBUS handler
 *   that the library puts in front of the program's at its first check; faults outside a
 *   check still reach the program's handler. A program that installs its own handler
 *   for these signals after that replaces the library's: a bad buffer then faults into
 *   the program's handler instead of giving 0. Install such handlers before the first
 *   call, or chain to the one in place.
 */
#ifndef ORVIADIC_H_
#define ORVIADIC_H_

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define ORVIADIC_API __stdcall
#else
#define ORVIADIC_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct HDICT HDICT; /* an open dictionary */
typedef struct HWORD HWORD; /* a found word: its own copy of one index record */

/* Opens the dictionary named by dictId (its three low bytes non-zero): null when it
 * has no registry path, its index is missing or unreadable, or memory runs out. */
HDICT* ORVIADIC_API dicCreateHDICT(uint32_t dictId);
/* Closes and frees; 0 for null or when the index refuses to close (the handle then
 * stays valid). */
int32_t ORVIADIC_API dicFreeHDICT(HDICT* dict);

/* Points the library at another registry key: root is a predefined root key handle
 * (compared by its low 32 bits), path the subkey. 1; 0 only when the path cannot be
 * copied, leaving the setting as it was. */
int32_t ORVIADIC_API dicSetRegKey(void* root, const char* path);
/* The library's file version, four 8-bit components packed into 32 bits; 0 on failure. */
uint32_t ORVIADIC_API dicGetVersion(void);

/* A new handle on the record that matches word best, in the dictionary's collating
 * order; on the first record when nothing matches. Null when the index is empty or
 * unreadable. The handle does not say whether word itself is there: dicIsExistWord. */
HWORD* ORVIADIC_API dicSearchWord(HDICT* dict, const char* word);
/* A new handle on record n (0-based), or on the first record when there is none. */
HWORD* ORVIADIC_API dicSearchRecord(HDICT* dict, uint32_t n);
int32_t ORVIADIC_API dicFreeHWORD(HWORD* word);
/* A new handle with its own copy of the record. */
HWORD* ORVIADIC_API dicDuplicateHWORD(HWORD* word);
/* The record's key (its headword, else its search key) and word (its display word, else
 * its key): sizes without terminator, 0 for a null handle; the copies need size + 1. */
uint32_t ORVIADIC_API dicGetKeySize(HWORD* word);
int32_t ORVIADIC_API dicGetKey(HWORD* word, char* buffer, uint32_t size);
uint32_t ORVIADIC_API dicGetWordSize(HWORD* word);
int32_t ORVIADIC_API dicGetWord(HWORD* word, char* buffer, uint32_t size);
/* 1 when the dictionary holds word (a homograph number aside); 0 for words of 244
 * bytes or more. */
int32_t ORVIADIC_API dicIsExistWord(HDICT* dict, const char* word);

/* Number of records in the index; 0 on failure. */
uint32_t ORVIADIC_API dicGetWordCount(HDICT* dict);
/* what: 1 record number, 2 dictionary id, 3 home record (its number in the dictionary
 * holding its content, that dictionary's kind in bits 24-31; 0xFFFFFFFF when not found),
 * 4 level. 1 with *out set; 0 otherwise, with *out = 0. */
int32_t ORVIADIC_API dicGetHandleInfo(HWORD* word, uint32_t what, uint32_t* out);
/* One record back or forward; with a level filter (1 to 255) to the nearest record of
 * that level. 0 at the ends, the handle unchanged. */
int32_t ORVIADIC_API dicPrev(HWORD* word, uint32_t level);
int32_t ORVIADIC_API dicNext(HWORD* word, uint32_t level);
/* Windows of count entries from record start on, packed into buffer:
 *   key list   per entry the content's kind byte, the key and a zero byte;
 *   word list  the same with the word;
 *   vcode list per entry the key and its vcode byte (installed language-1 dictionaries).
 * Each list ends with a zero byte and stops at the first entry that does not fit. The
 * result, also stored through entries, is the number of entries; the vcode list stores
 * the bytes before the final zero through bytes. */
uint32_t ORVIADIC_API dicGetKeyList(HDICT* dict, uint32_t start, uint32_t count, char* buffer,
                                    uint32_t size, uint32_t* entries);
uint32_t ORVIADIC_API dicGetWordList(HDICT* dict, uint32_t start, uint32_t count, char* buffer,
                                     uint32_t size, uint32_t* entries);
uint32_t ORVIADIC_API dicGetKeyVcodeList(HDICT* dict, uint32_t start, uint32_t count, char* buffer,
                                         uint32_t size, uint32_t* entries, uint32_t* bytes);

/* Content: the word's text in the dictionary dictId, its own, the one its record points
 * to, or a compatible one (such as the memory dictionary of the user's notes). */
int32_t ORVIADIC_API dicIsExistContent(HWORD* word, uint32_t dictId);
/* The size in bytes, terminator excluded; 0 when there is none. */
uint32_t ORVIADIC_API dicGetContentSize(HWORD* word, uint32_t dictId);
/* Writes the terminated text into buffer (capacity bytes) and returns its length. */
uint32_t ORVIADIC_API dicGetContent(HWORD* word, uint32_t dictId, char* buffer, uint32_t capacity);

/* The user's own additions, kept in the dictionary's companions: the memory dictionary
 * (id with top byte 0xFF) for notes and the record dictionary (top byte 0x7F) for new
 * words. Their files must exist (the installer makes them); these functions never
 * create them. Texts are stored exactly as given. Writers of all processes take turns on
 * one named system mutex and wait for it without time-out. Steps already written are
 * not undone when a later one fails. */
/* Adds the word's note, or replaces its text in place; length 0 means the text's
 * terminated length. Read it back with dicGetContent(word, memory dictionary id). */
int32_t ORVIADIC_API dicAddMem(HWORD* word, const char* text, uint32_t length);
/* Deletes the word's note; 0 when it has none. */
int32_t ORVIADIC_API dicDelMem(HWORD* word);
/* Adds word (fewer than 244 bytes) as a new record of an installed dictionary, with
 * content as its text; lengths of 0 mean terminated lengths. 0 when the dictionary
 * already has the word. */
int32_t ORVIADIC_API dicAddRecord(HDICT* dict, const char* word, uint32_t wordLength,
                                  const char* content, uint32_t contentLength);
/* Deletes the record at recordNumber (as dicSearchRecord numbers them) when it is one
 * the user added; 0 for the dictionary's own words. */
int32_t ORVIADIC_API dicDelRecord(HDICT* dict, uint32_t recordNumber);
/* New-word files, read by path. A file that is missing, unreadable or breaks a rule of
 * its format gives 0 and leaves the output at its empty value: id 0, version 0xFFFFFFFF,
 * time 16 zero bytes. The time is the file's 16 bytes as they are. */
int32_t ORVIADIC_API dicGetNewWordID(const char* path, uint32_t* dictId);
int32_t ORVIADIC_API dicGetNewWordVersion(const char* path, uint32_t* version);
int32_t ORVIADIC_API dicGetNewWordTime(const char* path, uint32_t* time);
/* The new-word version and time a dictionary (all four bytes of dictId non-zero) has
 * reached. 0 when none is stored: the version is then not 0 to 255, the time zero. */
int32_t ORVIADIC_API dicGetCurrentNewWordVersion(uint32_t dictId, uint32_t* version);
int32_t ORVIADIC_API dicGetCurrentNewWordTime(uint32_t dictId, uint32_t* time);
/* The full path of the dictionary's new-word list, when that file exists; else 0 with an
 * empty string (untouched for size 0). */
int32_t ORVIADIC_API dicGetNewWordListPath(uint32_t dictId, char* buffer, uint32_t size);

/* The new-word merge: unpacks a new-word file into the new-word companion of the
 * dictionary it names (T), lists every key of it in T's list, and adds each word that T
 * lacks, or has with a lower level, to T's index with its content appended to T's data
 * file. For T of kinds 0x01 to 0x7F the word also goes into the installed dictionary, and
 * a record the user added for it becomes a note of the memory dictionary. T must exist
 * and hold a word; nothing here creates it. Records are merged one at a time under the
 * writers' mutex, and what was merged stays merged when a later record fails. 1 when the
 * whole file was merged; T's new-word version and time are then raised to the file's. */
/* Progress, mode 1: SendMessageA(window, message, stage, value) while both fields are
 * non-zero, read again at every report. Mode 2: a procedure called (stage, value). Stages:
 * 1 before the first record (value: the number of records), 2 after a word was merged and
 * 3 after one was skipped (value: a pointer to its key, valid during the call), 4 at the
 * end of a merge that succeeded (value 0). Nothing is reported after a failure. */
typedef struct NotifyTarget {
  uint32_t window;
  uint32_t message;
} NotifyTarget;
typedef void(ORVIADIC_API* NewWordProgressProc)(uint32_t stage, intptr_t value);
enum {
  kNewWordStageTotal = 1,
  kNewWordStageMerged = 2,
  kNewWordStageSkipped = 3,
  kNewWordStageDone = 4
};
enum { kNewWordNotifyWindow = 1, kNewWordNotifyProc = 2 };
/* target: a NotifyTarget* in mode 1, a NewWordProgressProc in mode 2, else ignored. */
int32_t ORVIADIC_API dicAddNewWordEx(const char* path, uint32_t mode, void* target);
/* dicAddNewWordEx(path, 0, 0): the same merge without reports. */
int32_t ORVIADIC_API dicAddNewWord(const char* path);

/* Owner-word exchange: a dictionary's records and memory notes written to an exchange
 * file and read back, on the same machine or another. In all three functions a dictId
 * with a zero among its three low bytes stands for 0, and otherwise only those three
 * bytes count. Neither export nor import takes the writers' mutex: an export taken while
 * another process writes may miss the entry being written, and an import should not run
 * beside other writers of the same dictionary. */
/* Called by the import before every item but the first, and once after the last; 0 stops
 * the import, which then returns 0 with the items before kept. */
typedef uint32_t(ORVIADIC_API* DicImportCallback)(void);
/* Writes the file at path (created, or emptied when it exists) with one section for the
 * installed dictionary dictId. 0 on failure; a partly written file is left in place. */
int32_t ORVIADIC_API dicExportOwnerWord(uint32_t dictId, char* path);
/* The number of items of the file's first section for dictId; 0 when the file is not an
 * exchange file, its stored size is not its size, or no section is the dictionary's. */
uint32_t ORVIADIC_API dicGetImportOwnerWordCount(uint32_t dictId, const char* path);
/* Imports the file's first section for dictId: each item becomes a record where the
 * dictionary lacks the word and a memory note where it has it of its own; a word that
 * has a record or a note already keeps it and the item is skipped. The marker line of the
 * content language (byte 1 of dictId, 1 to 5) is added to notes that become records and
 * removed from records that become notes; other content languages have no marker line and
 * their texts are imported as they are. callback may be null. 1, or 0 at the first item
 * that fails, the items before it kept. */
int32_t ORVIADIC_API dicImportOwnerWord(uint32_t dictId, const char* path,
                                        DicImportCallback callback);

#ifdef __cplusplus
}
#endif

#endif /* ORVIADIC_H_ */
