"""The agreement of `orviadic match` with `dict -m` over a local dictd, strategy by strategy,
on queries made from random GCIDE headwords. Every word one side gives and the other does
not is put down to a cause; what no cause explains is listed as unexplained.
usage: match_agreement.py ORVIADIC PORT QUERIES"""
import json
import random
import subprocess
import sys

from gcide_index import ascii_spelling, index_headwords

tool, port, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
rng = random.Random(23)


def headwords():
    """Plain headwords to make queries from, and the headwords dictd's index keeps with a
    trailing space (without it)."""
    return index_headwords(lambda word: word.isascii() and word.isalpha())


def misspelt(word):
    at = rng.randrange(len(word) + 1)
    letter = rng.choice("abcdefghijklmnopqrstuvwxyz")
    edit = rng.randrange(3)
    if edit == 0 or at == len(word):
        return word[:at] + letter + word[at:]
    if edit == 1 and len(word) > 2:
        return word[:at] + word[at + 1:]
    return word[:at] + letter + word[at + 1:]


def slice_of(word, where):
    size = min(len(word), rng.choice((3, 4)))
    if where == "head":
        return word[:size]
    if where == "tail":
        return word[-size:]
    start = rng.randrange(len(word) - size + 1)
    return word[start:start + size]


def dictd_words(strategy, query):
    out = subprocess.run(["dict", "-h", "127.0.0.1", "-p", port, "-d", "gcide", "-m", "-s",
                          strategy, "-f", query], capture_output=True, text=True).stdout
    return {line.split("\t")[3] for line in out.splitlines()
            if line.count("\t") >= 3 and line.split("\t")[3]}


def our_words(strategy, query):
    out = subprocess.run([tool, "--json", "match", "0x00010101", query, "--strategy", strategy,
                          "--max", "100000"], capture_output=True, text=True).stdout
    return set(json.loads(out)["words"]) if out.strip() else set()


def letters(word):
    kept = "".join(c for c in ascii_spelling(word).lower() if c.isalnum() or c.isspace())
    return " ".join(kept.split())


def levenshtein(a, b):
    row = list(range(len(b) + 1))
    for i, ca in enumerate(a, 1):
        previous, row[0] = row[0], i
        for j, cb in enumerate(b, 1):
            previous, row[j] = row[j], min(row[j] + 1, row[j - 1] + 1, previous + (ca != cb))
    return row[-1]


def soundex(word, h_and_w_separate):
    codes = {c: d for d, group in enumerate(["aeiouy", "bfpv", "cgjkqsxz", "dt", "l", "mn", "r"])
             for c in group}
    letters_only = [c for c in ascii_spelling(word).lower() if c.isalpha() and c.isascii()]
    if not letters_only:
        return ""
    out, previous = letters_only[0].upper(), codes.get(letters_only[0], -1)
    for c in letters_only[1:]:
        code = codes.get(c)
        if code is None:
            if h_and_w_separate:
                previous = -1
            continue
        if code != 0 and code != previous:
            out += str(code)
        previous = code
    return (out + "000")[:4]


class OtherSide:
    """The words one side gave, with the spellings the causes compare against, worked out
    once per query: a query of three letters can match thousands of words."""

    def __init__(self, words):
        self.words = words
        self.lower = {w.lower() for w in words}
        self.ascii = {ascii_spelling(w).lower() for w in words}
        self.letters = {letters(w) for w in words}
        # Where dictd's answer ends: it lists words by their letters, for every strategy.
        self.last = max(self.letters) if words else None


def cause(word, strategy, query, other, side):
    """Why word is on one side only; other is the other side's OtherSide."""
    if side == "orviadic only" and strategy in ("prefix", "substring", "suffix") and \
            other.words and letters(word) > other.last:
        return "dictd's list ends early: its last word comes before this one"
    if side == "orviadic only" and strategy == "suffix" and word in spaced:
        return "trailing space: dictd's headword ends with a space, so not with the suffix"
    if strategy == "soundex" and soundex(word, True) != soundex(word, False):
        return "h and w: dictd lets them part equal codes, textbook Soundex does not"
    if word.startswith("00-database"):
        return "dictd's own entries: the database's description, not a word"
    if len(word.encode()) >= 244:
        return "a headword of 244 bytes or more: too long for a key, the compiler leaves it out"
    if strategy == "lev" and any(c.isdigit() for c in word):
        return "digits: dictd's lev tries letters only in its edits"
    if word.lower() in other.lower:
        return "case: the same word in another case"
    if ascii_spelling(word).lower() in other.ascii:
        return "accents: the same word with other accents"
    if letters(word) in other.letters:
        return "punctuation: the same letters with other punctuation or spacing"
    q, w = letters(query), letters(word)
    if strategy == "lev" and word.lower() == query.lower():
        return "the word itself: dictd's lev leaves out the query's own entries"
    if strategy == "lev" and (levenshtein(q, w) <= 1) != (levenshtein(query.lower(), word.lower()) <= 1):
        return "punctuation: one edit away only once punctuation and spaces are dropped"
    if strategy == "lev" and levenshtein(query.lower(), ascii_spelling(word).lower()) == 2:
        return "distance 2: lev allows two edits for words of 6 letters or more"
    if strategy in ("prefix", "substring", "suffix"):
        hit = {"prefix": w.startswith(q), "substring": q in w, "suffix": w.endswith(q)}
        if hit[strategy] != {"prefix": word.lower().startswith(query.lower()),
                             "substring": query.lower() in word.lower(),
                             "suffix": word.lower().endswith(query.lower())}[strategy]:
            return "punctuation: matches only once punctuation and spaces are dropped"
    if strategy == "soundex" and not word.isascii():
        return "accents: letters outside ASCII code differently"
    if strategy == "soundex" and any(not c.isalpha() for c in word):
        return "soundex of a phrase: spaces and punctuation are coded differently"
    return "unexplained"


makers = {"lev": misspelt, "prefix": lambda w: slice_of(w, "head"),
          "substring": lambda w: slice_of(w, "slice"), "suffix": lambda w: slice_of(w, "tail"),
          "soundex": lambda w: w}
words, spaced = headwords()
unexplained = []
for strategy, make in makers.items():
    same = 0
    causes = {}
    for _ in range(count):
        query = make(rng.choice(words))
        theirs, ours = dictd_words(strategy, query), our_words(strategy, query)
        if theirs == ours:
            same += 1
            continue
        mine, dictds = OtherSide(ours), OtherSide(theirs)
        for word, other, side in [(w, mine, "dictd only") for w in theirs - ours] + \
                [(w, dictds, "orviadic only") for w in ours - theirs]:
            why = cause(word, strategy, query, other, side)
            causes[(side, why)] = causes.get((side, why), 0) + 1
            if why == "unexplained":
                unexplained.append((strategy, query, side, word))
    print(f"{strategy}: {same} of {count} queries give the same words")
    for (side, why), n in sorted(causes.items()):
        print(f"  {n:6} words {side}: {why}")
for strategy, query, side, word in unexplained[:40]:
    print(f"unexplained: {strategy} {query!r}: {word!r} ({side})")
print(f"{len(unexplained)} unexplained differences")
