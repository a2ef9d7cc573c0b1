#include "serve/session.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "conventions.h"
#include "orviadic.h"
#include "serve/command_parser.h"
#include "serve/definitions.h"

namespace orviadic::serve {
namespace {

constexpr char kInvalidDatabase[] = "invalid database, use \"SHOW DB\" for list of databases";
constexpr char kNoMatch[] = "no match";

constexpr const char* kHelp[] = {
    "DEFINE database word         -- look up word in database",
    "MATCH database strategy word -- match word in database using strategy",
    "SHOW DB                      -- list all accessible databases",
    "SHOW DATABASES               -- list all accessible databases",
    "SHOW STRAT                   -- list available matching strategies",
    "SHOW STRATEGIES              -- list available matching strategies",
    "SHOW INFO database           -- provide information about the database",
    "SHOW SERVER                  -- provide site-specific information",
    "OPTION MIME                  -- use MIME headers",
    "CLIENT info                  -- identify client to server",
    "STATUS                       -- display timing information",
    "HELP                         -- display this help information",
    "QUIT                         -- terminate connection",
    "",
    "A database of \"*\" means every database, \"!\" the first with a match;",
    "a strategy of \".\" means the default, nearest.",
};

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::toupper(c)); });
  return text;
}

std::string count(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string Session::banner(uint64_t connection) const {
  Response out(false);
  out.status(220, status_.host + " orviadic serve " + formatLibraryVersion(dicGetVersion()) +
                      " <mime> <" + std::to_string(connection) + "." + std::to_string(getpid()) +
                      "@" + status_.host + ">");
  return out.bytes();
}

void Session::answer(const InputLine& line, ConnectionState* state) {
  Response out(mime_);
  switch (line.kind) {
    case LineKind::kTooLong:
    case LineKind::kRunaway:
      out.status(500, "line too long");
      break;
    case LineKind::kNulByte:
      out.status(500, "NUL bytes are not allowed");
      break;
    case LineKind::kCommand: {
      ++status_.commands;
      const ParsedCommand parsed = parseCommand(line.text);
      if (parsed.unbalanced)
        out.status(501, "syntax error, illegal parameters: unbalanced quote or backslash");
      else if (parsed.words.empty())
        out.status(500, "syntax error, command not recognized");
      else
        command(parsed.words, &out);
      break;
    }
  }
  state->send(out.bytes());
  if (quit_) state->close();
}

void Session::command(const Words& words, Response* out) {
  const std::string name = upper(words[0]);
  const size_t arguments = words.size() - 1;
  auto wants = [&](size_t wanted) {
    if (arguments == wanted) return true;
    out->status(501, "syntax error, illegal parameters: " + name + " takes " +
                         count(wanted, "argument", "arguments"));
    return false;
  };
  if (name == "DEFINE") {
    if (wants(2)) define(words, out);
  } else if (name == "MATCH") {
    if (wants(3)) match(words, out);
  } else if (name == "SHOW") {
    show(words, out);
  } else if (name == "CLIENT") {
    if (arguments == 0)
      out->status(501, "syntax error, illegal parameters: CLIENT takes a text");
    else
      out->status(250, "ok");
  } else if (name == "OPTION") {
    if (arguments == 1 && upper(words[1]) == "MIME") {
      mime_ = true;
      out->status(250, "ok - using MIME headers");
    } else {
      out->status(501, "syntax error, illegal parameters: the option is MIME");
    }
  } else if (name == "STATUS") {
    if (wants(0)) status(out);
  } else if (name == "HELP") {
    if (wants(0)) help(out);
  } else if (name == "QUIT") {
    out->status(221, "bye");
    quit_ = true;
  } else if (name == "AUTH" || name == "SASLAUTH" || name == "SASLRESP") {
    out->status(502, "command not implemented");
  } else {
    out->status(500, "syntax error, command not recognized");
  }
}

bool Session::databasesNamed(const std::string& name, std::vector<size_t>* indexes,
                             Response* out) const {
  if (name == "*" || name == "!") {
    for (size_t i = 0; i < catalogue_.databases().size(); ++i) indexes->push_back(i);
  } else if (const int index = catalogue_.find(name); index >= 0) {
    indexes->push_back(size_t(index));
  } else {
    out->status(550, kInvalidDatabase);
    return false;
  }
  return true;
}

void Session::define(const Words& words, Response* out) {
  std::vector<size_t> indexes;
  if (!databasesNamed(words[1], &indexes, out)) return;
  struct Found {
    const Database* database;
    Definition definition;
  };
  std::vector<Found> found;
  for (const size_t index : indexes) {
    std::string problem;
    const OpenDictionary* dict = dictionaries_.get(index, &problem);
    if (dict == nullptr) continue;
    for (Definition& d : defineWord(*dict, words[2]))
      found.push_back({&catalogue_.databases()[index], std::move(d)});
    if (!found.empty() && words[1] == "!") break;
  }
  if (found.empty()) return out->status(552, kNoMatch);
  out->status(150, count(found.size(), "definition", "definitions") + " retrieved");
  for (const Found& f : found) {
    out->status(151, quotedWord(f.definition.headword) + " " + f.database->name + " " +
                         quotedWord(f.database->description));
    out->text(f.definition.text);
  }
  out->status(250, "ok");
}

void Session::match(const Words& words, Response* out) {
  std::vector<size_t> indexes;
  if (!databasesNamed(words[1], &indexes, out)) return;
  const std::optional<match::Strategy> strategy =
      words[2] == "." ? match::Strategy::kNearest : match::strategyNamed(words[2]);
  if (!strategy)
    return out->status(551, "invalid strategy, use \"SHOW STRAT\" for a list of strategies");
  std::vector<std::string> lines;
  for (const size_t index : indexes) {
    std::string problem;
    const OpenDictionary* dict = dictionaries_.get(index, &problem);
    if (dict == nullptr) continue;
    const Matches matches = matchWord(*dict, *strategy, words[3], status_.maxMatches);
    if (!matches.problem.empty())
      return out->status(501, "syntax error, illegal parameters: " + matches.problem);
    const std::string& name = catalogue_.databases()[index].name;
    for (const std::string& word : matches.words) lines.push_back(name + " " + quotedWord(word));
    if (!lines.empty() && words[1] == "!") break;
  }
  if (lines.empty()) return out->status(552, kNoMatch);
  out->status(152, count(lines.size(), "match", "matches") + " found");
  for (const std::string& line : lines) out->textLine(line);
  out->textEnd();
  out->status(250, "ok");
}

void Session::show(const Words& words, Response* out) {
  const std::string what = words.size() > 1 ? upper(words[1]) : std::string();
  const bool one = words.size() == 2;
  if (one && (what == "DB" || what == "DATABASES"))
    showDatabases(out);
  else if (one && (what == "STRAT" || what == "STRATEGIES"))
    showStrategies(out);
  else if (one && what == "SERVER")
    showServer(out);
  else if (words.size() == 3 && what == "INFO")
    showInfo(words[2], out);
  else
    out->status(501, "syntax error, illegal parameters: SHOW DB, STRAT, INFO database or SERVER");
}

void Session::showDatabases(Response* out) const {
  const std::vector<Database>& databases = catalogue_.databases();
  if (databases.empty()) return out->status(554, "no databases present");
  out->status(110, count(databases.size(), "database", "databases") + " present");
  for (const Database& d : databases) out->textLine(d.name + " " + quotedWord(d.description));
  out->textEnd();
  out->status(250, "ok");
}

void Session::showStrategies(Response* out) const {
  out->status(111, count(std::size(match::kStrategies), "strategy", "strategies") + " available");
  for (const match::StrategyInfo& info : match::kStrategies)
    out->textLine(std::string(info.name) + " " + quotedWord(info.description));
  out->textEnd();
  out->status(250, "ok");
}

void Session::showInfo(const std::string& name, Response* out) {
  const int index = catalogue_.find(name);
  if (index < 0) return out->status(550, kInvalidDatabase);
  const Database& database = catalogue_.databases()[size_t(index)];
  std::string problem;
  const OpenDictionary* dict = dictionaries_.get(size_t(index), &problem);
  if (dict == nullptr) return out->status(550, database.name + " cannot be opened: " + problem);
  out->status(112, "database information follows");
  out->text("Database: " + database.name + "\nDescription: " + database.description +
            "\nDictionary id: " + formatDictId(database.dictId) +
            "\nEntries: " + std::to_string(dicGetWordCount(dict->get())) +
            "\nLibrary version: " + formatLibraryVersion(dicGetVersion()) + "\n");
  out->status(250, "ok");
}

void Session::showServer(Response* out) const {
  const auto up = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::steady_clock::now() - status_.started);
  out->status(114, "server information follows");
  out->text("orviadic serve on " + status_.host + ", library version " +
            formatLibraryVersion(dicGetVersion()) + "\nUp " + std::to_string(up.count()) + " s, " +
            count(status_.connections, "connection", "connections") + " served, " +
            std::to_string(status_.open) + " open\n" +
            count(catalogue_.databases().size(), "database", "databases") +
            "; MATCH gives at most " + std::to_string(status_.maxMatches) + " words a database\n");
  out->status(250, "ok");
}

void Session::status(Response* out) const {
  const auto up = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::steady_clock::now() - status_.started);
  out->status(210, "status up " + std::to_string(up.count()) + " s, " +
                       count(status_.connections, "connection", "connections") + ", " +
                       std::to_string(status_.open) + " open, " +
                       count(status_.commands, "command", "commands"));
}

void Session::help(Response* out) const {
  out->status(113, "help text follows");
  for (const char* line : kHelp) out->textLine(line);
  out->textEnd();
  out->status(250, "ok");
}

}  // namespace orviadic::serve
