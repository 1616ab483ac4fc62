#pragma once
// Offers back what a program that did not end normally left in the recovery folder: the journals
// of its unexported work, and the previous contents of a file it was rewriting in place. At start,
// the copies of files come first; then the journals of the picture named on the command line, or,
// started without one, the journals of any picture, newest first, one at a time. Opening a picture
// later offers that picture's journals. Each question has three answers: Yes takes the work back
// (or the file's contents), No lets it go (the last one let go stays as a backup file in the
// folder, so a wrong answer is not final), Cancel leaves it for the next start.

class CTallyscopeDoc;
class QString;
class RecoveredWork;

class WorkRecovery {
public:
    // After start-up has shown the windows.
    static void OfferAtStart(CTallyscopeDoc& doc);
    // After the document opened a picture.
    static void OfferForPicture(CTallyscopeDoc& doc);
    // The previous contents of files whose rewriting in place was cut short.
    static void OfferKeptFiles();

private:
    enum class Outcome { Restored, LetGo, Left };
    // Whether the journals offered are those of the open picture, or of any picture (to be opened).
    enum class Pictures { TheOpenOne, Any };
    static void OfferJournals(CTallyscopeDoc& doc, Pictures pictures);
    static Outcome Offer(CTallyscopeDoc& doc, const RecoveredWork& work, Pictures pictures);
    static Outcome OfferExport(const char* question, const QString& name, const RecoveredWork& work);
    static bool ExportWithoutPicture(const RecoveredWork& work);
};

// "%s": the picture's file name; "%d": the number of points.
inline constexpr const char* kMsgRestoreWork =
    "%s のデータ (点 %d 個) が、前回正しく終了しなかったため書き出されずに残っています。復元しますか?";
inline constexpr const char* kMsgRestoreWorkPictureChanged =
    "%s のデータ (点 %d 個) が、前回正しく終了しなかったため書き出されずに残っています。\n"
    "画像ファイルはその後変更されています。この画像に復元しますか?";
// "%s": the picture's full path.
inline constexpr const char* kMsgExportWorkPictureMissing =
    "%s のデータ (点 %d 個) が、前回正しく終了しなかったため書き出されずに残っています。\n"
    "画像ファイルが見つかりません。データをファイルに書き出しますか?";
inline constexpr const char* kMsgExportWorkInstead =
    "%s のデータ (点 %d 個) を復元せずにファイルに書き出しますか?\n「いいえ」を選ぶとデータは破棄されます。";
// "%s": the file's full path.
inline constexpr const char* kMsgPutBackKeptFile =
    "%s への書き出しが前回途中で終わりました。書き出す前の内容に戻しますか?";
inline constexpr const char* kMsgPutBackFailed = "ファイル %s を元に戻すことができませんでした";
