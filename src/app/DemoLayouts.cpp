// The texts of the demo's layout files and their writing.
#include "app/DemoLayouts.h"

#include "platform/Streams.h"

namespace kv::app {

const char* const DemoOrdersLayout = R"({
  "view": "banded",
  "options": {
    "header": true,
    "bandHeaders": true,
    "footer": true,
    "groupByBox": true,
    "groupFooters": "invisible",
    "gridLines": "both",
    "gridLineColor": "#A6A6A6"
  },
  "styles": {
    "band":    { "color": "#1F4E79", "textColor": "#FFFFFF", "font": { "name": "黑体", "size": 11, "bold": true } },
    "header":  { "color": "#DDEBF7", "textColor": "#1F4E79", "font": { "name": "宋体", "size": 9, "bold": true } },
    "content": { "color": "#FFFFFF", "textColor": "#000000", "font": { "name": "宋体", "size": 9 } },
    "group":   { "color": "#FFF2CC", "textColor": "#7F6000", "font": { "name": "宋体", "size": 9, "bold": true } },
    "footer":  { "color": "#E2EFDA", "textColor": "#375623", "font": { "name": "宋体", "size": 9, "bold": true } },
    "money":   { "color": "#FFFFFF", "textColor": "#C00000", "font": { "name": "宋体", "size": 9 } }
  },
  "viewStyles": {
    "bandHeader": "band",
    "header": "header",
    "content": "content",
    "group": "group",
    "footer": "footer"
  },
  "bands": [
    { "name": "order", "caption": "订单" },
    { "name": "goods", "caption": "商品与金额" }
  ],
  "columns": [
    { "field": "city", "caption": "城市", "band": "order", "width": 70, "visible": false, "groupIndex": 0 },
    { "field": "order_no", "caption": "订单号", "band": "order", "width": 100 },
    { "field": "order_date", "caption": "下单日期", "band": "order", "width": 80 },
    { "field": "customer", "caption": "客户", "band": "order", "width": 70 },
    { "field": "product", "caption": "商品", "band": "goods", "width": 150 },
    { "field": "qty", "caption": "数量", "band": "goods", "width": 50 },
    { "field": "unit_price", "caption": "单价", "band": "goods", "width": 90,
      "editor": { "kind": "currency", "displayFormat": "￥,0.00;-￥,0.00" } },
    { "field": "amount", "caption": "金额", "band": "goods", "width": 100,
      "editor": { "kind": "currency", "displayFormat": "￥,0.00;-￥,0.00" },
      "styles": { "content": "money" } }
  ],
  "summaries": {
    "footer": [
      { "column": "order_no", "kind": "count", "format": "共 0 笔" },
      { "column": "qty", "kind": "sum", "format": "0" },
      { "column": "amount", "kind": "sum", "format": "合计 ￥,0.00" }
    ],
    "group": [
      { "column": "order_no", "kind": "count", "format": "0 笔" },
      { "column": "amount", "kind": "sum", "format": "小计 ￥,0.00" }
    ]
  }
}
)";

const char* const DemoOrderLinesLayout = R"({
  "view": "banded",
  "options": {
    "header": true,
    "bandHeaders": true,
    "gridLines": "both",
    "gridLineColor": "#A6A6A6"
  },
  "styles": {
    "band":    { "color": "#385723", "textColor": "#FFFFFF", "font": { "name": "黑体", "size": 11, "bold": true } },
    "header":  { "color": "#E2EFDA", "textColor": "#385723", "font": { "name": "宋体", "size": 9, "bold": true } },
    "content": { "color": "#FFFFFF", "textColor": "#000000", "font": { "name": "宋体", "size": 9 } },
    "money":   { "color": "#FFFFFF", "textColor": "#C00000", "font": { "name": "宋体", "size": 9, "bold": true } }
  },
  "viewStyles": { "bandHeader": "band", "header": "header", "content": "content" },
  "bands": [
    { "name": "order", "caption": "订单" },
    { "name": "sum", "caption": "金额" }
  ],
  "columns": [
    { "field": "order_no", "caption": "订单号", "band": "order", "width": 100 },
    { "field": "order_date", "caption": "下单日期", "band": "order", "width": 80 },
    { "field": "customer", "caption": "客户", "band": "order", "width": 70 },
    { "field": "city", "caption": "城市", "band": "order", "width": 70 },
    { "field": "lines", "caption": "行数", "band": "sum", "width": 40 },
    { "field": "total", "caption": "订单金额", "band": "sum", "width": 110,
      "editor": { "kind": "currency", "displayFormat": "￥,0.00;-￥,0.00" },
      "styles": { "content": "money" } }
  ],
  "detail": {
    "query": "SELECT l.order_no, l.line_no, p.picture, l.product, l.quantity, l.unit_price, l.amount FROM order_lines l JOIN products p ON p.id = l.product_id WHERE l.order_no IN (SELECT order_no FROM recent_orders) ORDER BY l.order_no, l.line_no",
    "masterKey": "order_no",
    "detailKey": "order_no",
    "caption": "订单明细",
    "layout": {
      "view": "table",
      "options": { "header": true, "gridLines": "both", "gridLineColor": "#C0C0C0", "dataRowHeight": 36 },
      "styles": {
        "header":  { "color": "#F2F2F2", "textColor": "#385723", "font": { "name": "宋体", "size": 9, "bold": true } },
        "content": { "color": "#FFFFFF", "textColor": "#000000", "font": { "name": "宋体", "size": 9 } }
      },
      "viewStyles": { "header": "header", "content": "content" },
      "columns": [
        { "field": "line_no", "caption": "行号", "width": 40 },
        { "field": "picture", "caption": "图片", "width": 44, "editor": { "kind": "image" } },
        { "field": "product", "caption": "商品", "width": 150 },
        { "field": "quantity", "caption": "数量", "width": 50 },
        { "field": "unit_price", "caption": "单价", "width": 90,
          "editor": { "kind": "currency", "displayFormat": "￥,0.00;-￥,0.00" } },
        { "field": "amount", "caption": "金额", "width": 100,
          "editor": { "kind": "currency", "displayFormat": "￥,0.00;-￥,0.00" } }
      ]
    }
  }
}
)";

void WriteDemoLayout(const std::string& AFileName, const char* ALayout) {
  TFileStream file(AFileName, fmCreate);
  file.WriteString(ALayout);
}

}  // namespace kv::app
