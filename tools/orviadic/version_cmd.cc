// orviadic version: the library's file version, as dicGetVersion reports it.
#include <cstdio>

#include "cli.h"
#include "orviadic.h"

namespace orviadic {

void addVersionCommand(CLI::App& app, const GlobalOptions& options) {
  app.add_subcommand("version", "Print the library's file version")->callback([&options] {
    const uint32_t packed = dicGetVersion();
    if (packed == 0) throw CommandFailure{kExitError, "the library reports no version"};
    const std::string text = formatLibraryVersion(packed);
    if (options.json) {
      Json reply = jsonReply();
      reply["version"] = text;
      reply["packed"] = packed;
      printJson(reply);
    } else {
      std::printf("OrviaDic %s\n", text.c_str());
    }
  });
}

}  // namespace orviadic
