// `kvpublic demo`: the embedded sample database and the demo export.
//
// The sample is an SQLite database "shop.db" with one table "orders": a few
// thousand orders made by a deterministic generator (the same rows on every
// machine and run), with Chinese customer names, cities, products and notes,
// integers of three sizes, prices and amounts, a discount rate, order dates,
// shipping date-times, a paid flag and a long remark (a memo).
#pragma once

#include <string>

namespace kv::app {

constexpr int DemoOrderCount = 3000;

// Creates (or re-creates) the sample database at APath with ARows orders.
// Raises Exception when the file cannot be written.
void CreateDemoDatabase(const std::string& APath, int ARows = DemoOrderCount);

// Creates ADir (with its parents) and the sample database in it, then exports
// the orders table to ADir/orders.dbf (and its memo file) through the
// library's ConvertToDBF, replacing files of an earlier run.  Returns the exit code.
int RunDemo(const std::string& ADir);

}  // namespace kv::app
