// orviadic serve: the installed dictionaries to DICT clients over the network.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli.h"
#include "open_dictionary.h"
#include "serve/catalogue.h"
#include "serve/server.h"

namespace orviadic {
namespace {

struct ServeArguments {
  serve::ServeOptions options;
  std::string config;
  std::vector<std::string> databases;
};

constexpr char kServeHelp[] =
    R"(Databases: each --db, else each line of --config, else every installed
dictionary, named by its name or its eight hex digits. A database also answers to its
dictionary's eight hex digits. A config line is NAME DICTID DESCRIPTION; "#" starts a comment.

Commands: DEFINE db word, MATCH db strategy word, SHOW DB|DATABASES, SHOW STRAT|STRATEGIES,
SHOW INFO db, SHOW SERVER, STATUS, HELP, CLIENT text, OPTION MIME, QUIT; AUTH and SASLAUTH
give 502. A db of "*" means every database, "!" the first with a match. Arguments may be
quoted with " or ', and \ takes the next character as it is.

DEFINE gives every entry whose headword is the word, case aside (homographs and case
variants; accent variants only through MATCH), never a neighbour's. Strategies: exact (the
headwords DEFINE gives), prefix, nearest (the default, "."), substring, suffix, regexp, lev,
soundex; MATCH gives at most --max-matches words a database.

Text is UTF-8: words are converted into each dictionary's code page, entries shown as lookup
shows them, lines within 1,024 bytes (longer ones wrap).

Limits: a command line over 1,024 bytes gets 500 (1 MiB without a line end closes the
connection); NUL bytes get 500; a bare LF ends a line. A connection that completes no command
and leaves its output unread for --idle-timeout gets 421. Past --max-clients a client gets
420. SIGINT or SIGTERM send 421 to every connection, and the server exits 0.
)";

void serveCommand(const ServeArguments& args) {
  serve::Catalogue catalogue;
  std::vector<serve::Database> named;
  for (const std::string& option : args.databases)
    named.push_back(serve::databaseFromOption(option));
  if (named.empty() && !args.config.empty()) named = serve::databasesFromFile(args.config);
  const bool installed = named.empty();
  if (installed) named = serve::installedDatabases();
  for (serve::Database& database : named) {
    // Each database is opened once here, so that one named by mistake stops the server
    // before it listens; an installed one that cannot be opened is left out.
    try {
      OpenDictionary check(database.dictId);
    } catch (const CommandFailure& failure) {
      if (!installed) throw CommandFailure{kExitError, database.name + ": " + failure.reason};
      std::fprintf(stderr, "orviadic: %s is left out: %s\n", database.name.c_str(),
                   failure.reason.c_str());
      continue;
    }
    // The tool's own dictionary layer, which says why a read fails, is loaded here: the
    // workers would otherwise race to load it.
    indexPathOf(database.dictId);
    catalogue.add(std::move(database));
  }
  if (catalogue.databases().empty())
    std::fprintf(stderr, "orviadic: no database to serve; SHOW DB answers 554\n");
  serve::runServer(args.options, catalogue);
}

}  // namespace

void addServeCommand(CLI::App& app, const GlobalOptions&) {
  auto args = std::make_shared<ServeArguments>();
  serve::ServeOptions& o = args->options;
  CLI::App* command =
      app.add_subcommand("serve", "Serve dictionaries to DICT protocol clients (such as dict)");
  command->footer(kServeHelp);
  command->add_option("--listen", o.listen, "Address to listen on (default 127.0.0.1)");
  command->add_option("--port", o.port, "Port (default 2628; 0 takes a free one)");
  command->add_option("--config", args->config, "File of databases, one a line");
  command->add_option("--db", args->databases, "A database: NAME=DICTID[:DESCRIPTION]")
      ->type_name("NAME=DICTID[:DESCRIPTION]");
  command->add_option("--threads", o.threads, "Worker threads (default one a core)")
      ->check(CLI::Range(1u, 1024u));
  command->add_option("--max-clients", o.maxClients, "Connections served at once (default 64)")
      ->check(CLI::Range(1u, 100000u));
  command
      ->add_option("--max-matches", o.maxMatches,
                   "Words MATCH gives a database at most (default 1000)")
      ->check(CLI::Range(1u, 1000000u));
  command
      ->add_option("--idle-timeout", o.idleTimeout,
                   "Seconds a connection may stay idle (default 300)")
      ->check(CLI::Range(0.001, 86400.0));
  command->add_option("--pid-file", o.pidFile, "Write the server's process id here");
  command->callback([args] { serveCommand(*args); });
}

}  // namespace orviadic
