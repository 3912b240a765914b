#pragma once
// Every fixed text of the revision history editor: caption, grid headers,
// labels, buttons, messages and the pieces of the delete question.

#include "text/record_messages.h"

namespace drawings::revision_texts {

// The messages every record dialog shares.
using namespace text::record_messages;

inline constexpr char kCaption[] = "改訂履歴内容の編集";
inline constexpr char kCurrentContents[] = "現在の登録内容";

// Grid headers, column 0 first.
inline constexpr char kNumberHeader[] = "番号";
inline constexpr char kContentHeader[] = "改訂内容";
inline constexpr char kReviserNoHeader[] = "改訂者番号";
inline constexpr char kDateHeader[] = "改訂日付";

inline constexpr char kNumberLabel[] = "番号：";
inline constexpr char kContentLabel[] = "改訂内容：";
inline constexpr char kReviserLabel[] = "改訂者：";
inline constexpr char kDateLabel[] = "改訂日付：";
inline constexpr char kNoMember[] = "0:指定無し";

inline constexpr char kButton1[] = "追加登録(&A)";
inline constexpr char kButton4[] = "データ変更(&E)";
inline constexpr char kButton2[] = "データ削除(&D)";
inline constexpr char kButton3[] = "閉じる(&C)";

inline constexpr char kBadDate[] =
    "日付は yyyymmdd形式（例：20100101）で有効な内容を入力して下さい。";

inline constexpr char kQuestionNo[] = "No.";

}  // namespace drawings::revision_texts
