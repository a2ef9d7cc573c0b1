/* A client of libOrviaDic, as a Linux program uses the library: linked against it, it
 * opens an installed dictionary (found through the registry folder), looks a word up and
 * prints the entry it lands on with its content, in the dictionary's code page.
 *
 *   lookup DICTID WORD      DICTID in hexadecimal, 00010101 or 0x00010101
 *
 * Exit status: 0 found, 1 not in the dictionary (the nearest entry is printed), 2 error. */
#include <stdio.h>
#include <stdlib.h>

#include "orviadic.h"

/* Prints the word the handle stands on and its content; 0 when memory runs out. */
static int printEntry(HWORD* word, uint32_t dictId) {
  uint32_t wordSize = dicGetWordSize(word);
  uint32_t contentSize = dicGetContentSize(word, dictId);
  char* text = malloc(wordSize + 1);
  char* content = malloc(contentSize + 1);
  int ok = text != NULL && content != NULL;
  if (ok) {
    dicGetWord(word, text, wordSize + 1);
    content[0] = '\0';
    if (contentSize > 0) dicGetContent(word, dictId, content, contentSize + 1);
    printf("%s\n%s\n", text, content);
  }
  free(text);
  free(content);
  return ok;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: lookup DICTID WORD\n");
    return 2;
  }
  uint32_t dictId = (uint32_t)strtoul(argv[1], NULL, 16);
  HDICT* dict = dicCreateHDICT(dictId);
  if (dict == NULL) {
    fprintf(stderr, "lookup: dictionary %08X is not installed\n", (unsigned)dictId);
    return 2;
  }
  int status = 2;
  HWORD* word = dicSearchWord(dict, argv[2]);
  if (word != NULL) {
    status = dicIsExistWord(dict, argv[2]) ? 0 : 1;
    if (!printEntry(word, dictId)) status = 2;
    dicFreeHWORD(word);
  }
  dicFreeHDICT(dict);
  return status;
}
