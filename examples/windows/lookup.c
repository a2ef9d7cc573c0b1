/* A client of OrviaDic.dll, as a Windows program uses the library: it loads the DLL at
 * run time, opens an installed dictionary (found through the registry), looks a word up
 * and prints the entry it lands on with its content.
 *
 *   lookup DICTID WORD      DICTID in hexadecimal, 00010101 or 0x00010101
 *
 * Exit status: 0 found, 1 not in the dictionary (the nearest entry is printed), 2 error. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include "orviadic.h"

typedef HDICT*(ORVIADIC_API* CreateHDICTFn)(uint32_t);
typedef int32_t(ORVIADIC_API* FreeHDICTFn)(HDICT*);
typedef HWORD*(ORVIADIC_API* SearchWordFn)(HDICT*, const char*);
typedef int32_t(ORVIADIC_API* FreeHWORDFn)(HWORD*);
typedef uint32_t(ORVIADIC_API* GetWordSizeFn)(HWORD*);
typedef int32_t(ORVIADIC_API* GetWordFn)(HWORD*, char*, uint32_t);
typedef int32_t(ORVIADIC_API* IsExistWordFn)(HDICT*, const char*);
typedef uint32_t(ORVIADIC_API* GetContentSizeFn)(HWORD*, uint32_t);
typedef uint32_t(ORVIADIC_API* GetContentFn)(HWORD*, uint32_t, char*, uint32_t);

struct Library {
  CreateHDICTFn createHDICT;
  FreeHDICTFn freeHDICT;
  SearchWordFn searchWord;
  FreeHWORDFn freeHWORD;
  GetWordSizeFn getWordSize;
  GetWordFn getWord;
  IsExistWordFn isExistWord;
  GetContentSizeFn getContentSize;
  GetContentFn getContent;
};

/* GetProcAddress gives a generic function pointer; each caller casts it to the export's
 * own type. */
static void* exported(HMODULE module, const char* name) {
  return (void*)GetProcAddress(module, name);
}

static int loadLibrary(struct Library* lib) {
  HMODULE module = LoadLibraryA("OrviaDic.dll");
  if (module == NULL) return 0;
  lib->createHDICT = (CreateHDICTFn)exported(module, "dicCreateHDICT");
  lib->freeHDICT = (FreeHDICTFn)exported(module, "dicFreeHDICT");
  lib->searchWord = (SearchWordFn)exported(module, "dicSearchWord");
  lib->freeHWORD = (FreeHWORDFn)exported(module, "dicFreeHWORD");
  lib->getWordSize = (GetWordSizeFn)exported(module, "dicGetWordSize");
  lib->getWord = (GetWordFn)exported(module, "dicGetWord");
  lib->isExistWord = (IsExistWordFn)exported(module, "dicIsExistWord");
  lib->getContentSize = (GetContentSizeFn)exported(module, "dicGetContentSize");
  lib->getContent = (GetContentFn)exported(module, "dicGetContent");
  return lib->createHDICT && lib->freeHDICT && lib->searchWord && lib->freeHWORD &&
         lib->getWordSize && lib->getWord && lib->isExistWord && lib->getContentSize &&
         lib->getContent;
}

/* Prints the word the handle stands on and its content; 0 when memory runs out. */
static int printEntry(const struct Library* lib, HWORD* word, uint32_t dictId) {
  uint32_t wordSize = lib->getWordSize(word);
  uint32_t contentSize = lib->getContentSize(word, dictId);
  char* text = malloc(wordSize + 1);
  char* content = malloc(contentSize + 1);
  int ok = text != NULL && content != NULL;
  if (ok) {
    lib->getWord(word, text, wordSize + 1);
    content[0] = '\0';
    if (contentSize > 0) lib->getContent(word, dictId, content, contentSize + 1);
    printf("%s\n%s\n", text, content);
  }
  free(text);
  free(content);
  return ok;
}

int main(int argc, char** argv) {
  struct Library lib;
  HDICT* dict;
  HWORD* word;
  uint32_t dictId;
  int status;
  if (argc != 3) {
    fprintf(stderr, "usage: lookup DICTID WORD\n");
    return 2;
  }
  dictId = (uint32_t)strtoul(argv[1], NULL, 16);
  if (!loadLibrary(&lib)) {
    fprintf(stderr, "lookup: cannot load OrviaDic.dll\n");
    return 2;
  }
  dict = lib.createHDICT(dictId);
  if (dict == NULL) {
    fprintf(stderr, "lookup: dictionary %08X is not installed\n", (unsigned)dictId);
    return 2;
  }
  status = 2;
  word = lib.searchWord(dict, argv[2]);
  if (word != NULL) {
    status = lib.isExistWord(dict, argv[2]) ? 0 : 1;
    if (!printEntry(&lib, word, dictId)) status = 2;
    lib.freeHWORD(word);
  }
  lib.freeHDICT(dict);
  return status;
}
