// The source grid the writer benchmarks share: 65,000 rows x 20 columns of
// integers, floats, ASCII and Chinese texts, held as a dataset would hand
// them out, so that every writer benchmark measures the same cells.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kvbench {

constexpr int kRows = 65000;
constexpr int kCols = 20;

// Joins texts (appending, rather than operator+ on a literal, which trips a
// GCC 12 -Wrestrict false positive in optimised builds).
inline std::string Concat(std::initializer_list<std::string_view> AParts) {
  std::string out;
  for (std::string_view part : AParts) out.append(part);
  return out;
}

// The source values: column c holds an integer when c % 5 == 0, a float when
// c % 5 == 1, and a text otherwise (UTF-8), stored column kind by column kind
// in row order.
struct TSource {
  std::vector<int32_t> Integers;
  std::vector<double> Doubles;
  std::vector<std::string> Texts;
  TSource() {
    Integers.reserve(kRows * 4);
    Doubles.reserve(kRows * 4);
    Texts.reserve(kRows * 12);
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) switch (c % 5) {
          case 0:
            Integers.push_back(r * 31 + c);
            break;
          case 1:
            Doubles.push_back(r * 1.25 + c / 8.0);
            break;
          case 2:
            Texts.push_back(Concat({"item-", std::to_string(r), "-", std::to_string(c)}));
            break;
          case 3:
            Texts.push_back(Concat({"名称", std::to_string(r % 100), "号"}));
            break;
          default:
            Texts.push_back(Concat({"x", std::to_string(c)}));
            break;
        }
  }
};

inline const TSource& Source() {
  static const TSource source;
  return source;
}

}  // namespace kvbench
