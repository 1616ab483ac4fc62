#pragma once
// Offers back what a program that did not end normally left in the recovery folder: the journals
// of its unexported work, and the previous contents of a file it was rewriting in place. At start,
// the copies of files come first; then the journals of the picture named on the command line, or,
// started without one, the journals of any picture, newest first, one at a time. Opening a picture
// later offers that picture's journals. Each question has three answers: Yes takes the work back
// (or the file's contents), No lets it go (what was let go stays as a backup file in the folder,
// the last ten and any from the last week, so a wrong answer is not final), Cancel leaves it for
// the next start. Journals of one picture are told apart by the time of their last change. A
// journal that fails its checks is set aside and told as damaged, with what could be read of it;
// a file's copy is offered only while the file holds what the cut-short rewrite left.

#include "doc/RecoveredWork.h"

class CString;
class CTallyscopeDoc;
class QString;

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
    // The note, when not empty, is added to the question.
    static Outcome Offer(CTallyscopeDoc& doc, const RecoveredWork& work, Pictures pictures, const CString& note);
    static Outcome OfferExport(const char* question, const QString& name, const RecoveredWork& work,
                               const CString& note);
    static Outcome OfferDamaged(CTallyscopeDoc& doc, const QString& path, const RecoveredWork::Reading& reading,
                                Pictures pictures);
    static bool OpenPictureOf(const RecoveredWork& work, Pictures pictures);
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
// Added to the question when other journals of the same picture are left. "%s": date and time.
inline constexpr const char* kMsgJournalLastChange =
    "同じ画像のデータが他にも残っています。このデータの最後の変更は %s です。";
// A journal that is cut, changed or too large. "%s": the picture's file name (or the words below);
// "%d": the number of points that could be read.
inline constexpr const char* kMsgRestoreDamagedWork =
    "%s のデータが、前回正しく終了しなかったため残っていましたが、ファイルが壊れていて全部は読み込めませんでした。\n"
    "読み込めたデータ (点 %d 個) を復元しますか?";
inline constexpr const char* kMsgExportDamagedWork =
    "%s のデータが、前回正しく終了しなかったため残っていましたが、ファイルが壊れていて全部は読み込めませんでした。\n"
    "画像ファイルが見つかりません。読み込めたデータ (点 %d 個) をファイルに書き出しますか?";
inline constexpr const char* kMsgDamagedWorkUnreadable =
    "%s のデータが、前回正しく終了しなかったため残っていましたが、ファイルが壊れていて読み込めませんでした。";
inline constexpr const char* kUnknownPicture = "(名前の読めない画像)";
// Added to each of the three. "%s": where the damaged file is kept.
inline constexpr const char* kMsgDamagedJournalKept = "壊れたファイルは %s に残してあります。";
// "%s": the file's full path.
inline constexpr const char* kMsgPutBackKeptFile =
    "%s への書き出しが前回途中で終わりました。書き出す前の内容に戻しますか?";
// Added to it: "%s": the file's time now; "%lld": its size now; "%lld": the size put back.
inline constexpr const char* kMsgKeptFileState =
    "現在のファイル: 更新日時 %s、%lld バイト\n書き出す前の内容: %lld バイト";
// In the status bar, for a copy whose file was finished or written since. "%s": the file;
// "%s": where the copy is kept.
inline constexpr const char* kMsgKeptFileSetAside =
    "%s の書き出し前の内容は、ファイルがその後変わっているため戻さずに %s に残しました";
inline constexpr const char* kMsgPutBackFailed = "ファイル %s を元に戻すことができませんでした";
