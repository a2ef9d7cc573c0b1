"""What `orviadic serve` and a local dictd, serving the same GCIDE, answer over the DICT
protocol for random GCIDE headwords: DEFINE's entry texts compared as sets once the
compiler's conversion is undone, and the word sets of MATCH exact and of MATCH prefix (the
word's first letters). Every difference is put down to a named cause; what no cause
explains is listed as unexplained.
usage: serve_agreement.py ORVIADIC_PORT DICTD_PORT COUNT [SEED]"""
import html
import random
import re
import socket
import sys

from gcide_index import ascii_spelling, index_headwords

our_port, dictd_port, count = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 26)
MAX_MATCHES = 1000  # orviadic serve's default --max-matches


class DictClient:
    """One connection; each request returns (status, [(151 word, text lines)] or [words])."""

    def __init__(self, port):
        self.port = port
        self.connect()

    def connect(self):
        self.socket = socket.create_connection(("127.0.0.1", self.port))
        self.replies = self.socket.makefile("rb")
        self.line()  # the banner
        self.asked = 0

    def line(self):
        # Acknowledged at once: dictd's replies otherwise wait for a delayed acknowledgement.
        self.socket.setsockopt(socket.IPPROTO_TCP, socket.TCP_QUICKACK, 1)
        line = self.replies.readline()
        if not line:
            raise SystemExit("a server closed the connection")
        return line.decode("utf-8", "replace").rstrip("\r\n")

    def text(self):
        lines = []
        while (line := self.line()) != ".":
            lines.append(line[1:] if line.startswith("..") else line)
        return lines

    def ask(self, command, word):
        # dictd ends a connection after 2,000 commands.
        if self.asked == 1000:
            self.socket.close()
            self.connect()
        self.asked += 1
        quoted = '"' + word.replace("\\", "\\\\").replace('"', '\\"') + '"'
        self.socket.sendall(f"{command} {quoted}\r\n".encode())
        answers = []
        while True:
            line = self.line()
            status = int(line[:3])
            if status == 151:
                answers.append((re.match(r'151 "((?:[^"\\]|\\.)*)"', line).group(1), self.text()))
            elif status == 152:
                answers = [re.match(r'\S+ "((?:[^"\\]|\\.)*)"', m).group(1).replace('\\"', '"')
                           for m in self.text()]
            elif status >= 200:
                return status, answers


def undone(word, lines):
    """An entry text as dictd keeps it, from ours: the compiler's added headword line, the
    space it puts before a line starting with "~", and the character references it writes
    for characters outside the code page, undone; line ends' spaces and blank last lines,
    which the two lay out differently, dropped."""
    lines = [html.unescape(re.sub(r"&#x([0-9A-Fa-f]+);", lambda m: chr(int(m.group(1), 16)), l))
             for l in lines]
    lines = [l[1:] if l.startswith(" ~") else l for l in lines]
    if len(lines) > 1 and lines[0].strip() == word and not lines[1].startswith(word):
        lines = lines[1:]
    return tidy(lines)


def tidy(lines):
    lines = [l.rstrip() for l in lines]
    while lines and not lines[-1]:
        lines.pop()
    return "\n".join(lines)


def letters(word):
    return "".join(c for c in ascii_spelling(word).lower() if c.isalnum())


def word_cause(word, query):
    """Why an entry or a word is on one side only, from its headword and the query."""
    if word.rstrip() in spaced:
        return "trailing space: dictd's index keeps the headword with a space after it"
    if len(word.encode()) >= 244:
        return "a headword of 244 bytes or more: too long for a key, the compiler leaves it out"
    if ascii_spelling(word) != word and ascii_spelling(word).lower() == ascii_spelling(query).lower():
        return "accents: the same word with other accents"
    if any(ord(c) > 127 for c in word) and not ascii_spelling(word).strip():
        return "no ASCII spelling: the compiler leaves the headword out"
    if word != query and word.lower() == query.lower():
        return "case: the same word in another case"
    if letters(word) == letters(query) and word.lower() != query.lower():
        return "punctuation: the same letters with other punctuation or spacing"
    return None


