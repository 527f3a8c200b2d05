#pragma once
// The condition dialog's messages, all shown with the program's caption (res/Caption.h).

namespace condition_messages {

inline constexpr char kPastData[] = "過去実績データは、連携の対象として使用できません。\n\nアプリケーションを終了します。";
inline constexpr char kCancelled[] = "｢科目内訳書｣の集計を中止します。";
inline constexpr char kMonthRange[] = "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
inline constexpr char kNoPath[] = "データ出力先が指定されていません。\n\n出力先を指定してください。";
inline constexpr char kPathTooLong[] = "出力先のパスが長すぎます。\n\n出力先を再入力してください。";
inline constexpr char kRefusedChars[] = "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。";
inline constexpr char kBadDrive[] = "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。";
inline constexpr char kNoFileName[] = "ファイル名が指定されていません。";
inline constexpr char kCreateFolder[] = "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？";
inline constexpr char kCreateFailed[] = "フォルダの作成に失敗しました。\n\n出力先を再入力してください。";
inline constexpr char kOverwrite[] = "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";

}  // namespace condition_messages
