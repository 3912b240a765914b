#pragma once
// The fixed texts of k5x7-admin itself; each subcommand keeps its own.

namespace admin::texts {

inline constexpr char kProgram[] = "k5x7-admin";
inline constexpr char kUsage[] = "使い方: k5x7-admin サブコマンド [引数...]";
inline constexpr char kCommandsHeading[] = "サブコマンド:";
inline constexpr char kHelpHint[] = "各サブコマンドの説明: k5x7-admin サブコマンド --help";
inline constexpr char kUnknownCommand[] = "不明なサブコマンドです: ";
inline constexpr char kSeedSummary[] = "デモ・ベンチマーク用のデータをデータベースに作成します";

}  // namespace admin::texts
