// The layouts the 32-bit interface fixes, checked at compile time wherever pointers are
// 4 bytes. The stdcall convention of every export is checked by the link itself: the
// module-definition files name the decorated symbols only a stdcall definition has.
#include <cstddef>
#include <type_traits>

#include "dict/dictionary.h"
#include "dict/word_handle.h"
#include "lang/single_byte.h"
#include "orviadb.h"
#include "orviadic.h"

namespace {

constexpr bool kPointers32 = sizeof(void*) == 4;

static_assert(!kPointers32 || sizeof(DbInsertDescriptor) == 20, "five 32-bit fields");
static_assert(!kPointers32 || offsetof(DbInsertDescriptor, contentDictId) == 4);
static_assert(!kPointers32 || offsetof(DbInsertDescriptor, contentRef) == 8);
static_assert(!kPointers32 || offsetof(DbInsertDescriptor, dataLength) == 12);
static_assert(!kPointers32 || offsetof(DbInsertDescriptor, data) == 16);
static_assert(!kPointers32 || sizeof(DbContentName) == 20);
static_assert(!kPointers32 || sizeof(DBHANDLE) == 4, "handles are 4 bytes");
static_assert(!kPointers32 || sizeof(HDICT*) == 4);
static_assert(!kPointers32 || sizeof(HWORD*) == 4);
static_assert(!kPointers32 || sizeof(HDICT) == 8, "dictId, db");
static_assert(!kPointers32 || sizeof(HWORD) == 8, "dict, record");
static_assert(!kPointers32 || sizeof(DbCompareFn) == 4);

// The collation is handed to the store as it is declared, without a cast.
static_assert(std::is_same_v<decltype(&orvia::lang::single_byte::compareKeys), DbCompareFn>);

}  // namespace
