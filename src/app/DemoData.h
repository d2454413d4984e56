// `kvpublic demo`: the embedded sample database and the demo exports.
//
// The sample is an SQLite database "shop.db" made by a deterministic generator
// (the same rows on every machine and run):
// - "orders": a few thousand orders with Chinese customer names, cities,
//   products and notes, integers of three sizes, prices and amounts, a
//   discount rate, order dates, shipping date-times, a paid flag and a long
//   remark (a memo);
// - "products": the products with their prices and a small picture each
//   (a 24-bit BMP in an IMAGE column);
// - "order_lines": one to four lines per order (the order's own product and
//   quantity first), with product, quantity, unit price and amount;
// - the view "recent_orders": the first orders with their line count and total.
#pragma once

#include <string>

namespace kv::app {

constexpr int DemoOrderCount = 3000;
constexpr int DemoProductCount = 18;
// The orders of the view recent_orders, which the master-detail export shows.
constexpr int DemoRecentOrderCount = 150;

// Creates (or re-creates) the sample database at APath with ARows orders.
// Raises Exception when the file cannot be written.
void CreateDemoDatabase(const std::string& APath, int ARows = DemoOrderCount);

// The number of rows of a table or view of the database at APath; raises
// Exception when it cannot be read.
int DemoTableRows(const std::string& APath, const std::string& ATable);

// Creates ADir (with its parents), the sample database and the demo's layout
// files in it, then exports through the library's entry points, as
// `kvpublic export` does: the orders table to dBASE (ConvertToDBF), to a
// workbook, a text file, a page and an XML document with the orders layout,
// and the recent orders with their lines and product pictures to a page and
// an XML document with the master-detail layout.  Files of an earlier run are
// replaced.  Writes one line per written file to stdout and returns the exit
// code of the first export that did not write (ExitWritten when all did).
int RunDemo(const std::string& ADir);

}  // namespace kv::app
