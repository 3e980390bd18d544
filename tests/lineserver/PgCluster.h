#pragma once
#include <memory>
#include <string>
#include <vector>

namespace tavlin::test {

// A throwaway PostgreSQL 15 cluster for tests and benchmarks: initdb into a temporary folder,
// served on a Unix socket in that folder only (no TCP), fsync off; stopped and removed with the
// object. As root the server runs as the `postgres` user, since PostgreSQL refuses root.
class PgCluster {
  public:
    // Exit status of a test program that finds no PostgreSQL to test with (ctest's
    // SKIP_RETURN_CODE).
    static constexpr int kSkipped = 77;

    // nullptr with the reason where PostgreSQL is not installed or the cluster does not start.
    static std::unique_ptr<PgCluster> Start(std::string* why);
    ~PgCluster();
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    // A libpq connection string to database `name` as the cluster's superuser.
    std::string Connection(const std::string& name) const;
    // The connection string of the cluster's one database for the line, emptied of the
    // tables a case before left there (faster than a database of its own per case).
    std::string EmptyServer();

    // `mode`: "fast" or "immediate" (the server's processes killed, as in a crash).
    bool Stop(const std::string& mode);
    bool Restart();

    // Runs `sql` on the database `connection` names: its rows, NULL as "NULL". Throws
    // std::runtime_error with the server's message on an error.
    std::vector<std::vector<std::string>> Rows(const std::string& connection,
                                               const std::string& sql) const;

  private:
    explicit PgCluster(std::string folder) : folder_(std::move(folder)) {}
    // A program of the server's bin folder, as the user the server runs as.
    std::string Command(const std::string& program, const std::string& arguments) const;

    std::string folder_;
    bool running_ = false;
};

}  // namespace tavlin::test
