#pragma once
// The context-menu entries every list has.

namespace widgets::list_output_texts {

inline constexpr char kCsv[] = "CSV に書き出し...";
inline constexpr char kExcel[] = "Excel に書き出し...";
inline constexpr char kPrint[] = "印刷...";
inline constexpr char kPdf[] = "PDF に書き出し...";

}  // namespace widgets::list_output_texts
