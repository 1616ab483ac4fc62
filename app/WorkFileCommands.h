#pragma once
// The two commands of the work file in the window. Saving writes the work as it is to a
// .tallyscope.json file chosen in a save dialog; it keeps no points for the .dat export, so the
// export question still asks. Opening reads a work file whole first: a damaged one, one of a newer
// version or one whose fields are wrong is refused with a message and the open work stays as it
// was. Then the picture is opened (after the export question for the work it replaces) and the
// work put on it. A picture that changed since the work was saved, or that is gone, is said so,
// and the user may choose the picture the work goes onto.

#include "work/WorkFile.h"

class CTallyscopeDoc;
class QString;

class WorkFileCommands {
public:
    static void Save(CTallyscopeDoc& doc);
    static void Open();
    // Opens the work file at path as the command does after its dialog.
    static void OpenFile(const QString& path);

private:
    // The picture the work goes onto, after asking where it changed or is gone; empty for none.
    static QString PictureForWork(const WorkState& state);
    static QString ChoosePicture();
    static void TellRefusal(const WorkFile::Error& error, const QString& workFile);
};

inline constexpr const char* kWorkFileFilter =
    "作業ファイル (*.tallyscope.json)|*.tallyscope.json|All Files (*.*)|*.*||";
inline constexpr const char* kTitleSaveWork = "作業の保存";
inline constexpr const char* kTitleOpenWork = "作業を開く";
inline constexpr const char* kTitleChoosePicture = "作業を適用する画像を開く";
// "%s": the work file's name.
inline constexpr const char* kMsgWorkSaveFailed = "作業ファイル %s に書き込むことができませんでした";
inline constexpr const char* kMsgWorkUnreadable = "作業ファイル %s を読み込むことができませんでした";
inline constexpr const char* kMsgWorkDamaged = "作業ファイル %s は壊れているため、開くことができません";
inline constexpr const char* kMsgWorkNotWorkFile = "%s は Tallyscope の作業ファイルではありません";
// "%s": the work file's name, "%d": the version it was written in.
inline constexpr const char* kMsgWorkNewerVersion =
    "作業ファイル %s は新しい版のTallyscopeで保存されています (形式の版 %d)。\n"
    "この版では開くことができません。";
// "%s": the work file's name, then the field.
inline constexpr const char* kMsgWorkFieldWrong = "作業ファイル %s の項目 %s が正しくないため、開くことができません";
// "%s": the picture's file name.
inline constexpr const char* kMsgWorkPictureChanged =
    "画像 %s は作業を保存した後に変更されています。この画像に作業を適用しますか?\n"
    "「いいえ」を選ぶと、作業を適用する画像を選ぶことができます。";
// "%s": the picture's full path.
inline constexpr const char* kMsgWorkPictureMissing =
    "画像 %s が見つかりません (移動または削除されています)。\n作業を適用する画像を選びますか?";
