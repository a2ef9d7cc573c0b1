/* OrviaText: the texts around the dictionary library, for programs that speak UTF-8.
 * The dictionary library takes and gives byte strings in a dictionary's own code page,
 * looks words up by the keys the compiler made of their headwords, and hands out entries
 * as stored; these functions make the bridge, by the code page of byte 0 of a dictionary
 * id. They do not need the dictionary library, nor it them.
 *
 * Conventions
 * - Every function writes a zero-terminated text into out, which holds size bytes, and
 *   returns the text's length without the terminator.
 * - With out null and size 0 a function writes nothing and returns the length the text
 *   needs: pass that length + 1 bytes.
 * - -1 on failure: a null text, out null with a size, a text that cannot be converted,
 *   or a result that does not fit with its terminator. When out is given and size is not
 *   0, out[0] is then 0 and nothing else is written.
 * - Languages without a code page (0, and 10 and above) take the bytes as they are.
 * - Thread-safe: no state is kept between calls.
 * - Linux only: the Western code page converts through a table of its own, which agrees
 *   with the C library's iconv on every byte and character; the East Asian ones through
 *   iconv itself.
 */
#ifndef ORVIATEXT_H_
#define ORVIATEXT_H_

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* UTF-8 in the dictionary's code page. Fails on text that is not UTF-8 or holds a
 * character the code page lacks. */
int32_t otxToCodePage(uint32_t dictId, const char* utf8, char* out, uint32_t size);

/* A text of the dictionary (a word, a key) in UTF-8. Fails on a byte sequence the code
 * page does not define. */
int32_t otxToUtf8(uint32_t dictId, const char* text, char* out, uint32_t size);

/* The word to give dicSearchWord and dicIsExistWord for a UTF-8 word: in the code page,
 * white space collapsed and, in the single-byte languages, folded to ASCII as the
 * compiler folds headwords into keys ("schön" becomes "schon", "Æsir" "AEsir"). Several
 * headwords can share such a word: compare each found word with otxToUtf8 to tell them
 * apart. Fails as otxToCodePage. */
int32_t otxSearchWord(uint32_t dictId, const char* utf8, char* out, uint32_t size);

/* An entry's content (dicGetContent) as readable UTF-8 text: LF line ends, the end
 * marker dropped, tagged lines shown by their meaning ("~A note" as "Note: note"),
 * character references "&#x3C9;" made the characters they stand for. A byte the code
 * page does not define shows as "?". */
int32_t otxEntryToUtf8(uint32_t dictId, const char* content, char* out, uint32_t size);

#ifdef __cplusplus
}
#endif

#endif /* ORVIATEXT_H_ */
