/* A client of libOrviaDic and libOrviaText, as a program that speaks UTF-8 uses them: it
 * looks a UTF-8 word up in an installed dictionary and prints, in UTF-8, every entry
 * whose headword is that word. The dictionary's keys are folded ("schön" and "schon"
 * share the key "schon"), so the program walks the entries that share the word's key and
 * keeps those whose headword is the word itself.
 *
 *   lookup_text DICTID WORD      DICTID in hexadecimal, 00010106 or 0x00010106
 *
 * Exit status: 0 found, 1 not in the dictionary, 2 error. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "orviadic.h"
#include "orviatext.h"

/* A text of the libraries in a buffer of its own, or NULL: size is what sized() says
 * the text needs, fill() writes it. */
static char* fetched(uint32_t size, int (*fill)(void* from, char* out, uint32_t size), void* from) {
  char* text = malloc(size + 1);
  if (text != NULL && fill(from, text, size + 1) > 0) return text;
  free(text);
  return NULL;
}

static int fillKey(void* word, char* out, uint32_t size) {
  return dicGetKey(word, out, size);
}

/* The UTF-8 of a dictionary text by one of libOrviaText's functions; NULL on failure. */
static char* converted(int32_t (*convert)(uint32_t, const char*, char*, uint32_t), uint32_t dictId,
                       const char* text) {
  const int32_t length = convert(dictId, text, NULL, 0);
  char* out = length < 0 ? NULL : malloc((size_t)length + 1);
  if (out != NULL && convert(dictId, text, out, (uint32_t)length + 1) == length) return out;
  free(out);
  return NULL;
}

/* 1 when the record the handle stands on has the search word given; its headword in
 * UTF-8 through *utf8 (NULL when it has none to give). */
static int sharesKey(HWORD* word, uint32_t dictId, const char* searchWord, char** utf8) {
  char* key = fetched(dicGetKeySize(word), fillKey, word);
  char* keyUtf8 = key == NULL ? NULL : converted(otxToUtf8, dictId, key);
  char* folded = keyUtf8 == NULL ? NULL : converted(otxSearchWord, dictId, keyUtf8);
  const int shares = folded != NULL && strcasecmp(folded, searchWord) == 0;
  free(key);
  free(folded);
  *utf8 = keyUtf8;
  return shares;
}

/* Prints the entry's content in UTF-8; 0 when it cannot be read. */
static int printEntry(HWORD* word, uint32_t dictId) {
  const uint32_t size = dicGetContentSize(word, dictId);
  char* content = malloc(size + 1);
  int ok = content != NULL && size > 0 && dicGetContent(word, dictId, content, size + 1) > 0;
  char* text = ok ? converted(otxEntryToUtf8, dictId, content) : NULL;
  if (text != NULL) printf("%s", text);
  free(content);
  free(text);
  return text != NULL;
}

/* Walks the entries that share the word's key, from the first, printing those whose
 * headword is the word; the number printed. */
static int printEntriesOf(HWORD* word, uint32_t dictId, const char* searchWord,
                          const char* utf8Word) {
  char* headword = NULL;
  while (dicPrev(word, 0)) {
    int shares = sharesKey(word, dictId, searchWord, &headword);
    free(headword);
    if (!shares) {
      dicNext(word, 0);
      break;
    }
  }
  int printed = 0;
  do {
    int shares = sharesKey(word, dictId, searchWord, &headword);
    if (shares && strcmp(headword, utf8Word) == 0) printed += printEntry(word, dictId);
    free(headword);
    if (!shares) break;
  } while (dicNext(word, 0));
  return printed;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: lookup_text DICTID WORD\n");
    return 2;
  }
  const uint32_t dictId = (uint32_t)strtoul(argv[1], NULL, 16);
  char* searchWord = converted(otxSearchWord, dictId, argv[2]);
  if (searchWord == NULL) {
    fprintf(stderr, "lookup_text: the word cannot be written in the dictionary's code page\n");
    return 2;
  }
  HDICT* dict = dicCreateHDICT(dictId);
  if (dict == NULL) {
    fprintf(stderr, "lookup_text: no dictionary %08X is installed\n", (unsigned)dictId);
    free(searchWord);
    return 2;
  }
  int status = 2;
  HWORD* word = dicSearchWord(dict, searchWord);
  if (word != NULL) {
    status = printEntriesOf(word, dictId, searchWord, argv[2]) > 0 ? 0 : 1;
    dicFreeHWORD(word);
  }
  dicFreeHDICT(dict);
  free(searchWord);
  return status;
}