def compare_define(ours, theirs, query, causes):
    our_texts = {}
    for word, lines in ours:
        our_texts.setdefault(undone(word, lines), word)
    their_texts = {}
    for word, lines in theirs:
        their_texts.setdefault(tidy(lines), word)
    same = our_texts.keys() == their_texts.keys()
    for texts, other, side in ((their_texts, our_texts, "dictd only"),
                               (our_texts, their_texts, "orviadic only")):
        for text in texts.keys() - other.keys():
            word = texts[text]
            why = word_cause(word, query)
            if why is None and any(w == word for w in other.values()):
                why = "homographs: the same headword, its texts differ"
            note(causes, "DEFINE", query, side, word, why, text)
    return same


def note(causes, request, query, side, word, why, detail=""):
    """Puts a difference down to its cause, keeping the words that show it."""
    causes.setdefault((request, side, why or "unexplained"), []).append((query, word, detail[:160]))


def compare_words(request, ours, theirs, query, causes):
    for words, other, side in ((set(theirs) - set(ours), ours, "dictd only"),
                               (set(ours) - set(theirs), theirs, "orviadic only")):
        for word in words:
            why = word_cause(word, query) if request == "MATCH exact" else None
            if request == "MATCH prefix":
                why = prefix_cause(word, query, other, side)
            note(causes, request, query, side, word, why)
    return set(ours) == set(theirs)


def prefix_cause(word, prefix, other, side):
    why = word_cause(word, prefix)
    if why and why.startswith("trailing"):
        return why
    if side == "dictd only" and len(other) >= MAX_MATCHES:
        return f"the cap: orviadic serve lists at most {MAX_MATCHES:,} matches"
    if letters(word).startswith(letters(prefix)) != word.lower().startswith(prefix.lower()):
        return "punctuation: a prefix only once punctuation and spaces are dropped"
    if side == "orviadic only" and other and letters(word) > max(letters(w) for w in other):
        return "dictd's list ends early: its last word comes before this one"
    if ascii_spelling(word).lower().startswith(prefix.lower()) and not word.lower().startswith(prefix.lower()):
        return "accents: a prefix only once accents are dropped"
    return why if why and why.startswith("a headword of 244") else None


def headwords():
    """Every headword of dictd's index but its own "00database" entries, sorted, and those
    it keeps with a trailing space."""
    words, spaced = index_headwords(lambda word: not word.startswith("00database"))
    return sorted(set(words)), spaced


ours, theirs = DictClient(our_port), DictClient(dictd_port)
causes = {}
agree = {"DEFINE": 0, "MATCH exact": 0, "MATCH prefix": 0}
found = {"orviadic": 0, "dictd": 0}
words, spaced = headwords()
for query in rng.sample(words, count):
    our_status, our_entries = ours.ask("DEFINE gcide", query)
    their_status, their_entries = theirs.ask("DEFINE gcide", query)
    found["orviadic"] += our_status == 250
    found["dictd"] += their_status == 250
    agree["DEFINE"] += compare_define(our_entries, their_entries, query, causes)
    for strategy, word in (("exact", query), ("prefix", query[:4])):
        request = f"MATCH {strategy}"
        _, our_words = ours.ask(f"MATCH gcide {strategy}", word)
        _, their_words = theirs.ask(f"MATCH gcide {strategy}", word)
        agree[request] += compare_words(request, our_words, their_words, word, causes)

print(f"{count} random GCIDE headwords: DEFINE finds {found['orviadic']} on orviadic serve, "
      f"{found['dictd']} on dictd")
for request, same in agree.items():
    print(f"{request}: {same} of {count} words give the same "
          f"{'entry texts' if request == 'DEFINE' else 'words'}")
    for (r, side, why), seen in sorted(causes.items()):
        if r == request:
            shown = "; ".join(f"{q!r}: {w!r}" for q, w, _ in seen[:2])
            print(f"  {len(seen):6} {'entries' if r == 'DEFINE' else 'words'} {side}: {why}"
                  f" (as {shown})")
unexplained = [(key, seen) for key, seen in causes.items() if key[2] == "unexplained"]
for (request, side, _), seen in unexplained:
    for query, word, detail in seen[:20]:
        print(f"unexplained: {request} {query!r}: {word!r} ({side}) {detail!r}")
print(f"{sum(len(seen) for _, seen in unexplained)} unexplained differences")
