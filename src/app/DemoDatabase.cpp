// The sample database generator: orders, the products with their pictures,
// the order lines, and the view of the first orders with their totals.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "app/DemoData.h"
#include "app/DemoPictures.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/SysUtils.h"

namespace kv::app {

namespace {

// splitmix64: small, fast and the same everywhere.
class TRandom {
 public:
  explicit TRandom(uint64_t ASeed) : FState(ASeed) {}
  uint64_t Next() {
    uint64_t z = (FState += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // From 0 to AUpper - 1.
  int Below(int AUpper) { return static_cast<int>(Next() % static_cast<uint64_t>(AUpper)); }
  bool Chance(int AOneIn) { return Below(AOneIn) == 0; }
  template <class T, size_t N>
  const T& Pick(const T (&AItems)[N]) {
    return AItems[Below(static_cast<int>(N))];
  }

 private:
  uint64_t FState;
};

const char* const Surnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐",   "孙",   "马",  "朱",
                                "胡", "郭", "何", "高", "林", "罗", "郑", "梁", "谢", "宋", "欧阳", "司马", "诸葛"};
const char* const GivenNames[] = {"伟", "芳",   "娜",   "敏",   "静",   "丽",   "强",   "磊",   "军", "洋",
                                  "勇", "艳",   "杰",   "娟",   "涛",   "明",   "超",   "秀英", "霞", "平",
                                  "刚", "桂英", "建国", "晓东", "子涵", "欣怡", "浩然", "雨桐"};
const char* const Cities[] = {"北京", "上海", "广州", "深圳", "杭州", "南京", "成都", "武汉",     "西安",
                              "重庆", "天津", "苏州", "长沙", "郑州", "青岛", "厦门", "乌鲁木齐", "呼和浩特"};
struct TProduct {
  const char* Name;
  int PriceCents;
};
const TProduct Products[] = {{"笔记本电脑 14英寸", 489900}, {"无线鼠标", 8900},         {"机械键盘(青轴)", 32900},
                             {"显示器 27英寸 4K", 219900},  {"打印机墨盒 黑色", 15950}, {"人体工学办公椅", 129900},
                             {"四门钢制文件柜", 86000},     {"家用投影仪", 259900},     {"移动硬盘 2TB", 45900},
                             {"千兆路由器", 19999},         {"碎纸机", 56800},          {"A4复印纸(5包装)", 12500},
                             {"白板笔套装 12支", 2450},     {"会议电话", 99900},        {"USB-C 扩展坞", 27900},
                             {"降噪耳机", 129999},          {"电子签名板", 36500},      {"保险柜(小型)", 158000}};
static_assert(sizeof Products / sizeof Products[0] == DemoProductCount);
const char* const Notes[] = {"请尽快发货",         "周末送货",           "发票抬头：华信科技有限公司",
                             "客户要求分批发货",   "需要上门安装",       "已电话确认",
                             "包装加固，易碎品",   "送货前请联系收货人", "老客户，九五折",
                             "开具增值税专用发票", "货到付款",           "仓库自提"};
const char* const RemarkSentences[] = {"客户对上次的服务非常满意，希望继续合作。",
                                       "收货地址为公司前台，工作日九点至十八点有人签收。",
                                       "如遇缺货，请先电话联系客户确认是否更换型号。",
                                       "本订单参加季度促销活动，赠品随货寄出。",
                                       "客户要求在外包装上注明订单号和部门名称。",
                                       "财务部门要求每月底前提供对账单。",
                                       "产品需提供三年质保，保修卡随货附上。",
                                       "此客户为重点客户，请安排专人跟进售后。",
                                       "上一批货物有一箱外包装破损，本次请加强包装。",
                                       "客户希望下周一之前收到全部货物。",
                                       "Delivery note: leave at reception if nobody answers.",
                                       "备注：价格已含运费和税费。"};

std::string TwoDigits(int AValue) {
  std::string text = std::to_string(AValue);
  if (text.size() < 2) text.insert(0, 1, '0');
  return text;
}

std::string DateText(TDateTime ADate) { return FormatDateTime("yyyy-mm-dd", ADate); }

struct TStatement {
  sqlite3_stmt* Handle = nullptr;
  ~TStatement() { sqlite3_finalize(Handle); }
};

void Check(sqlite3* ADb, int ACode, const std::string& APath) {
  if (ACode != SQLITE_OK && ACode != SQLITE_DONE && ACode != SQLITE_ROW)
    throw Exception("cannot write the sample database \"" + APath + "\": " + sqlite3_errmsg(ADb));
}

void BindText(sqlite3_stmt* AStmt, int AIndex, const std::string& AText) {
  sqlite3_bind_text(AStmt, AIndex, AText.c_str(), static_cast<int>(AText.size()), SQLITE_TRANSIENT);
}

void Exec(sqlite3* ADb, const std::string& ASql, const std::string& APath) {
  Check(ADb, sqlite3_exec(ADb, ASql.c_str(), nullptr, nullptr, nullptr), APath);
}

void Prepare(sqlite3* ADb, const std::string& ASql, TStatement& AStatement, const std::string& APath) {
  Check(ADb, sqlite3_prepare_v2(ADb, ASql.c_str(), -1, &AStatement.Handle, nullptr), APath);
}

// The statement, reset and without bindings, ready for the next row.
sqlite3_stmt* Restart(TStatement& AStatement) {
  sqlite3_reset(AStatement.Handle);
  sqlite3_clear_bindings(AStatement.Handle);
  return AStatement.Handle;
}

// The tables and the view.  Pictures are declared IMAGE so that they load as
// graphic fields, which an image column shows.
std::string SchemaSql() {
  return "CREATE TABLE products ("
         " id INTEGER PRIMARY KEY,"
         " name VARCHAR(30) NOT NULL,"
         " unit_price DECIMAL(10,2),"
         " picture IMAGE);"
         "CREATE TABLE orders ("
         " id INTEGER PRIMARY KEY,"
         " order_no VARCHAR(12) NOT NULL,"
         " customer VARCHAR(8) NOT NULL,"
         " contact NVARCHAR(6),"
         " city VARCHAR(10),"
         " product VARCHAR(30),"
         " qty INTEGER,"
         " priority SMALLINT,"
         " unit_price DECIMAL(10,2),"
         " amount MONEY,"
         " discount REAL,"
         " tracking_no BIGINT,"
         " order_date DATE,"
         " shipped_at DATETIME,"
         " paid BOOLEAN,"
         " note VARCHAR(40),"
         " remark MEMO);"
         "CREATE TABLE order_lines ("
         " order_no VARCHAR(12) NOT NULL,"
         " line_no SMALLINT NOT NULL,"
         " product_id INTEGER NOT NULL REFERENCES products(id),"
         " product VARCHAR(30) NOT NULL,"
         " quantity INTEGER NOT NULL,"
         " unit_price DECIMAL(10,2) NOT NULL,"
         " amount MONEY NOT NULL,"
         " PRIMARY KEY (order_no, line_no));"
         "CREATE VIEW recent_orders AS"
         " SELECT o.order_no, o.order_date, o.customer, o.city, o.paid,"
         "  COUNT(l.line_no) AS lines, SUM(l.amount) AS total"
         " FROM orders o JOIN order_lines l ON l.order_no = o.order_no"
         " WHERE o.id <= " +
         std::to_string(DemoRecentOrderCount) + " GROUP BY o.id ORDER BY o.id;";
}

}  // namespace

void CreateDemoDatabase(const std::string& APath, int ARows) {
  if (FileExists(APath) && !DeleteFile(APath)) throw Exception("cannot replace \"" + APath + "\"");
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(APath.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close);
  if (rc != SQLITE_OK) throw Exception("cannot create the sample database \"" + APath + "\": " + sqlite3_errstr(rc));
  Exec(db.get(), SchemaSql(), APath);
  Exec(db.get(), "BEGIN;", APath);
  TStatement product, order, line;
  Prepare(db.get(), "INSERT INTO products VALUES (?,?,?,?)", product, APath);
  Prepare(db.get(), "INSERT INTO orders VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)", order, APath);
  Prepare(db.get(), "INSERT INTO order_lines VALUES (?,?,?,?,?,?,?)", line, APath);

  for (int p = 0; p < DemoProductCount; ++p) {
    sqlite3_stmt* s = Restart(product);
    std::string picture = DemoProductPicture(p);
    sqlite3_bind_int(s, 1, p + 1);
    BindText(s, 2, Products[p].Name);
    sqlite3_bind_double(s, 3, Products[p].PriceCents / 100.0);
    sqlite3_bind_blob(s, 4, picture.data(), static_cast<int>(picture.size()), SQLITE_TRANSIENT);
    Check(db.get(), sqlite3_step(s), APath);
  }

  // The order lines have a generator of their own, so the orders stay the
  // rows they were before the lines existed.
  TRandom random(20240501), lineRandom(20240502);
  const double discounts[] = {0, 0, 0, 0.05, 0.1, 0.15, 0.2, 0.125, 0.0333333333333333};
  const TDateTime firstDay = EncodeDate(2023, 1, 1);
  for (int i = 1; i <= ARows; ++i) {
    sqlite3_stmt* s = Restart(order);
    int productIndex = random.Below(DemoProductCount);
    const TProduct& product = Products[productIndex];
    int qty = 1 + random.Below(random.Chance(10) ? 200 : 12);
    TDateTime orderDate = firstDay + random.Below(730);
    std::string orderNo = "SO" + std::to_string(2023000000 + i);
    sqlite3_bind_int(s, 1, i);
    BindText(s, 2, orderNo);
    BindText(s, 3, std::string(random.Pick(Surnames)) + random.Pick(GivenNames));
    if (!random.Chance(12)) BindText(s, 4, std::string(random.Pick(Surnames)) + random.Pick(GivenNames));
    BindText(s, 5, random.Pick(Cities));
    BindText(s, 6, product.Name);
    sqlite3_bind_int(s, 7, qty);
    sqlite3_bind_int(s, 8, 1 + random.Below(5));
    sqlite3_bind_double(s, 9, product.PriceCents / 100.0);
    sqlite3_bind_double(s, 10, static_cast<double>(static_cast<int64_t>(product.PriceCents) * qty) / 100.0);
    sqlite3_bind_double(s, 11, random.Pick(discounts));
    sqlite3_bind_int64(s, 12, 7300000000000LL + static_cast<int64_t>(i) * 7919 + random.Below(7919));
    BindText(s, 13, DateText(orderDate));
    if (!random.Chance(15)) {
      TDateTime shipped = orderDate + 1 + random.Below(5);
      std::string time = random.Chance(20) ? "00:00:00"
                                           : TwoDigits(8 + random.Below(12)) + ":" + TwoDigits(random.Below(60)) + ":" +
                                                 TwoDigits(random.Below(60));
      BindText(s, 14, DateText(shipped) + " " + time);
    }
    sqlite3_bind_int(s, 15, random.Chance(4) ? 0 : 1);
    if (!random.Chance(5)) BindText(s, 16, random.Pick(Notes));
    if (!random.Chance(8)) {
      std::string remark;
      int sentences = 1 + random.Below(random.Chance(6) ? 30 : 5);
      for (int k = 0; k < sentences; ++k) {
        if (k > 0 && random.Chance(5)) remark += "\r\n";
        remark += random.Pick(RemarkSentences);
      }
      BindText(s, 17, remark);
    }
    Check(db.get(), sqlite3_step(s), APath);

    // Line 1 is the order's own product and quantity; up to three further
    // lines add other products in small quantities.
    std::vector<int> lineProducts = {productIndex};
    int extra = lineRandom.Below(4);
    while (static_cast<int>(lineProducts.size()) <= extra) {
      int candidate = lineRandom.Below(DemoProductCount);
      bool taken = false;
      for (int p : lineProducts) taken = taken || p == candidate;
      if (!taken) lineProducts.push_back(candidate);
    }
    for (size_t n = 0; n < lineProducts.size(); ++n) {
      const TProduct& item = Products[lineProducts[n]];
      int quantity = n == 0 ? qty : 1 + lineRandom.Below(5);
      sqlite3_stmt* l = Restart(line);
      BindText(l, 1, orderNo);
      sqlite3_bind_int(l, 2, static_cast<int>(n) + 1);
      sqlite3_bind_int(l, 3, lineProducts[n] + 1);
      BindText(l, 4, item.Name);
      sqlite3_bind_int(l, 5, quantity);
      sqlite3_bind_double(l, 6, item.PriceCents / 100.0);
      sqlite3_bind_double(l, 7, static_cast<double>(static_cast<int64_t>(item.PriceCents) * quantity) / 100.0);
      Check(db.get(), sqlite3_step(l), APath);
    }
  }
  Exec(db.get(), "COMMIT;", APath);
}

int DemoTableRows(const std::string& APath, const std::string& ATable) {
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(APath.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close);
  if (rc != SQLITE_OK) throw Exception("cannot open the sample database \"" + APath + "\": " + sqlite3_errstr(rc));
  TStatement count;
  Prepare(db.get(), "SELECT COUNT(*) FROM \"" + ATable + "\"", count, APath);
  Check(db.get(), sqlite3_step(count.Handle), APath);
  return sqlite3_column_int(count.Handle, 0);
}

}  // namespace kv::app
