// The progress callback of the dataset loaders.
#pragma once

#include <functional>

namespace kv {

// Told the number of records read so far while a loader reads its source
// (every 1,024 records and once at the end, with the total).  An empty
// function is never called.
using TLoadProgress = std::function<void(int ARecordsRead)>;

// How often a loader reports: after every this many records.
constexpr int LoadProgressStep = 1024;

}  // namespace kv
