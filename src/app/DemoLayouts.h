// The demo's layout files: worked examples of the layout format
// (docs/layout.md) that the demo writes beside its exports and then uses, as
// `kvpublic export --layout` would.
#pragma once

#include <string>

namespace kv::app {

// The orders as a banded view: two bands ("订单", "商品与金额"), grouped by
// city, with group and footer summaries and styles of its own.
extern const char* const DemoOrdersLayout;
// The recent orders (view recent_orders) as masters with their order lines
// and product pictures as a detail level.
extern const char* const DemoOrderLinesLayout;

// Writes a layout text to AFileName (UTF-8, replacing an earlier file);
// raises a stream error when the file cannot be written.
void WriteDemoLayout(const std::string& AFileName, const char* ALayout);

}  // namespace kv::app
