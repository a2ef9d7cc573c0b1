// orviadic serve over loopback, started as a child process on a free port: the protocol
// cases of tests/data/serve/protocol.txt over GCIDE and data/words.tsv, and a server that
// keeps answering one client while 200 hostile ones, from another process, try to wear
// it down.
#include <netinet/in.h>
#include <regex.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/golden.h"
#include "support/temp_dir.h"

namespace orvia::testing {
namespace {

using Clock = std::chrono::steady_clock;

// A connection to the server with a line reader; every read gives up after 10 s, so that
// a server that fails to answer fails the test instead of hanging it.
class Client {
 public:
  explicit Client(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(uint16_t(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const timeval limit{10, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    // A client that cannot connect reads the end of the connection at once.
    (void)!connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to);
  }
  ~Client() { close(fd_); }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  // flags: MSG_DONTWAIT for a client that must not wait for a server that stopped reading.
  void send(const std::string& bytes, int flags = 0) {
    (void)!::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | flags);
  }
  // The next line without its CR LF; false at the end of the connection. A line that
  // does not end in CR LF or is over 1,024 bytes with it fails the test.
  bool readLine(std::string* line) {
    for (;;) {
      const size_t end = buffer_.find("\r\n");
      if (end != std::string::npos) {
        *line = buffer_.substr(0, end);
        buffer_.erase(0, end + 2);
        EXPECT_LE(end + 2, 1024u) << line->substr(0, 80);
        EXPECT_EQ(line->find('\n'), std::string::npos) << "a bare LF in " << *line;
        return true;
      }
      char chunk[4096];
      const ssize_t got = recv(fd_, chunk, sizeof chunk, 0);
      if (got <= 0) {
        EXPECT_EQ(buffer_, "") << "the connection ended inside a line";
        return false;
      }
      buffer_.append(chunk, size_t(got));
    }
  }
  // A client that waited past the limit of its server's clients is turned away; one turned
  // away while the server still counts the connections just closed tries again.
  static std::unique_ptr<Client> greeted(int port, const std::string& expected) {
    for (int attempt = 0;; ++attempt) {
      auto client = std::make_unique<Client>(port);
      std::string banner;
      if (!client->readLine(&banner)) return client;
      if (banner.rfind("420 ", 0) != 0 || expected == "420" || attempt == 200) {
        EXPECT_EQ(banner.substr(0, 3), expected) << banner;
        return client;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

 private:
  int fd_;
  std::string buffer_;
};

// orviadic serve on a free loopback port, stopped by SIGTERM when the test is done. The
// shell says its process id, then execs the server in that process.
class Server {
 public:
  explicit Server(const std::vector<std::string>& arguments, const std::string& pidFile) {
    std::string command = "echo $$; exec " ORVIADIC_TOOL " serve --port 0 --pid-file " + pidFile;
    for (const std::string& a : arguments) command += " '" + a + "'";
    output_ = popen(command.c_str(), "r");
    char line[256] = "";
    if (output_ == nullptr || std::fscanf(output_, "%d ", &pid_) != 1 ||
        !std::fgets(line, sizeof line, output_))
      return;
    EXPECT_EQ(std::sscanf(line, "listening on 127.0.0.1:%d", &port_), 1) << line;
    int written = 0;
    std::ifstream(pidFile) >> written;
    EXPECT_EQ(written, pid_) << "the pid file";
  }
  ~Server() {
    if (pid_ > 0) stop();
  }

  int port() const { return port_; }
  // SIGTERM, then the exit status; -1 when the server did not exit by itself.
  int stop() {
    kill(pid_, SIGTERM);
    const int status = pclose(output_);
    pid_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = 0;
  int port_ = 0;
  FILE* output_ = nullptr;
};

// Whether text holds a match of the POSIX extended regular expression pattern.
bool matches(const std::string& text, const std::string& pattern) {
  regex_t compiled;
  if (regcomp(&compiled, pattern.c_str(), REG_EXTENDED | REG_NOSUB) != 0) {
    ADD_FAILURE() << "the pattern does not compile: " << pattern;
    return false;
  }
  const bool found = regexec(&compiled, text.c_str(), 0, nullptr, 0) == 0;
  regfree(&compiled);
  return found;
}

class ServeTest : public ::testing::Test {
 protected:
  static constexpr char kWords[] = "--db=words=0x00020101:Test words";

  static void SetUpTestSuite() {
    folder_ = new TempDir();
    setenv("ORVIADIC_REGISTRY_DIR", (folder_->path() + "/registry").c_str(), 1);
    const std::string source = ORVIADIC_SOURCE_DIR;
    compiled_ = install("tsv " + source + "/data/words.tsv", "0x00020101", "words") &&
                install("tsv " + source + "/tests/data/serve/texts.tsv", "0x00030101", "texts");
    gcide_ = access("/usr/share/dictd/gcide.index", R_OK) == 0 &&
             install("dictd /usr/share/dictd/gcide --name gcide", "0x00010101", "gcide");
  }
  static void TearDownTestSuite() { delete folder_; }
  void SetUp() override { ASSERT_TRUE(compiled_) << "the word list did not compile"; }

  // Compiles from (the compile command's --from and options) as id into the test's folder
  // name, and installs the result in the test's registry.
  static bool install(const std::string& from, const char* id, const std::string& name) {
    const std::string tool = ORVIADIC_TOOL, out = folder_->path() + "/" + name;
    return std::system((tool + " compile --from " + from + " --id " + id + " --out " + out +
                        " >/dev/null && " + tool + " install " + out + " >/dev/null")
                           .c_str()) == 0;
  }
  std::string pidFile() const { return folder_->path() + "/serve.pid"; }

  static inline TempDir* folder_ = nullptr;
  static inline bool compiled_ = false, gcide_ = false;
};

// The expectations of one case, a line each: "< text" the next line exactly, "<~ regex"
// the next line matching, "<* regex" lines skipped up to one matching, "<EOF" the end of
// the connection. "> text" sends a line with CR LF, ">> bytes" the bytes alone, in the
// golden-file syntax.
void runCase(Client& client, const std::vector<std::string>& lines) {
  std::string got;
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    const std::string op = line.substr(0, line.find(' '));
    const std::string arg = op.size() < line.size() ? line.substr(op.size() + 1) : "";
    std::string bytes;
    if (op == ">") {
      client.send(arg + "\r\n");
    } else if (op == ">>") {
      ASSERT_TRUE(parseGolden(arg, bytes));
      client.send(bytes);
    } else if (line == "<EOF") {
      EXPECT_FALSE(client.readLine(&got)) << got;
    } else if (op == "<*") {
      bool found = false;
      while (!found && client.readLine(&got)) found = matches(got, arg);
      ASSERT_TRUE(found);
    } else {
      ASSERT_TRUE(client.readLine(&got));
      if (op == "<~")
        EXPECT_TRUE(matches(got, arg)) << got;
      else
        EXPECT_EQ(got, arg);
    }
  }
}

// The cases of the table, each on a connection of its own: "== name [hold N]" starts
// one, first holding N connections open beside it.
TEST_F(ServeTest, ProtocolCases) {
  if (!gcide_) GTEST_SKIP() << "the dict-gcide package is not installed";
  Server server({"--db=gcide=0x00010101:GCIDE", kWords, "--db=texts=0x00030101", "--threads", "2",
                 "--max-clients", "3", "--max-matches", "5", "--idle-timeout", "2"},
                pidFile());
  ASSERT_NE(server.port(), 0);
  std::ifstream table(std::string(ORVIADIC_SOURCE_DIR) + "/tests/data/serve/protocol.txt");
  ASSERT_TRUE(table.good());
  std::vector<std::pair<std::string, std::vector<std::string>>> cases;
  for (std::string line; std::getline(table, line);) {
    if (line.rfind("== ", 0) == 0)
      cases.push_back({line, {}});
    else if (!line.empty() && line[0] != '#')
      cases.back().second.push_back(line);
  }
  for (const auto& [title, lines] : cases) {
    SCOPED_TRACE(title);
    const size_t hold = title.find(" hold ");
    std::vector<std::unique_ptr<Client>> held;
    for (int i = 0; hold != std::string::npos && i < std::atoi(&title[hold + 6]); ++i)
      held.push_back(Client::greeted(server.port(), "220"));
    const auto client = Client::greeted(server.port(), held.empty() ? "220" : "420");
    runCase(*client, lines);
  }
}

// The hostile clients, in a process of their own: a quarter never read what they ask
// for, a quarter send a byte a second, a quarter send lines without end, a quarter NUL
// bytes; each goes on until the server drops it or the time is up.
void wearDown(int port, Clock::time_point until) {
  signal(SIGPIPE, SIG_IGN);
  std::vector<std::unique_ptr<Client>> hostile;
  for (int i = 0; i < 200; ++i) hostile.push_back(std::make_unique<Client>(port));
  const std::string kinds[] = {"", "HELP\r\nSHOW DB\r\n", std::string(4096, 'a'),
                               std::string("DEF\0INE\r\n", 9)};
  for (int second = 0; Clock::now() < until; ++second) {
    for (size_t i = 0; i < hostile.size(); ++i) {
      const int kind = int(i % 4);
      if (kind == 0)
        hostile[i]->send(std::string(1, "DEFINE words bank\r\n"[second % 19]), MSG_DONTWAIT);
      else
        for (int n = 0; n < 64; ++n) hostile[i]->send(kinds[kind], MSG_DONTWAIT);
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  _exit(0);
}

TEST_F(ServeTest, AnswersWhileHostileClientsWearItDown) {
  Server server({kWords, "--threads", "2", "--max-clients", "260", "--idle-timeout", "2"},
                pidFile());
  ASSERT_NE(server.port(), 0);
  const Clock::time_point until = Clock::now() + std::chrono::seconds(8);
  const pid_t hostile = fork();
  if (hostile == 0) wearDown(server.port(), until);
  int answered = 0;
  while (Clock::now() < until) {
    const auto client = Client::greeted(server.port(), "220");
    runCase(*client, {"> DEFINE words bank", "< 150 3 definitions retrieved", "<* ^250 ok",
                      "> QUIT", "< 221 bye", "<EOF"});
    if (HasFailure()) break;
    ++answered;
  }
  waitpid(hostile, nullptr, 0);
  EXPECT_GT(answered, 0);
  // The server goes on, and says 421 to its clients when it is stopped.
  const auto last = Client::greeted(server.port(), "220");
  runCase(*last, {"> STATUS", "<~ ^210 "});
  const int exit = server.stop();
  runCase(*last, {"<~ ^421 ", "<EOF"});
  EXPECT_EQ(exit, 0);
}

}  // namespace
}  // namespace orvia::testing
