#pragma once
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "base/Result.h"

typedef struct pg_conn PGconn;

namespace tavlin::lineserver {

// One connection to the line's server, every wait on it bounded by one deadline: a server that
// is down, slow or gone in the middle of a statement costs the caller that much time at most.
// A failure's reason is libpq's or the server's message (never the password: libpq does not
// quote it).
class ServerLink {
  public:
    using Clock = std::chrono::steady_clock;

    // Connects to `connection` (a libpq connection string or URI) before `deadline`.
    static Result Connect(const std::string& connection, Clock::time_point deadline,
                          std::unique_ptr<ServerLink>* link);
    ~ServerLink();
    ServerLink(const ServerLink&) = delete;
    ServerLink& operator=(const ServerLink&) = delete;

    // Runs `sql` (several statements where there are no parameters) with text parameters $1…;
    // the first column of each row the last statement returned goes into *column.
    Result Execute(const std::string& sql, const std::vector<std::string>& parameters = {},
                   std::vector<std::string>* column = nullptr);

  private:
    ServerLink(PGconn* connection, Clock::time_point deadline)
        : connection_(connection), deadline_(deadline) {}
    // Waits until the socket is readable (or writable too) or the deadline has passed.
    Result Wait(bool forWriting);
    Result Failure(const std::string& what) const;

    PGconn* connection_;
    Clock::time_point deadline_;
};

}  // namespace tavlin::lineserver
