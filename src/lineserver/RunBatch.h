#pragma once
#include <string>
#include <vector>

#include "base/Result.h"
#include "records/RunRecord.h"

namespace tavlin::lineserver {

class ServerLink;

// Writes `runs` to the server in one statement, inside the caller's transaction: a run the
// server has already (by its UUID) is left as it is, details included, so a batch sent again
// after a lost answer stores nothing twice. *stored counts the runs that were new.
Result InsertRuns(ServerLink& link, const std::vector<RunRecord>& runs, int* stored);

}  // namespace tavlin::lineserver
