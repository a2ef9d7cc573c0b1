"""What the agreement scripts read of the GCIDE that dictd serves, and how they spell a
word without its accents."""
import unicodedata

INDEX = "/usr/share/dictd/gcide.index"


def index_headwords(keep):
    """The headwords of dictd's index that keep accepts, in the index's order, and the
    headwords the index keeps with a trailing space (without it), which dictd finds only
    with the space while the compiler drops it."""
    words, spaced = [], set()
    with open(INDEX, encoding="utf-8") as index:
        for line in index:
            word = line.split("\t")[0]
            if word.endswith(" "):
                spaced.add(word.rstrip())
            if not word.startswith("00-database") and keep(word):
                words.append(word)
    return words, spaced


def ascii_spelling(word):
    return unicodedata.normalize("NFKD", word).encode("ascii", "ignore").decode()
