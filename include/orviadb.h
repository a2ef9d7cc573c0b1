/* OrviaDB: an ordered record database kept in one index file per dictionary.
 *
 * Conventions
 * - Every operation returns 0 (or a null handle) on failure and never says why.
 * - A record is {u32 length, u32 contentDictId, u32 contentRef, u32 number, string area},
 *   little-endian, length counting the 16-byte header; at most 1024 bytes.
 *   Its number is its 0-based position in key order at the moment it is read.
 * - Records are kept in the order of the compare callback given at open. The callback
 *   receives two string areas (a key followed by its further strings) and returns
 *   <0, 0 or >0. Equal records are allowed; a new one goes before its equals. Every
 *   stored string area it receives is followed by at least four zero bytes, so it may
 *   read up to three strings even when the area lacks their terminators. It need not
 *   be a consistent order: a bad answer misplaces records but never hangs or crashes.
 * - A handle has one cursor. A handle is used by one thread at a time; several handles,
 *   in one process or several, may be open on one file at once. Writers are serialised.
 * - Operations 2 to 16 are exported by ordinal on Windows; the extra operations
 *   (dbCreate, dbBulkLoad, dbCompact, dbVerify) sit at the free ordinals.
 */
#ifndef ORVIADB_H_
#define ORVIADB_H_

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define ORVIADB_API __stdcall
#else
#define ORVIADB_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OrviaDb* DBHANDLE;

/* Compares two string areas; the dictionary's collation. */
typedef int(ORVIADB_API* DbCompareFn)(const char* a, const char* b);

/* What dbInsert takes: exactly five 32-bit fields on the 32-bit target. */
typedef struct DbInsertDescriptor {
  const char* contentFileName; /* 16-byte buffer: the content file kept for contentDictId */
  uint32_t contentDictId;
  uint32_t contentRef;
  uint32_t dataLength; /* bytes of the string area */
  const void* data;    /* the string area */
} DbInsertDescriptor;

enum { kDbRecordHeaderSize = 16, kDbMaxRecordSize = 1024, kDbContentNameSize = 16 };
enum { kDbSearchSelector = 1, kDbInfoRecordCount = 2, kDbCommandOpenShared = 49 };

/* ord 2: opens an existing index; 0 when it is missing, empty, not ours or damaged. */
DBHANDLE ORVIADB_API dbOpen(const char* path, DbCompareFn compare);
/* ord 16: mode 49 opens a shared index read-only; the handle is used like dbOpen's. */
DBHANDLE ORVIADB_API dbCommand(const char* path, uint32_t mode, DbCompareFn compare);
/* ord 3: non-zero when closed; the handle is invalid afterwards. */
int32_t ORVIADB_API dbClose(DBHANDLE h);
/* ord 4: cursor on the first record equal to key; with none equal, on the first record
 * after it, or on the last record when key sorts after all. 0 on an empty index. */
int32_t ORVIADB_API dbSeek(DBHANDLE h, const char* key);
/* ord 5: cursor on record n; 0 when there is none (cursor unchanged). */
int32_t ORVIADB_API dbGoto(DBHANDLE h, uint32_t n);
/* ord 6, 7: one record back or forward; 0 at the ends, cursor unchanged. */
int32_t ORVIADB_API dbPrev(DBHANDLE h);
int32_t ORVIADB_API dbNext(DBHANDLE h);
/* ord 8: copies the current record; *size is the capacity in, the record's length out. */
int32_t ORVIADB_API dbGetRecord(DBHANDLE h, uint32_t* size, void* buffer);
/* ord 9: selector 1 copies min(count, records from first on) whole records back to back,
 * or none: when they do not fit in *size it returns 0 and sets *size to the bytes they
 * need. A first past the end succeeds with *size = 0. */
int32_t ORVIADB_API dbSearch(DBHANDLE h, uint32_t selector, uint32_t first, uint32_t count,
                             uint32_t* size, void* buffer);
/* ord 10: stores {dataLength + 16, contentDictId, contentRef, number, data} in key order
 * and keeps the 16-byte content file name for contentDictId. */
int32_t ORVIADB_API dbInsert(DBHANDLE h, const DbInsertDescriptor* record);
/* ord 11: removes record n. */
int32_t ORVIADB_API dbDelete(DBHANDLE h, uint32_t n);
/* ord 13: the 16-byte content file name kept for contentDictId; *size is 16 in. */
int32_t ORVIADB_API dbGetData(DBHANDLE h, uint32_t contentDictId, void* buffer, uint32_t* size);
/* ord 14: selector 2 gives the record count. */
int32_t ORVIADB_API dbGetInfo(DBHANDLE h, uint32_t selector, uint32_t* value);

/* Extra operations of this engine. */

/* Creates an empty index at path, replacing nothing: 0 when the file exists. */
int32_t ORVIADB_API dbCreate(const char* path);

/* One content file name per contentDictId, for dbBulkLoad. */
typedef struct DbContentName {
  uint32_t contentDictId;
  char name[16];
} DbContentName;

/* Writes a new index at path from records already sorted by compare: `records` holds
 * `recordCount` records back to back in the dbSearch layout (number fields ignored).
 * 0 when the file exists, a record is malformed, or two records are out of order. */
int32_t ORVIADB_API dbBulkLoad(const char* path, DbCompareFn compare, const void* records,
                               uint32_t recordBytes, uint32_t recordCount,
                               const DbContentName* names, uint32_t nameCount);

/* Rewrites the index so that it opens without replaying changes; non-zero on success. */
int32_t ORVIADB_API dbCompact(DBHANDLE h);

/* Walks the whole file. 1 when consistent; 0 otherwise, with a one-line reason naming
 * the first inconsistency and its offset in report (terminated, truncated to size). */
int32_t ORVIADB_API dbVerify(const char* path, DbCompareFn compare, char* report,
                             uint32_t reportSize);

#ifdef __cplusplus
}
#endif

#endif /* ORVIADB_H_ */
