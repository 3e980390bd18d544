#pragma once
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "records/RunRecord.h"

namespace tavlin {

// One run as one nested JSON object: the run's fields, "station", "unit", "steps",
// "measurements", "artefacts", "images". Times as ISO-8601 UTC text ("started") and as
// milliseconds ("startedMs"); absent values are null; numbers are numbers.
nlohmann::json RunToJson(const RunRecord& run);

// The runs as a JSON array of RunToJson objects, indented, with a final line feed.
std::string RunsToJsonText(const std::vector<RunRecord>& runs);

// One line per measurement, with a header line:
// run_uuid,started,port,run_outcome,name,value,unit,low,high,outcome
// Fields are quoted as RFC 4180 does where they need it; an absent limit is an empty field.
std::string RunsToCsv(const std::vector<RunRecord>& runs);

}  // namespace tavlin
