// orviadic version: the library's file version, as dicGetVersion reports it.
#include <cstdio>

#include "cli.h"
#include "orviadic.h"

namespace orviadic {

void addVersionCommand(CLI::App& app, const GlobalOptions& options) {
  app.add_subcommand("version", "Print the library's file version")->callback([&options] {
    uint32_t packed = dicGetVersion();
    if (packed == 0) throw CommandFailure{kExitError, "the library reports no version"};
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", packed >> 24, (packed >> 16) & 0xFF,
                  (packed >> 8) & 0xFF, packed & 0xFF);
    if (options.json) {
      Json reply = jsonReply();
      reply["version"] = text;
      reply["packed"] = packed;
      printJson(reply);
    } else {
      std::printf("OrviaDic %s\n", text);
    }
  });
}

}  // namespace orviadic
