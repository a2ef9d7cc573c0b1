// JSON for scripts: every command's --json reply has the same envelope.
#pragma once

#include <nlohmann/json.hpp>

namespace orviadic {

// A reply for scripts: the fields after the version of the reply's shape, raised when a
// field of the command's reply changes shape.
using Json = nlohmann::ordered_json;
Json jsonReply(const Json& fields = Json::object(), int schema = 1);
// The reply on one line of standard output; bytes that are not UTF-8 show as U+FFFD.
void printJson(const Json& reply);

}  // namespace orviadic
