#pragma once
// Every fixed text of the name dialog.

namespace drawings::name_dialog_texts {

inline constexpr char kDesignCaption[] = "名称ツリー";
inline constexpr char kLabel1[] = "名称（最大半角32文字まで）";
inline constexpr char kButton3[] = "ＯＫ(&Y)";
inline constexpr char kButton4[] = "キャンセル(&N)";
inline constexpr char kEnterName[] = "名称を入力して下さい";
inline constexpr char kNoQuotesOrColon[] = "引用符「'」「\"」「:」を入力しないで下さい";

}  // namespace drawings::name_dialog_texts
