#pragma once
// Every fixed text of the section, member and company registers: captions,
// headers, labels, messages and the pieces of the delete question.

namespace registers::texts {

// Shared by the three registers.
inline constexpr char kCurrentContents[] = "現在の登録内容";
inline constexpr char kButton1[] = "追加登録(&A)";
inline constexpr char kButton2[] = "データ削除(&D)";
inline constexpr char kButton4[] = "データ変更(&E)";
inline constexpr char kButton3[] = "閉じる(&C)";
inline constexpr char kSetUpDatabaseFirst[] = "最初にデータベースの設定を行って下さい。";
inline constexpr char kCannotConnect[] = "データベースに接続出来ません。設定を確認して下さい。";
inline constexpr char kEnterNumber[] = "番号を入力して下さい（正の整数値入力）";
inline constexpr char kNumberNotPositive[] = "番号は正の整数で入力して下さい";
inline constexpr char kNoQuotes[] = "引用符「'」「\"」を入力しないで下さい";
inline constexpr char kNumberUnused[] =
    "入力した番号は未使用ですので変更は出来ません。再入力して下さい";
inline constexpr char kAddOk[] = "登録OK";
inline constexpr char kAddFailed[] = "登録失敗";
inline constexpr char kChangeOk[] = "変更OK";
inline constexpr char kChangeFailed[] = "変更失敗";
inline constexpr char kDeleteOk[] = "削除OK";
inline constexpr char kDeleteFailed[] = "削除失敗";

// The delete question, around the row's number and names; a CR LF comes
// before the confirmation.
inline constexpr char kQuestionOpen[] = "「";
inline constexpr char kQuestionColon[] = "：";
inline constexpr char kQuestionClose[] = "」を削除します。";
inline constexpr char kQuestionConfirm[] = "よろしいですか？";

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
