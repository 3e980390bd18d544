#pragma once
#include <string>

namespace tavlin::lineserver {

// The line's server as a person may see it: the connection string or URI rebuilt from its parts
// without the password, so a log, a JSON object or a message never carries it. A text libpq
// cannot read is shown as a placeholder, not echoed: it may hold a password all the same.
std::string ServerForPeople(const std::string& connection);

// Whether libpq can read `connection`. libpq's own reason is not given: it quotes the text.
bool ReadableServer(const std::string& connection);

}  // namespace tavlin::lineserver
