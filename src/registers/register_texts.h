#pragma once
// Every fixed text of the section, member and company registers: captions,
// headers, labels, messages and the pieces of the delete question.

#include "text/record_messages.h"

namespace registers::texts {

// The messages every record dialog shares.
using namespace text::record_messages;

// Shared by the three registers.
inline constexpr char kCurrentContents[] = "現在の登録内容";
inline constexpr char kButton1[] = "追加登録(&A)";
inline constexpr char kButton2[] = "データ削除(&D)";
inline constexpr char kButton4[] = "データ変更(&E)";
inline constexpr char kButton3[] = "閉じる(&C)";

// Between the company and department names in the company question.
inline constexpr char kNameSeparator[] = "－";

// Section register.
inline constexpr char kSectionCaption[] = "所属（SECTION）の登録";
inline constexpr char kNumberHeader[] = "番号";
inline constexpr char kNameHeader[] = "名称";
inline constexpr char kNumberLabel[] = "番号：";
inline constexpr char kNameLabel[] = "名称：";
inline constexpr char kSectionNameRequired[] = "名称を入力して下さい（半角32文字まで）";
inline constexpr char kSectionInUse[] = "メンバーデータで既に使用されていますので削除出来ません。";

// Member register.
inline constexpr char kMemberCaption[] = "メンバー（MEMBER）の登録";
inline constexpr char kSectionNoHeader[] = "所属No";
inline constexpr char kSectionHeader[] = "所属";
inline constexpr char kMemberNameHeader[] = "氏名";
inline constexpr char kSectionLabel[] = "所属：";
inline constexpr char kMemberNameLabel[] = "氏名：";
inline constexpr char kNoSectionItem[] = "0:指定無し";
inline constexpr char kMemberNameRequired[] = "氏名を入力して下さい（半角16文字まで）";

// Company register.
inline constexpr char kCompanyCaption[] = "注文先（COMPANY）の登録";
inline constexpr char kDepartmentHeader[] = "部課名";
inline constexpr char kCompanyNumberLabel[] = "番　号：";
inline constexpr char kCompanyNameLabel[] = "名　称：";
inline constexpr char kDepartmentLabel[] = "部課名：";

}  // namespace registers::texts
