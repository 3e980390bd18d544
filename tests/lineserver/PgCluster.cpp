#include "lineserver/PgCluster.h"

#include <libpq-fe.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace tavlin::test {
namespace {

const std::filesystem::path kBin = "/usr/lib/postgresql/15/bin";

bool Shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

}  // namespace

std::unique_ptr<PgCluster> PgCluster::Start(std::string* why) {
    if (!std::filesystem::exists(kBin / "initdb")) {
        *why = "no PostgreSQL 15 in " + kBin.string();
        return nullptr;
    }
    std::string folder = (std::filesystem::temp_directory_path() / "tavlin-pg-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        *why = "cannot make a temporary folder";
        return nullptr;
    }
    std::unique_ptr<PgCluster> cluster(new PgCluster(folder));
    if (geteuid() == 0) {
        const passwd* user = getpwnam("postgres");
        if (user == nullptr || chown(folder.c_str(), user->pw_uid, user->pw_gid) != 0) {
            *why = "running as root and no postgres user to run the server as";
            return nullptr;
        }
    }
    if (!Shell(cluster->Command("initdb", "-D " + folder +
                                              "/data -A trust -U postgres -E UTF8 "
                                              "--locale=C --no-sync >" +
                                              folder + "/initdb.log 2>&1"))) {
        *why = "initdb failed (see " + folder + "/initdb.log)";
        return nullptr;
    }
    if (!cluster->Restart()) {
        *why = "the server did not start (see " + folder + "/server.log)";
        return nullptr;
    }
    return cluster;
}

PgCluster::~PgCluster() {
    if (running_) {
        Stop("immediate");
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string PgCluster::Command(const std::string& program, const std::string& arguments) const {
    const std::string as = geteuid() == 0 ? "runuser -u postgres -- " : "";
    return as + (kBin / program).string() + " " + arguments;
}

std::string PgCluster::Connection(const std::string& name) const {
    return "host=" + folder_ + " port=5432 user=postgres dbname=" + name;
}

std::string PgCluster::EmptyServer() {
    Rows(Connection("postgres"),
         "SET client_min_messages = warning; DROP SCHEMA IF EXISTS tavlin CASCADE");
    return Connection("postgres");
}

bool PgCluster::Stop(const std::string& mode) {
    running_ = false;
    return Shell(Command("pg_ctl", "-D " + folder_ + "/data -m " + mode + " -w stop >/dev/null"));
}

bool PgCluster::Restart() {
    const std::string options = "-c listen_addresses='' -c unix_socket_directories='" + folder_ +
                                "' -c port=5432 -c fsync=off -c full_page_writes=off";
    running_ =
        Shell(Command("pg_ctl", "-D " + folder_ + "/data -l " + folder_ + "/server.log -w -o \"" +
                                    options + "\" start >/dev/null"));
    return running_;
}

std::vector<std::vector<std::string>> PgCluster::Rows(const std::string& server,
                                                      const std::string& sql) const {
    std::vector<std::vector<std::string>> rows;
    PGconn* connection = PQconnectdb(server.c_str());
    PGresult* result = PQexec(connection, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        const std::string error = sql + ": " + PQerrorMessage(connection);
        PQclear(result);
        PQfinish(connection);
        throw std::runtime_error(error);
    }
    for (int row = 0; row < PQntuples(result); ++row) {
        std::vector<std::string> line;
        for (int column = 0; column < PQnfields(result); ++column) {
            line.push_back(PQgetisnull(result, row, column) ? "NULL"
                                                            : PQgetvalue(result, row, column));
        }
        rows.push_back(std::move(line));
    }
    PQclear(result);
    PQfinish(connection);
    return rows;
}

}  // namespace tavlin::test
