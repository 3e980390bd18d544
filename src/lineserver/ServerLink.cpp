#include "lineserver/ServerLink.h"

#include <libpq-fe.h>
#ifdef _WIN32
#include <winsock2.h>
#else
#include <poll.h>
#endif

#include <algorithm>
#include <cerrno>

namespace tavlin::lineserver {
namespace {

std::string Trimmed(const char* message) {
    std::string text = message == nullptr ? "" : message;
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

Result ServerLink::Connect(const std::string& connection, Clock::time_point deadline,
                           std::unique_ptr<ServerLink>* link) {
    // connect_timeout bounds each address libpq tries; the deadline bounds them all.
    const auto left = std::chrono::duration_cast<std::chrono::seconds>(deadline - Clock::now());
    const std::string timeout = std::to_string(std::max<std::int64_t>(left.count(), 1));
    const char* const keywords[] = {"dbname", "connect_timeout", "fallback_application_name",
                                    nullptr};
    const char* const values[] = {connection.c_str(), timeout.c_str(), "tavlin", nullptr};
    PGconn* raw = PQconnectStartParams(keywords, values, 1);
    if (raw == nullptr) {
        return Result::Fail(ResultCode::Failed, "out of memory for the server connection");
    }
    std::unique_ptr<ServerLink> opened(new ServerLink(raw, deadline));
    if (PQstatus(raw) == CONNECTION_BAD) {
        return opened->Failure("cannot connect");
    }
    for (PostgresPollingStatusType state = PGRES_POLLING_WRITING; state != PGRES_POLLING_OK;
         state = PQconnectPoll(raw)) {
        if (state == PGRES_POLLING_FAILED) {
            return opened->Failure("cannot connect");
        }
        if (Result ready = opened->Wait(state == PGRES_POLLING_WRITING); !ready) {
            return ready;
        }
    }
    if (PQsetnonblocking(raw, 1) != 0) {
        return opened->Failure("cannot connect");
    }
    *link = std::move(opened);
    return Result::Ok();
}

ServerLink::~ServerLink() {
    // A transaction left open ends with the connection: the server rolls it back.
    PQfinish(connection_);
}

Result ServerLink::Wait(bool forWriting) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
        if (left.count() <= 0) {
            return Result::Fail(ResultCode::Timeout, "the server did not answer in time");
        }
        const int fd = PQsocket(connection_);
        if (fd < 0) {
            return Failure("the connection is gone");
        }
        const int sliceMs = static_cast<int>(std::min<std::int64_t>(left.count(), 1000));
        const short events = static_cast<short>(POLLIN | (forWriting ? POLLOUT : 0));
#ifdef _WIN32
        // libpq hands Windows' SOCKET out as an int.
        WSAPOLLFD socket{static_cast<SOCKET>(fd), events, 0};
        const int ready = WSAPoll(&socket, 1, sliceMs);
        const bool interrupted = false;
#else
        pollfd socket{fd, events, 0};
        const int ready = poll(&socket, 1, sliceMs);
        const bool interrupted = ready < 0 && errno == EINTR;
#endif
        if (ready > 0) {
            return Result::Ok();
        }
        if (ready < 0 && !interrupted) {
            return Result::Fail(ResultCode::IoError, "waiting for the server failed");
        }
    }
}

Result ServerLink::Execute(const std::string& sql, const std::vector<std::string>& parameters,
                           std::vector<std::string>* column) {
    std::vector<const char*> values;
    for (const std::string& parameter : parameters) {
        values.push_back(parameter.c_str());
    }
    const int sent =
        parameters.empty()
            ? PQsendQuery(connection_, sql.c_str())
            : PQsendQueryParams(connection_, sql.c_str(), static_cast<int>(values.size()), nullptr,
                                values.data(), nullptr, nullptr, 0);
    if (sent == 0) {
        return Failure("cannot send to the server");
    }
    for (int flushed; (flushed = PQflush(connection_)) != 0;) {
        if (flushed < 0) {
            return Failure("cannot send to the server");
        }
        if (Result ready = Wait(true); !ready) {
            return ready;
        }
        if (PQconsumeInput(connection_) == 0) {
            return Failure("the server went away");
        }
    }
    Result outcome = Result::Ok();
    for (;;) {
        while (PQisBusy(connection_) != 0) {
            if (Result ready = Wait(false); !ready) {
                return ready;
            }
            if (PQconsumeInput(connection_) == 0) {
                return Failure("the server went away");
            }
        }
        PGresult* result = PQgetResult(connection_);
        if (result == nullptr) {
            return outcome;
        }
        const ExecStatusType status = PQresultStatus(result);
        if (status == PGRES_TUPLES_OK && column != nullptr) {
            column->clear();
            for (int row = 0; row < PQntuples(result); ++row) {
                column->push_back(PQgetvalue(result, row, 0));
            }
        } else if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && outcome) {
            outcome = Result::Fail(ResultCode::Failed, Trimmed(PQresultErrorMessage(result)));
        }
        PQclear(result);
    }
}

Result ServerLink::Failure(const std::string& what) const {
    const std::string message = Trimmed(PQerrorMessage(connection_));
    return Result::Fail(ResultCode::IoError, message.empty() ? what : what + ": " + message);
}

}  // namespace tavlin::lineserver
