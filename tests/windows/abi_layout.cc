// The layouts the 32-bit interface fixes, checked at compile time; built only where
// pointers are 4 bytes. The stdcall convention of every export is checked by the link
// itself: the module-definition files name the decorated symbols only a stdcall
// definition has.
#include <cstddef>
#include <type_traits>

#include "dict/dictionary.h"
#include "dict/word_handle.h"
#include "lang/single_byte.h"
#include "orviadb.h"
#include "orviadic.h"

static_assert(sizeof(void*) == 4, "the 32-bit interface");
static_assert(sizeof(DbInsertDescriptor) == 20 &&
                  offsetof(DbInsertDescriptor, contentDictId) == 4 &&
                  offsetof(DbInsertDescriptor, contentRef) == 8 &&
                  offsetof(DbInsertDescriptor, dataLength) == 12 &&
                  offsetof(DbInsertDescriptor, data) == 16,
              "five 32-bit fields");
static_assert(sizeof(DbContentName) == 20);
static_assert(sizeof(DBHANDLE) == 4 && sizeof(HDICT*) == 4 && sizeof(HWORD*) == 4 &&
                  sizeof(DbCompareFn) == 4,
              "handles are 4 bytes");
static_assert(sizeof(HDICT) == 8, "dictId, db");
static_assert(sizeof(HWORD) == 8, "dict, record");

// The collation is handed to the store as it is declared, without a cast.
static_assert(std::is_same_v<decltype(&orvia::lang::single_byte::compareKeys), DbCompareFn>);
